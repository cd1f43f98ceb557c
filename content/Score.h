// The music score: tempo, metre and tracks of timed notes, read from the
// text format documented in data/README.md ("Music score") through the shared
// text source, and written out as a Standard MIDI File by Midi.h.
#pragma once

#include "content/TextSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon::audio {

inline constexpr int ScoreVersion = 1;                      ///< the version this reader understands
inline constexpr std::uint32_t TicksPerQuarter = 480;       ///< time resolution of scores and MIDI files
inline constexpr std::uint32_t MaxScoreTicks = 0x0FFFFFFF;  ///< the largest time a MIDI delta can carry
inline constexpr std::size_t MaxScoreNotes = 100000;        ///< notes in a whole score, repeats unfolded
inline constexpr std::size_t MaxScoreTracks = 16;           ///< tracks besides the tempo track
inline constexpr std::size_t MaxScoreBytes = 1 << 20;       ///< longest score text accepted

/// One sounding note.
struct ScoreNote {
    std::uint32_t Start = 0;    ///< ticks from the beginning of the score
    std::uint32_t Length = 0;   ///< sounding ticks (after the track's gate), at least 1
    std::uint8_t Pitch = 60;    ///< MIDI note number, 60 = C4
    std::uint8_t Velocity = 96; ///< 1..127
};

/// One voice of the score on one MIDI channel.
struct ScoreTrack {
    std::string Name;                   ///< shown as the MIDI track name
    std::uint8_t Channel = 0;           ///< 0..15 (written 1..16 in the score; 10 is percussion)
    std::optional<std::uint8_t> Program; ///< General MIDI program 0..127 (written 1..128)
    std::optional<std::uint8_t> Volume;  ///< channel volume 0..127
    std::vector<ScoreNote> Notes;       ///< in the order written, repeats unfolded
    std::uint32_t End = 0;              ///< ticks after the track's last note or rest
};

/// A whole score.
struct Score {
    std::string Title;                ///< written as the name of the tempo track
    std::uint32_t Tempo = 120;        ///< quarter notes per minute
    std::uint32_t MeterTop = 4;       ///< beats in a bar
    std::uint32_t MeterBottom = 4;    ///< note value of a beat: 1, 2, 4, 8, 16 or 32
    std::vector<ScoreTrack> Tracks;   ///< at least one, each with a channel

    /// Ticks of the whole score: the end of its longest track.
    [[nodiscard]] std::uint32_t End() const;
    /// Ticks of one bar of the metre.
    [[nodiscard]] std::uint32_t BarTicks() const { return MeterTop * TicksPerQuarter * 4 / MeterBottom; }
};

inline constexpr std::string_view ScoreKind = "brakkon-score"; ///< the first line: "brakkon-score 1"

/// Reads a score from its text into `score`, which is replaced only when the
/// whole text was read. Any input is safe: a fault gives the one message
/// "NAME:LINE: what" (or "NAME: what" for the whole text), never a crash.
[[nodiscard]] TextResult ReadScore(const TextSource& source, Score& score);

/// The MIDI note number of a percussion name ("kick", "snare", ...), if any.
[[nodiscard]] std::optional<std::uint8_t> DrumByName(std::string_view name);

} // namespace brakkon::audio
