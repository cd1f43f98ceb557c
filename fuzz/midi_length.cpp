// The MIDI length reader on arbitrary bytes: a length that is a real,
// non-negative number of seconds, or the one message of a damaged file.
#include "content/MidiLength.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const brakkon::MidiLength length = brakkon::ReadMidiLength({data, size});
    if (length) {
        if (!std::isfinite(length.Seconds) || length.Seconds < 0) __builtin_trap();
    } else if (length.Message != brakkon::MsgMidiDamaged || length.Seconds != 0) {
        __builtin_trap();
    }
    return 0;
}
