// The score reader: tables of good inputs with the notes they give, of bad
// inputs with the line and text of their fault, and damaged copies of the
// game's own score, which must be refused cleanly.
#include "content/Score.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace brakkon::audio {
namespace {

constexpr const char* Header = "brakkon-score 1\ntempo 120\ntrack T\nchannel 1\n";

// Reads `text` as the score "s"; a fault's message is "s:LINE: ..." or "s: ...".
TextResult Read(std::string_view text, Score& score)
{
    return ReadScore(TextSource::FromString("s", text), score);
}

/// A note as the tests write it: start, sounding length, pitch, velocity.
using N = std::tuple<std::uint32_t, std::uint32_t, int, int>;

struct GoodCase {
    const char* name;
    const char* body;          ///< after Header
    std::vector<N> notes;      ///< of the only track
    std::uint32_t end;         ///< the track's end
};

TEST(ScoreParser, GoodInputs)
{
    const GoodCase cases[] = {
        {"quarter by default, gate 90", "C4", {{0, 432, 60, 96}}, 480},
        {"length carries on", "C4:8 D4", {{0, 216, 60, 96}, {240, 216, 62, 96}}, 480},
        {"dotted half", "gate 100\nC4:2.", {{0, 1440, 60, 96}}, 1440},
        {"two dots", "gate 100\nC4:8..", {{0, 420, 60, 96}}, 420},
        {"triplets", "gate 100\nC4:4t D4:4t E4:4t", {{0, 320, 60, 96}, {320, 320, 62, 96}, {640, 320, 64, 96}}, 960},
        {"tied lengths", "gate 100\nC4:2+8", {{0, 1200, 60, 96}}, 1200},
        {"accidentals", "gate 100\nC#4:4 Db4 B#3 Cb4 C##4 Ebb4",
         {{0, 480, 61, 96}, {480, 480, 61, 96}, {960, 480, 60, 96}, {1440, 480, 59, 96}, {1920, 480, 62, 96},
          {2400, 480, 62, 96}},
         2880},
        {"lower case and the ends of the range", "gate 100\nc-1 g9 n0 n127",
         {{0, 480, 0, 96}, {480, 480, 127, 96}, {960, 480, 0, 96}, {1440, 480, 127, 96}},
         1920},
        {"percussion names", "gate 100\nkick snare hat crash",
         {{0, 480, 36, 96}, {480, 480, 38, 96}, {960, 480, 42, 96}, {1440, 480, 49, 96}},
         1920},
        {"chord", "gate 100\n[C4 E4  G4]:2", {{0, 960, 60, 96}, {0, 960, 64, 96}, {0, 960, 67, 96}}, 960},
        {"rest moves the clock", "gate 100\nr:2 R:4 C4", {{1440, 480, 60, 96}}, 1920},
        {"accent", "velocity 100\ngate 100\nC4! D4 [E4 G4]:4!", {{0, 480, 60, 124}, {480, 480, 62, 100},
                                                                {960, 480, 64, 124}, {960, 480, 67, 124}}, 1440},
        {"accent stops at 127", "velocity 120\ngate 100\nC4!", {{0, 480, 60, 127}}, 480},
        {"short gate keeps one tick", "gate 1\nC4:32", {{0, 1, 60, 96}}, 60},
        {"repeat", "gate 100\nrepeat 3\nC4:8\nend", {{0, 240, 60, 96}, {240, 240, 60, 96}, {480, 240, 60, 96}}, 720},
        {"nested repeats", "gate 100\nrepeat 2\nC4:8\nrepeat 2\nD4:8\nend\nend",
         {{0, 240, 60, 96}, {240, 240, 62, 96}, {480, 240, 62, 96}, {720, 240, 60, 96}, {960, 240, 62, 96},
          {1200, 240, 62, 96}},
         1440},
        {"bar checks that hold", "gate 100\n| C4:1 | D4:2 D4:2 |\n|",
         {{0, 1920, 60, 96}, {1920, 960, 62, 96}, {2880, 960, 62, 96}}, 3840},
        {"comments and blank lines", "  # a comment\n\ngate 100\nC#4 # a sharp, then a comment\n", {{0, 480, 61, 96}}, 480},
        {"tabs and CRLF", "gate 100\r\n\tC4\t D4 \r\n", {{0, 480, 60, 96}, {480, 480, 62, 96}}, 960},
    };
    for (const GoodCase& c : cases) {
        Score score;
        const TextResult r = Read(std::string(Header) + c.body, score);
        ASSERT_TRUE(r) << c.name << ": " << r.Message;
        ASSERT_EQ(score.Tracks.size(), 1u) << c.name;
        const ScoreTrack& t = score.Tracks[0];
        std::vector<N> got;
        for (const ScoreNote& n : t.Notes) got.emplace_back(n.Start, n.Length, n.Pitch, n.Velocity);
        EXPECT_EQ(got, c.notes) << c.name;
        EXPECT_EQ(t.End, c.end) << c.name;
    }
}

TEST(ScoreParser, HeaderAndTrackSettings)
{
    Score s;
    const TextResult r = Read(
        "brakkon-score 1  \ntitle  Night  March \ntempo 96\nmeter 6/8\n"
        "track Melody line\nchannel 16\nprogram 128\nvolume 0\nC4:4. C4:4. |\n"
        "track Drums\nchannel 10\nkick:2\n",
        s);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(s.Title, "Night  March");
    EXPECT_EQ(s.Tempo, 96u);
    EXPECT_EQ(s.MeterTop, 6u);
    EXPECT_EQ(s.MeterBottom, 8u);
    EXPECT_EQ(s.BarTicks(), 1440u);
    ASSERT_EQ(s.Tracks.size(), 2u);
    EXPECT_EQ(s.Tracks[0].Name, "Melody line");
    EXPECT_EQ(s.Tracks[0].Channel, 15);
    EXPECT_EQ(s.Tracks[0].Program, 127);
    EXPECT_EQ(s.Tracks[0].Volume, 0);
    EXPECT_EQ(s.Tracks[1].Channel, 9);
    EXPECT_EQ(s.Tracks[1].Program, std::nullopt);
    EXPECT_EQ(s.Tracks[1].Volume, std::nullopt);
    EXPECT_EQ(s.End(), 1440u); // the longer track; the second is 960
}

struct BadCase {
    const char* name;
    std::string text;
    int line;            ///< 0: the fault concerns the whole text
    const char* message; ///< a part of the message
};

std::string Nested(int depth, const char* inner)
{
    std::string body;
    for (int i = 0; i < depth; ++i) body += "repeat 64\n";
    body += std::string(inner) + "\n";
    for (int i = 0; i < depth; ++i) body += "end\n";
    return body;
}

TEST(ScoreParser, BadInputs)
{
    const std::string h = Header; // lines 1 to 4; the body starts on line 5
    std::string seventeen = "brakkon-score 1\ntempo 120\n";
    for (int i = 0; i < 17; ++i) seventeen += "track T\nchannel 1\nC4\n";
    const BadCase cases[] = {
        {"empty text", "", 0, "empty file; the first line must be 'brakkon-score 1'"},
        {"other first line", "tempo 120\n", 1, "first line must be"},
        {"newer version", "brakkon-score 2\n", 1, "version '2' of brakkon-score is not known"},
        {"version glued on", "brakkon-score1\n", 1, "found 'brakkon-score1'"},
        {"tempo too slow", "brakkon-score 1\ntempo 10\n", 2, "tempo 10 is out of range (20 to 400)"},
        {"tempo not a number", "brakkon-score 1\ntempo fast\n", 2, "tempo must be a whole number"},
        {"tempo huge", "brakkon-score 1\ntempo 99999999999\n", 2, "whole number"},
        {"metre without slash", "brakkon-score 1\ntempo 120\nmeter 3\n", 3, "metre must look like"},
        {"odd beat value", "brakkon-score 1\ntempo 120\nmeter 3/5\n", 3, "beat value must be"},
        {"track before tempo", "brakkon-score 1\ntrack T\n", 2, "'tempo' must come before the first track"},
        {"track without name", "brakkon-score 1\ntempo 120\ntrack\n", 3, "needs a name"},
        {"notes outside a track", "brakkon-score 1\ntempo 120\nC4\n", 3, "outside a track"},
        {"setting outside a track", "brakkon-score 1\ntempo 120\nchannel 1\n", 3, "'channel' outside a track"},
        {"header inside a track", h + "C4\ntempo 100\n", 6, "'tempo' belongs before the first track"},
        {"no track", "brakkon-score 1\ntempo 120\n", 0, "the score has no track"},
        {"no notes", "brakkon-score 1\ntempo 120\ntrack T\nchannel 1\n", 0, "the score has no notes"},
        {"notes before channel", "brakkon-score 1\ntempo 120\ntrack T\nC4\n", 4, "'channel' must come before"},
        {"track left without channel", "brakkon-score 1\ntempo 120\ntrack A\ntrack B\n", 3, "track 'A' has no channel"},
        {"channel 0", h + "channel 0\n", 5, "channel 0 is out of range (1 to 16)"},
        {"channel 17", h + "channel 17\n", 5, "out of range"},
        {"program 0", h + "program 0\n", 5, "program 0 is out of range (1 to 128)"},
        {"program after notes", h + "C4\nprogram 3\n", 6, "'program' must come before the track's notes"},
        {"velocity 0", h + "velocity 0\n", 5, "velocity 0 is out of range"},
        {"gate 101", h + "gate 101\n", 5, "gate 101 is out of range"},
        {"unknown letter", h + "C4 H4\n", 5, "unknown note 'H4'"},
        {"no octave", h + "C\n", 5, "note 'C' needs an octave"},
        {"two-digit octave", h + "C10\n", 5, "needs an octave"},
        {"octave below -1", h + "C-2\n", 5, "needs an octave"},
        {"too high", h + "G#9\n", 5, "outside MIDI notes 0 to 127"},
        {"too low", h + "Cb-1\n", 5, "outside MIDI notes"},
        {"note number too high", h + "n128\n", 5, "note number 128 is out of range"},
        {"bad length", h + "C4:3\n", 5, "length '3' must be 1, 2, 4, 8, 16 or 32"},
        {"64ths", h + "C4:64\n", 5, "length '64' must be"},
        {"three dots", h + "C4:4...\n", 5, "more than two dots"},
        {"missing length", h + "C4:\n", 5, "length is missing"},
        {"empty tie part", h + "C4:4+\n", 5, "length '' must be"},
        {"accent in the wrong place", h + "C4!:4\n", 5, "unexpected '!:4'"},
        {"accented rest", h + "r!\n", 5, "rest cannot be accented"},
        {"length without note", h + ":4\n", 5, "note name is missing"},
        {"open chord", h + "[C4 E4\n", 5, "'[' without ']'"},
        {"empty chord", h + "[]:4\n", 5, "empty chord"},
        {"doubled chord note", h + "[C4 E4 C4]\n", 5, "same note twice"},
        {"stray bracket", h + "C4]\n", 5, "misplaced bracket"},
        {"nested chord", h + "[C4 [E4]]\n", 5, "misplaced bracket"},
        {"chord with length inside", h + "[C4:4 E4]\n", 5, "needs an octave"},
        {"bar check off the bar", h + "C4:8 |\n", 5, "bar line falls 240 ticks into a bar of 1920"},
        {"end without repeat", h + "C4\nend\n", 6, "'end' without 'repeat'"},
        {"end with words", h + "repeat 2\nC4\nend now\n", 7, "'end' takes nothing"},
        {"repeat left open", h + "C4\nrepeat 2\nC4\n", 6, "'repeat' without 'end'"},
        {"repeat open at next track", h + "repeat 2\nC4\ntrack U\nchannel 2\nC4\n", 5, "'repeat' without 'end'"},
        {"repeat 0", h + "repeat 0\n", 5, "repeat count 0 is out of range (1 to 64)"},
        {"repeat 65", h + "repeat 65\n", 5, "out of range"},
        {"repeats nine deep", h + Nested(9, "C4"), 13, "nested more than 8 deep"},
        {"too many notes", h + Nested(3, "C4:32"), 11, "more than 100000 notes"},
        {"too long", h + Nested(4, "C4:1"), 12, "too long"},
        {"seventeen tracks", seventeen, 51, "more than 16 tracks"},
        {"control byte", h + "C4\nD4\x01\n", 6, "unexpected character (byte 0x01)"},
        {"zero byte", h + std::string("C4 \0 D4\n", 8), 5, "byte 0x00"},
        {"non-ASCII", h + "C4 \xC3\xA9\n", 5, "byte 0xC3"},
    };
    for (const BadCase& c : cases) {
        Score score;
        const TextResult r = Read(c.text, score);
        EXPECT_FALSE(r) << c.name;
        const std::string where = c.line > 0 ? "s:" + std::to_string(c.line) + ": " : "s: ";
        EXPECT_EQ(r.Message.rfind(where, 0), 0u) << c.name << ": " << r.Message;
        EXPECT_NE(r.Message.find(c.message), std::string::npos) << c.name << ": " << r.Message;
    }
}

TEST(ScoreParser, TheMessageNamesTheTextAndTheLine)
{
    Score score;
    EXPECT_EQ(Read(std::string(Header) + "C4 Z9\n", score).Message, "s:5: unknown note 'Z9'");
}

TEST(ScoreParser, OversizedTextIsRefused)
{
    std::string text = std::string(Header) + "C4\n";
    text.append(MaxScoreBytes, ' ');
    Score score;
    EXPECT_EQ(Read(text, score).Message, "s: the score is longer than 1 MiB");
}

std::string GameScore()
{
    std::ifstream in(BRAKKON_MUSIC_SCORE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game's score: every voice fills the same number of whole bars, at
// least a minute of music, drums on the percussion channel.
TEST(ScoreParser, GameScoreIsWholeAndLongEnough)
{
    Score s;
    const TextResult r = Read(GameScore(), s);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_GE(s.Tracks.size(), 3u);
    for (const ScoreTrack& t : s.Tracks) {
        EXPECT_EQ(t.End, s.End()) << t.Name;
        EXPECT_FALSE(t.Notes.empty()) << t.Name;
    }
    EXPECT_EQ(s.End() % s.BarTicks(), 0u);
    const double seconds = static_cast<double>(s.End()) / TicksPerQuarter * 60.0 / s.Tempo;
    EXPECT_GE(seconds, 60.0);
    EXPECT_TRUE(std::any_of(s.Tracks.begin(), s.Tracks.end(), [](const ScoreTrack& t) { return t.Channel == 9; }));
}

// Damaged copies of the score: cut short anywhere, or with one byte replaced.
// Each is read or refused with a line inside the text, never a crash.
TEST(ScoreParser, DamagedScoresAreRefusedCleanly)
{
    const std::string score = GameScore();
    ASSERT_FALSE(score.empty());
    std::size_t refused = 0;
    auto check = [&](const std::string& text, const std::string& what) {
        Score score;
        const TextResult r = Read(text, score);
        if (r) return;
        ++refused;
        // "s: what", or "s:LINE: what" with a line inside the text.
        ASSERT_EQ(r.Message.rfind("s:", 0), 0u) << what;
        if (r.Message[2] == ' ') return;
        const int line = std::stoi(r.Message.substr(2));
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        EXPECT_GE(line, 1) << what;
        EXPECT_LE(line, lines) << what;
    };
    const char replacements[] = {' ', '[', ']', ':', '!', '|', '#', '\n', '.', '+', 't', '9', '\0', '\xFF'};
    // About a hundred places spread over the whole text (the fuzz target
    // goes further).
    const std::size_t stride = score.size() / 100 + 1;
    for (std::size_t at = 0; at < score.size(); at += stride) {
        check(score.substr(0, at), "cut at " + std::to_string(at));
        for (char c : replacements) {
            std::string damaged = score;
            damaged[at] = c;
            check(damaged, "byte " + std::to_string(at) + " replaced");
        }
    }
    EXPECT_GT(refused, 0u); // damage is noticed, not just survived
}

} // namespace
} // namespace brakkon::audio
