// The score format's words: pitches, lengths, numbers and note-line items.
#include "content/ScoreSyntax.h"

#include "content/Score.h"
#include "content/TextSource.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace brakkon::audio {
namespace {

constexpr std::size_t MaxChordNotes = 16;

struct DrumName {
    std::string_view Name; ///< percussion name in a score
    std::uint8_t Note;     ///< General MIDI percussion key
};

constexpr std::array<DrumName, 16> Drums = {{
    {"kick", 36},    {"kick2", 35},  {"snare", 38},   {"snare2", 40}, {"rim", 37},      {"clap", 39},
    {"hat", 42},     {"pedalhat", 44}, {"openhat", 46}, {"tomlow", 45}, {"tommid", 47}, {"tomhigh", 50},
    {"crash", 49},   {"ride", 51},   {"tambourine", 54}, {"cowbell", 56},
}};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Semitones above C of the note letters a..g.
constexpr std::array<int, 7> LetterSemitones = {9, 11, 0, 2, 4, 5, 7};

// One item of a note line: a word or a bracketed chord with its suffix.
NoteEvent ParseItem(std::string_view item, int lineNo)
{
    NoteEvent event;
    if (item == "|") {
        event.BarCheck = true;
        return event;
    }
    std::string_view head;
    std::string_view suffix;
    if (item.front() == '[') {
        const std::size_t close = item.find(']');
        head = item.substr(1, close - 1);
        suffix = item.substr(close + 1);
        for (std::size_t at = 0; at < head.size();) {
            while (at < head.size() && IsBlank(head[at])) ++at;
            if (at == head.size()) break;
            std::size_t stop = at;
            while (stop < head.size() && !IsBlank(head[stop])) ++stop;
            const std::uint8_t pitch = ParsePitch(head.substr(at, stop - at), lineNo);
            if (std::find(event.Pitches.begin(), event.Pitches.end(), pitch) != event.Pitches.end())
                throw ScoreFault{lineNo, "the same note twice in chord " + Quoted(item)};
            event.Pitches.push_back(pitch);
            at = stop;
        }
        if (event.Pitches.empty()) throw ScoreFault{lineNo, "empty chord " + Quoted(item)};
        if (event.Pitches.size() > MaxChordNotes) throw ScoreFault{lineNo, "more than 16 notes in a chord"};
    } else {
        const std::size_t mark = item.find_first_of(":!");
        head = item.substr(0, mark);
        suffix = mark == std::string_view::npos ? std::string_view{} : item.substr(mark);
        if (head.empty()) throw ScoreFault{lineNo, "a note name is missing in " + Quoted(item)};
        if (head != "r" && head != "R") event.Pitches.push_back(ParsePitch(head, lineNo));
    }
    if (!suffix.empty() && suffix.back() == '!') {
        if (event.Pitches.empty()) throw ScoreFault{lineNo, "a rest cannot be accented: " + Quoted(item)};
        event.Accent = true;
        suffix.remove_suffix(1);
    }
    if (!suffix.empty()) {
        if (suffix.front() != ':') throw ScoreFault{lineNo, "unexpected " + Quoted(suffix) + " in " + Quoted(item)};
        event.Length = ParseLength(suffix.substr(1), lineNo);
    }
    return event;
}

} // namespace

void CheckCharacters(std::string_view line, int lineNo)
{
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t' || (byte >= 0x20 && byte < 0x7F)) continue;
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", byte);
        throw ScoreFault{lineNo, std::string("unexpected character (byte ") + code + "); scores are plain ASCII"};
    }
}

std::string_view StripComment(std::string_view line)
{
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || IsBlank(line[i - 1]))) return line.substr(0, i);
    return line;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::uint32_t ParseNumber(std::string_view text, std::uint32_t low, std::uint32_t high, std::string_view what,
                          int lineNo)
{
    const std::string_view digits = Trim(text);
    auto range = [&] { return " (" + std::to_string(low) + " to " + std::to_string(high) + ")"; };
    std::uint32_t value = 0;
    if (!ParseInt(digits, value))
        throw ScoreFault{lineNo, std::string(what) + " must be a whole number" + range() + ", not " + Quoted(digits)};
    if (value < low || value > high)
        throw ScoreFault{lineNo, std::string(what) + " " + std::string(digits) + " is out of range" + range()};
    return value;
}

std::optional<std::uint8_t> DrumByName(std::string_view name)
{
    for (const DrumName& d : Drums)
        if (d.Name == name) return d.Note;
    return std::nullopt;
}

std::uint8_t ParsePitch(std::string_view word, int lineNo)
{
    if (word.empty()) throw ScoreFault{lineNo, "a note name is missing"};
    if (const auto drum = DrumByName(word)) return *drum;
    if (word.size() > 1 && word[0] == 'n' && IsDigit(word[1]))
        return static_cast<std::uint8_t>(ParseNumber(word.substr(1), 0, 127, "note number", lineNo));
    const char letter = static_cast<char>(word[0] | 0x20);
    if (letter < 'a' || letter > 'g') throw ScoreFault{lineNo, "unknown note " + Quoted(word)};
    int semitone = LetterSemitones[static_cast<std::size_t>(letter - 'a')];
    std::size_t at = 1;
    for (int accidentals = 0; at < word.size() && accidentals < 2 && (word[at] == '#' || word[at] == 'b');
         ++accidentals, ++at)
        semitone += word[at] == '#' ? 1 : -1;
    const std::string_view octaveText = word.substr(at);
    int octave = 0;
    if (octaveText == "-1")
        octave = -1;
    else if (octaveText.size() == 1 && IsDigit(octaveText[0]))
        octave = octaveText[0] - '0';
    else
        throw ScoreFault{lineNo, "note " + Quoted(word) + " needs an octave from -1 to 9 (C4 is middle C)"};
    const int midi = (octave + 1) * 12 + semitone;
    if (midi < 0 || midi > 127) throw ScoreFault{lineNo, "note " + Quoted(word) + " is outside MIDI notes 0 to 127"};
    return static_cast<std::uint8_t>(midi);
}

std::uint32_t ParseLength(std::string_view text, int lineNo)
{
    if (text.empty()) throw ScoreFault{lineNo, "a length is missing after ':'"};
    std::uint32_t total = 0;
    std::size_t at = 0;
    while (true) {
        const std::size_t plus = text.find('+', at);
        std::string_view part = text.substr(at, plus == std::string_view::npos ? std::string_view::npos : plus - at);
        const std::string_view whole = part;
        bool triplet = false;
        if (!part.empty() && part.back() == 't') {
            triplet = true;
            part.remove_suffix(1);
        }
        int dots = 0;
        while (!part.empty() && part.back() == '.') {
            ++dots;
            part.remove_suffix(1);
        }
        const std::string_view lengths = "1, 2, 4, 8, 16 or 32";
        if (part != "1" && part != "2" && part != "4" && part != "8" && part != "16" && part != "32")
            throw ScoreFault{lineNo, "length " + Quoted(whole) + " must be " + std::string(lengths) +
                                         ", with up to two dots and an optional 't'"};
        if (dots > 2) throw ScoreFault{lineNo, "length " + Quoted(whole) + " has more than two dots"};
        const std::uint32_t base = TicksPerQuarter * 4 / ParseNumber(part, 1, 32, "length", lineNo);
        std::uint32_t ticks = base + (dots >= 1 ? base / 2 : 0) + (dots >= 2 ? base / 4 : 0);
        if (triplet) ticks = ticks * 2 / 3;
        total += ticks;
        if (plus == std::string_view::npos) break;
        at = plus + 1;
        if (total > 64 * TicksPerQuarter * 4) throw ScoreFault{lineNo, "length " + Quoted(text) + " is too long"};
    }
    return total;
}

std::vector<NoteEvent> SplitNoteLine(std::string_view line, int lineNo)
{
    std::vector<NoteEvent> events;
    std::size_t at = 0;
    while (at < line.size()) {
        if (IsBlank(line[at])) {
            ++at;
            continue;
        }
        std::size_t stop = at;
        if (line[at] == '[') {
            stop = line.find(']', at);
            if (stop == std::string_view::npos) throw ScoreFault{lineNo, "chord '[' without ']'"};
        }
        while (stop < line.size() && !IsBlank(line[stop])) ++stop;
        const std::string_view item = line.substr(at, stop - at);
        if (item.find('[', 1) != std::string_view::npos || (item.front() != '[' && item.find(']') != std::string_view::npos))
            throw ScoreFault{lineNo, "misplaced bracket in " + Quoted(item)};
        events.push_back(ParseItem(item, lineNo));
        at = stop;
    }
    return events;
}

} // namespace brakkon::audio
