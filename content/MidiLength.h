// The playing time of a Standard MIDI File, read from its own tracks, and
// the programs (instruments) its program changes select.
//
// The music player needs to know when the music ends: the synthesiser keeps
// reporting "playing" for seconds after the last note while its voices die
// away, which would stretch the pause between two rounds of the music. The
// length runs from the start to the latest end of track, following every
// tempo change. The synthesiser is given a sound font of only the music's
// programs (platform/FontLoader). Standard library only, so the fuzzer links it alone.
#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string_view>

namespace brakkon {

inline constexpr std::string_view MsgMidiDamaged = "Damaged MIDI file";

struct [[nodiscard]] MidiLength {
    double Seconds = 0;       ///< playing time; 0 on failure
    std::string_view Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
};

/// Reads the playing time of a format 0 or format 1 file. Any damage (a
/// short chunk, a bad length, an unknown status, no track) gives the one
/// message MsgMidiDamaged.
MidiLength ReadMidiLength(std::span<const std::uint8_t> bytes);

/// Program numbers 0 to 127, one bit each.
using MidiProgramSet = std::bitset<128>;

struct [[nodiscard]] MidiPrograms {
    MidiProgramSet Programs;  ///< every program any channel's program change selects; none on failure
    std::string_view Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
};

/// Reads the programs a format 0 or 1 file selects, in any track, on any
/// channel. The same damage as for the length (and a program number of 128
/// or more) gives MsgMidiDamaged.
MidiPrograms ReadMidiPrograms(std::span<const std::uint8_t> bytes);

} // namespace brakkon
