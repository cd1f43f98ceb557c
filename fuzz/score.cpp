// The music score reader on arbitrary bytes: every input is read or refused
// with one message naming the text, never a crash; a score that is read can
// be written out as a MIDI file.
#include "content/Midi.h"
#include "content/Score.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brakkon;
    const auto text = TextSource::FromString("s", std::string_view(reinterpret_cast<const char*>(data), size));
    audio::Score score;
    if (TextResult r = audio::ReadScore(text, score); r) {
        if (audio::EncodeMidi(score).size() < 14) __builtin_trap();
    } else if (r.Message.rfind("s:", 0) != 0) {
        __builtin_trap();
    }
    return 0;
}
