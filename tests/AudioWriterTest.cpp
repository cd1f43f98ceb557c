// The WAV and MIDI writers: byte layout of headers, variable-length
// quantities and event order (the shipped files are pinned byte for byte in
// AudioContentTest.cpp).
#include "tests/AudioFileCheck.h"
#include "content/Effects.h"
#include "content/Midi.h"
#include "content/Synth.h"
#include "content/Wav.h"

#include <gtest/gtest.h>

#include <limits>

namespace brakkon::audio {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WavWriter, HeaderBytesOfTwoSamples)
{
    const std::vector<std::int16_t> samples = {1, -2};
    const Bytes expected = {
        'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E',                 // 36 + 4 data bytes
        'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0,                          // PCM, mono
        0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,                      // 22050 Hz, 44100 B/s
        'd', 'a', 't', 'a', 4, 0, 0, 0, 0x01, 0x00, 0xFE, 0xFF,
    };
    EXPECT_EQ(EncodeWav(samples, 22050), expected);
}

TEST(WavWriter, EmptySignalIsAValidFile)
{
    const Bytes wav = EncodeWav({}, 44100);
    ASSERT_EQ(wav.size(), WavHeaderSize);
    const test::WavInfo info = test::ReadWav(wav);
    EXPECT_EQ(info.Error, "");
    EXPECT_EQ(info.SampleRate, 44100u);
    EXPECT_TRUE(info.Samples.empty());
}

TEST(WavWriter, ZeroRateIsRefused)
{
    const std::vector<std::int16_t> samples = {0};
    EXPECT_THROW((void)EncodeWav(samples, 0), std::invalid_argument);
}

TEST(WavWriter, PcmConversionRoundsAndClamps)
{
    struct Case {
        double in;
        std::int16_t out;
    };
    const Case cases[] = {
        {0.0, 0},       {1.0, 32767},   {-1.0, -32767}, {2.5, 32767},  {-7.0, -32767},
        {0.5, 16384},   {-0.5, -16384}, {1e-5, 0},      {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const Case& c : cases) {
        const std::vector<double> in = {c.in};
        EXPECT_EQ(ToPcm16(in).at(0), c.out) << "input " << c.in;
    }
}

TEST(MidiWriter, VariableLengthQuantities)
{
    struct Case {
        std::uint32_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0x00000000, {0x00}},
        {0x00000040, {0x40}},
        {0x0000007F, {0x7F}},
        {0x00000080, {0x81, 0x00}},
        {0x00002000, {0xC0, 0x00}},
        {0x00003FFF, {0xFF, 0x7F}},
        {0x00004000, {0x81, 0x80, 0x00}},
        {0x001FFFFF, {0xFF, 0xFF, 0x7F}},
        {0x00200000, {0x81, 0x80, 0x80, 0x00}},
        {0x08000000, {0xC0, 0x80, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const Case& c : cases) {
        Bytes out = {0xAA};
        AppendVarLen(out, c.value);
        Bytes expected = {0xAA};
        expected.insert(expected.end(), c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(out, expected) << "value " << std::hex << c.value;
    }
    Bytes out;
    EXPECT_THROW(AppendVarLen(out, 0x10000000), std::out_of_range);
}

TEST(MidiWriter, TempoInMicroseconds)
{
    EXPECT_EQ(MicrosecondsPerQuarter(120), 500000u);
    EXPECT_EQ(MicrosecondsPerQuarter(144), 416667u);
    EXPECT_EQ(MicrosecondsPerQuarter(7), 8571429u);
    EXPECT_THROW((void)MicrosecondsPerQuarter(3), std::invalid_argument);
}

Score OneNoteScore()
{
    Score score;
    score.Title = "T";
    score.Tempo = 120;
    score.MeterTop = 3;
    score.MeterBottom = 8;
    ScoreTrack track;
    track.Name = "P";
    track.Channel = 2;
    track.Program = 80;
    track.Volume = 100;
    track.Notes.push_back({0, 200, 60, 90});
    track.End = 480;
    score.Tracks.push_back(track);
    return score;
}

TEST(MidiWriter, WholeFileOfOneNote)
{
    const Bytes expected = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0xE0, // format 1, 2 tracks, 480 ticks
        'M', 'T', 'r', 'k', 0, 0, 0, 25,
        0x00, 0xFF, 0x03, 0x01, 'T',                           // title
        0x00, 0xFF, 0x58, 0x04, 3, 3, 24, 8,                   // 3/8
        0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,              // 500000 us
        0x83, 0x60, 0xFF, 0x2F, 0x00,                          // end at 480
        'M', 'T', 'r', 'k', 0, 0, 0, 30,
        0x00, 0xFF, 0x03, 0x01, 'P',
        0x00, 0xC2, 80,                                        // program
        0x00, 0xB2, 7, 100,                                    // volume
        0x00, 0x92, 60, 90,                                    // note on
        0x81, 0x48, 0x82, 60, 64,                              // off after 200
        0x82, 0x18, 0xB2, 120, 0,                              // all sound off at the end, 280 later
        0x00, 0xFF, 0x2F, 0x00,
    };
    EXPECT_EQ(EncodeMidi(OneNoteScore()), expected);
}

TEST(MidiWriter, RepeatedPitchReleasesBeforeItStrikesAgain)
{
    Score score = OneNoteScore();
    score.Tracks[0].Notes = {{0, 480, 60, 90}, {480, 480, 60, 90}};
    score.Tracks[0].End = 960;
    const test::MidiInfo info = test::ReadMidi(EncodeMidi(score));
    ASSERT_EQ(info.Error, "");
    EXPECT_EQ(info.NoteOns, 2u);
    EXPECT_EQ(info.NoteOffs, 2u);
    EXPECT_EQ(info.Unbalanced, 0u);
}

TEST(MidiWriter, EveryTrackEndsWithTheScore)
{
    Score score = OneNoteScore();
    ScoreTrack second = score.Tracks[0];
    second.Notes = {{0, 100, 40, 90}};
    second.End = 1440;
    score.Tracks.push_back(second);
    const test::MidiInfo info = test::ReadMidi(EncodeMidi(score));
    ASSERT_EQ(info.Error, "");
    EXPECT_EQ(info.TrackEnds, (std::vector<std::uint32_t>{1440, 1440, 1440}));
    EXPECT_DOUBLE_EQ(info.Seconds(), 1.5);
}

// The engine sound loops: its end must lead into its start without a jump
// larger than the steps inside the signal.
TEST(EffectSynthesis, EngineLoopJoinsSmoothly)
{
    const std::vector<double> move = SynthesiseEffect(Effect::Move);
    ASSERT_GT(move.size(), 2u);
    double largestStep = 0;
    for (std::size_t i = 1; i < move.size(); ++i) largestStep = std::max(largestStep, std::abs(move[i] - move[i - 1]));
    EXPECT_LT(std::abs(move.front() - move.back()), largestStep);
}

TEST(NoiseGenerator, SeededAndSpread)
{
    NoiseGenerator a(7), b(7), c(8);
    double sum = 0, low = 1, high = -1;
    bool differs = false;
    for (int i = 0; i < 10000; ++i) {
        const double x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs |= x != c.Next();
        sum += x;
        low = std::min(low, x);
        high = std::max(high, x);
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 10000, 0.0, 0.03);
    EXPECT_LT(low, -0.99);
    EXPECT_GT(high, 0.99);
    NoiseGenerator zero(0);
    EXPECT_NE(zero.NextBits(), 0u); // a zero seed would stick at zero
}

} // namespace
} // namespace brakkon::audio
