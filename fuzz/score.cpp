// The music score reader on arbitrary bytes: every input is read or refused
// with a line number, never a crash; a score that is read can be written out
// as a MIDI file.
#include "Midi.h"
#include "Score.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const brakkon::audio::ScoreParseResult result = brakkon::audio::ParseScore(text);
    if (result) {
        const auto bytes = brakkon::audio::EncodeMidi(*result.Value);
        if (bytes.size() < 14) __builtin_trap();
    } else if (result.ErrorLine < 1 || result.ErrorMessage.empty()) {
        __builtin_trap();
    }
    return 0;
}
