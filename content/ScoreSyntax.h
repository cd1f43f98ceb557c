// The lexical level of the score format: characters, the version line,
// numbers, pitches, lengths and the items of a note line. Used only by the
// score reader; every fault is thrown as a ScoreFault with its line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon::audio {

/// The first fault found in a score: where and what. The reader turns it
/// into the text source's message.
struct ScoreFault {
    int Line = 0;        ///< 1-based line number; 0 for the whole text
    std::string Message; ///< what is wrong there
};

/// One item of a note line: a note, a chord, a rest or a bar check.
struct NoteEvent {
    std::vector<std::uint8_t> Pitches; ///< empty for a rest or a bar check
    std::uint32_t Length = 0;          ///< ticks; 0 = the length of the item before
    bool Accent = false;               ///< "!" after the item
    bool BarCheck = false;             ///< the item is "|"
};

/// Refuses control characters and bytes outside printable ASCII (tabs pass).
void CheckCharacters(std::string_view line, int lineNo);

/// The line without a comment: "#" at the start of a word begins one.
[[nodiscard]] std::string_view StripComment(std::string_view line);

/// The text without blanks and tabs at either end.
[[nodiscard]] std::string_view Trim(std::string_view text);

/// A whole decimal number in [low, high]; `what` names it in the message.
[[nodiscard]] std::uint32_t ParseNumber(std::string_view text, std::uint32_t low, std::uint32_t high,
                                        std::string_view what, int lineNo);

/// A pitch: a note name with octave ("C4", "F#3", "Bb2", "C-1"), "nNN" for a
/// MIDI note number, or a percussion name ("kick").
[[nodiscard]] std::uint8_t ParsePitch(std::string_view word, int lineNo);

/// A length: parts such as "4", "8.", "16t", "2..", joined by "+", in ticks.
[[nodiscard]] std::uint32_t ParseLength(std::string_view text, int lineNo);

/// The items of one note line, in order.
[[nodiscard]] std::vector<NoteEvent> SplitNoteLine(std::string_view line, int lineNo);

} // namespace brakkon::audio
