// The MIDI programs reader on arbitrary bytes: it takes only files the
// length reader takes (one walk over the tracks; a program number past 127
// refuses the programs alone), and a refusal carries the one message and no
// programs.
#include "content/MidiLength.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const brakkon::MidiPrograms programs = brakkon::ReadMidiPrograms({data, size});
    if (programs && !brakkon::ReadMidiLength({data, size})) __builtin_trap();
    if (!programs && (programs.Message != brakkon::MsgMidiDamaged || programs.Programs.any())) __builtin_trap();
    return 0;
}
