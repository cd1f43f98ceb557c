// The playing time of a Standard MIDI File, read from its own tracks.
//
// The music player needs to know when the music ends: the synthesiser keeps
// reporting "playing" for seconds after the last note while its voices die
// away, which would stretch the pause between two rounds of the music. The
// length runs from the start to the latest end of track, following every
// tempo change. Standard library only, so the fuzzer links it alone.
#pragma once

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

} // namespace brakkon
