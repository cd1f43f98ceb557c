// The built sound files and intro text in the executable's directory: their
// bytes as shipped, their headers, lengths and signals, the music's length and
// balance, and an RTF text that any reader can take.
#include "tests/AudioFileCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace brakkon::test {
namespace {

std::vector<std::uint8_t> BuiltFile(const std::string& name)
{
    const std::filesystem::path path = std::filesystem::path(BRAKKON_BIN_DIR) / name;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Rms(std::span<const double> x)
{
    double sum = 0;
    for (double v : x) sum += v * v;
    return x.empty() ? 0 : std::sqrt(sum / static_cast<double>(x.size()));
}

struct EffectCase {
    const char* file;
    double minSeconds, maxSeconds;
    double lowHz;        ///< the share of power below this frequency is checked
    double minLowShare;  ///< at least this share below lowHz
    double maxLowShare;  ///< at most this share below lowHz
    bool decays;         ///< the last quarter is much quieter than the first
};

const EffectCase Effects[] = {
    {"Explode.wav", 0.6, 1.2, 1000, 0.80, 1.00, true},  // a low blast
    {"Ding.wav", 0.3, 0.6, 1000, 0.00, 0.05, true},     // a bright chime
    {"Gun.wav", 0.1, 0.25, 1000, 0.30, 0.90, true},     // a crack with high content
    {"Move.wav", 0.3, 0.6, 400, 0.90, 1.00, false},     // a steady low rumble
};

/// The shipped sound files as they were first released: a change to the
/// synthesis, the score or the writers, or output that differs from run to run
/// or between compilers, changes what every player hears and fails here.
struct Pinned {
    const char* file;
    std::size_t size;
    std::uint64_t fnv1a; ///< 64-bit FNV-1a of the whole file
};

const Pinned ShippedSounds[] = {
    {"Explode.wav", 44144, 0x5993ca2c6d4aabe0},
    {"Ding.wav", 22094, 0xfa35210b225fef0d},
    {"Gun.wav", 7982, 0x37b0c173c98259b7},
    {"Move.wav", 22094, 0x47c966b2e25e63b8},
    {"Music.mid", 10294, 0x48083e5a39eb27e1},
};

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes)
{
    std::uint64_t h = 0xcbf29ce484222325u;
    for (const std::uint8_t b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

TEST(BuiltSounds, AreByteForByteTheShippedOnes)
{
    for (const Pinned& p : ShippedSounds) {
        const auto bytes = BuiltFile(p.file);
        EXPECT_EQ(bytes.size(), p.size) << p.file;
        EXPECT_EQ(Fnv1a(bytes), p.fnv1a) << p.file;
    }
}

TEST(BuiltSounds, EffectsAreMonoPcmOfTheRightLength)
{
    for (const EffectCase& c : Effects) {
        const auto bytes = BuiltFile(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file << " missing in " << BRAKKON_BIN_DIR;
        const WavInfo wav = ReadWav(bytes);
        ASSERT_EQ(wav.Error, "") << c.file;
        EXPECT_EQ(wav.Format, 1) << c.file;
        EXPECT_EQ(wav.Channels, 1) << c.file;
        EXPECT_EQ(wav.Bits, 16) << c.file;
        EXPECT_TRUE(wav.SampleRate == 22050 || wav.SampleRate == 44100) << c.file;
        EXPECT_GE(wav.Seconds(), c.minSeconds) << c.file;
        EXPECT_LE(wav.Seconds(), c.maxSeconds) << c.file;
    }
}

TEST(BuiltSounds, EffectsSoundAsIntended)
{
    for (const EffectCase& c : Effects) {
        const WavInfo wav = ReadWav(BuiltFile(c.file));
        ASSERT_EQ(wav.Error, "") << c.file;
        const std::vector<double>& x = wav.Samples;
        double peak = 0, sum = 0;
        std::size_t clipped = 0;
        for (double v : x) {
            peak = std::max(peak, std::abs(v));
            sum += v;
            clipped += std::abs(v) >= 32767.0 / 32768.0 ? 1 : 0;
        }
        EXPECT_EQ(clipped, 0u) << c.file;
        EXPECT_GE(peak, 0.5) << c.file;
        EXPECT_LE(peak, 0.95) << c.file;
        EXPECT_LT(std::abs(sum / static_cast<double>(x.size())), 0.005) << c.file << " has a DC offset";
        const double rms = Rms(x);
        EXPECT_GT(rms, 0.05) << c.file;
        EXPECT_LT(rms, 0.4) << c.file;
        const double low = ShareBelow(x, wav.SampleRate, c.lowHz);
        EXPECT_GE(low, c.minLowShare) << c.file;
        EXPECT_LE(low, c.maxLowShare) << c.file;
        const std::size_t quarter = x.size() / 4;
        const double head = Rms(std::span(x).first(quarter));
        const double tail = Rms(std::span(x).last(quarter));
        if (c.decays) {
            EXPECT_LT(tail, head / 4) << c.file << " does not die away";
            EXPECT_LT(std::abs(x.back()), 0.01) << c.file << " ends with a click";
        } else {
            EXPECT_GT(tail, head * 0.6) << c.file << " is not steady";
            EXPECT_LT(tail, head / 0.6) << c.file << " is not steady";
        }
    }
}

TEST(BuiltSounds, FourDifferentEffects)
{
    std::set<std::vector<std::uint8_t>> distinct;
    for (const EffectCase& c : Effects) distinct.insert(BuiltFile(c.file));
    EXPECT_EQ(distinct.size(), 4u);
}

TEST(BuiltMusic, StandardMidiFileOfAtLeastAMinute)
{
    const auto bytes = BuiltFile("Music.mid");
    ASSERT_FALSE(bytes.empty());
    const MidiInfo midi = ReadMidi(bytes);
    ASSERT_EQ(midi.Error, "");
    EXPECT_TRUE(midi.Format == 0 || midi.Format == 1);
    EXPECT_GE(midi.TrackCount, midi.Format == 0 ? 1u : 2u);
    EXPECT_GE(midi.Seconds(), 60.0);
    EXPECT_LE(midi.Seconds(), 180.0);
    ASSERT_FALSE(midi.Tempos.empty());
    EXPECT_EQ(midi.Tempos.begin()->first, 0u);
    // Every track runs to the same end, so the loop keeps its last bar.
    EXPECT_EQ(std::set<std::uint32_t>(midi.TrackEnds.begin(), midi.TrackEnds.end()).size(), 1u);
    EXPECT_GT(midi.NoteOns, 500u);
    EXPECT_EQ(midi.NoteOns, midi.NoteOffs);
    EXPECT_EQ(midi.Unbalanced, 0u);
    EXPECT_GE(midi.Programs.size(), 2u); // several instruments
}

// A small RTF walk: groups, control words, escapes; returns the visible text
// or the first fault. The intro window's own reader is tested with the shell.
struct RtfWalk {
    std::string Error;           ///< empty when the text is sound
    std::string Text;            ///< visible text, a newline per \par, escapes kept as written
    std::set<std::string> Words; ///< control words used, without their numbers
};

RtfWalk WalkRtf(const std::vector<std::uint8_t>& bytes)
{
    RtfWalk walk;
    const std::string s(bytes.begin(), bytes.end());
    int depth = 0;
    int skipDepth = 0; // inside the font or colour table
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x7F || (c < 0x20 && c != '\n' && c != '\r')) return Failed<RtfWalk>("byte outside ASCII at " + std::to_string(i));
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (skipDepth == depth) skipDepth = 0;
            if (--depth < 0) return Failed<RtfWalk>("unbalanced '}'");
            if (depth == 0 && s.find_first_not_of("\r\n", i + 1) != std::string::npos) return Failed<RtfWalk>("text after the end");
        } else if (c == '\\') {
            if (i + 1 >= s.size()) return Failed<RtfWalk>("lone backslash at the end");
            if (s[i + 1] == '\'') {
                if (i + 3 >= s.size() || !std::isxdigit(s[i + 2]) || !std::isxdigit(s[i + 3])) return Failed<RtfWalk>("bad \\' escape");
                if (!skipDepth) walk.Text += s.substr(i, 4);
                i += 3;
                continue;
            }
            std::size_t j = i + 1;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
            if (j == i + 1) return Failed<RtfWalk>("control symbol other than \\'");
            while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '-')) ++j;
            const std::string word = s.substr(i + 1, j - i - 1);
            walk.Words.insert(word.substr(0, word.find_first_of("-0123456789")));
            if (word == "fonttbl" || word == "colortbl") skipDepth = depth;
            if (word == "par" && !skipDepth) walk.Text += '\n';
            i = (j < s.size() && s[j] == ' ') ? j : j - 1;
        } else if (c != '\n' && c != '\r' && !skipDepth) {
            walk.Text += static_cast<char>(c);
        }
    }
    if (depth != 0) return Failed<RtfWalk>("unbalanced '{'");
    return walk;
}

TEST(BuiltIntro, PlainRtfWithTheKeysAndRules)
{
    const auto bytes = BuiltFile("Start.rtf");
    const std::string head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 24));
    EXPECT_EQ(head.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u) << head;
    const RtfWalk walk = WalkRtf(bytes);
    ASSERT_EQ(walk.Error, "");
    const std::set<std::string> plain = {"rtf", "ansi", "ansicpg", "deff", "fonttbl", "f", "fswiss", "fcharset",
                                         "colortbl", "red", "green", "blue", "cf", "fs", "b", "i", "ul", "par"};
    for (const std::string& word : walk.Words) EXPECT_TRUE(plain.count(word)) << "\\" << word;
    for (const char* phrase : {"Brakkon", "arrow keys", "Space", "Ctrl", "F left", "T up", "H right", "G down",
                               "Shift", "F1", "Esc", "Enter", "base", "bonus", "shield"})
        EXPECT_NE(walk.Text.find(phrase), std::string::npos) << phrase;
}

} // namespace
} // namespace brakkon::test
