// The media layer's own reading: the playing time of MIDI files and the
// programs they select, damaged ones refused, and where the sound font is found.
#include "content/MidiLength.h"
#include "platform/MediaSdl.h"

#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace brakkon {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Be(Bytes& out, std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Bytes Chunk(const char* id, const Bytes& body)
{
    Bytes out(id, id + 4);
    Be(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Midi(std::uint16_t format, std::uint16_t division, std::initializer_list<Bytes> tracks)
{
    Bytes header;
    Be(header, format, 2);
    Be(header, static_cast<std::uint32_t>(tracks.size()), 2);
    Be(header, division, 2);
    Bytes out = Chunk("MThd", header);
    for (const Bytes& t : tracks) {
        const Bytes chunk = Chunk("MTrk", t);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

// Events with their delta times. 96 ticks a quarter; 500000 us a quarter by default.
const Bytes Tempo250k = {0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90};          // twice as fast
const Bytes NoteFor384 = {0x00, 0x90, 0x45, 0x64, 0x83, 0x00, 0x80, 0x45, 0x00}; // 4 quarters
const Bytes RunningNotes = {0x00, 0x90, 0x45, 0x64, 0x60, 0x45, 0x00, 0x60, 0x47, 0x64}; // running status
const Bytes EndAt0 = {0x00, 0xFF, 0x2F, 0x00};

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct LengthCase {
    const char* name;
    Bytes file;
    double seconds; ///< negative: refused
};

void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.name; }

class MidiLengthRead : public ::testing::TestWithParam<LengthCase> {};

TEST_P(MidiLengthRead, FollowsTempoAndTracksOrRefuses)
{
    const LengthCase& c = GetParam();
    const MidiLength length = ReadMidiLength(c.file);
    if (c.seconds < 0) {
        EXPECT_FALSE(length);
        EXPECT_EQ(length.Message, MsgMidiDamaged);
    } else {
        ASSERT_TRUE(length) << length.Message;
        EXPECT_NEAR(length.Seconds, c.seconds, 1e-9);
    }
}

const Bytes TwoSeconds = Midi(0, 96, {Join({NoteFor384, EndAt0})});

INSTANTIATE_TEST_SUITE_P(
    Media, MidiLengthRead,
    ::testing::Values(
        LengthCase{"DefaultTempo", TwoSeconds, 2.0},
        LengthCase{"TempoChangeHalvesTheTime", Midi(0, 96, {Join({Tempo250k, NoteFor384, EndAt0})}), 1.0},
        LengthCase{"LatestTrackEndCountsTempoFromAnyTrack",
                   Midi(1, 96, {Join({Tempo250k, EndAt0}), Join({NoteFor384, NoteFor384, EndAt0})}), 2.0},
        LengthCase{"RunningStatus", Midi(0, 96, {Join({RunningNotes, EndAt0})}), 1.0},
        LengthCase{"TimeCode25FramesOf40Ticks", Midi(0, 0xE728, {Join({NoteFor384, EndAt0})}), 0.384},
        LengthCase{"NoEndMarkerEndsWithTheLastEvent", Midi(0, 96, {NoteFor384}), 2.0},
        LengthCase{"Truncated", Bytes(TwoSeconds.begin(), TwoSeconds.end() - 3), -1},
        LengthCase{"NotMidi", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, -1},
        LengthCase{"SequentialTracksFormat", Midi(2, 96, {EndAt0}), -1},
        LengthCase{"ZeroDivision", Midi(0, 0, {EndAt0}), -1},
        LengthCase{"NoTrack", Midi(0, 96, {}), -1},
        LengthCase{"DataWithoutStatus", Midi(0, 96, {Bytes{0x00, 0x45, 0x64}}), -1},
        LengthCase{"FiveByteDeltaTime", Midi(0, 96, {Bytes{0x81, 0x81, 0x81, 0x81, 0x01, 0xFF, 0x2F, 0x00}}), -1},
        LengthCase{"SystemMessageInAFile", Midi(0, 96, {Bytes{0x00, 0xF8}}), -1}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

TEST(MidiLengthRead, ShippedMusicLastsItsFortyBars)
{
    std::ifstream in(std::string(BRAKKON_BIN_DIR) + "/Music.mid", std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const MidiLength length = ReadMidiLength(bytes);
    ASSERT_TRUE(length);
    EXPECT_NEAR(length.Seconds, 40 * 4 * 60.0 / 144, 0.5); // 40 bars of 4 quarters at 144 a minute
}

struct ProgramsCase {
    const char* name;
    Bytes file;
    std::vector<int> programs; ///< {-1}: refused
};

void PrintTo(const ProgramsCase& c, std::ostream* os) { *os << c.name; }

class MidiProgramsRead : public ::testing::TestWithParam<ProgramsCase> {};

TEST_P(MidiProgramsRead, EveryProgramChangeOrRefused)
{
    const ProgramsCase& c = GetParam();
    const MidiPrograms read = ReadMidiPrograms(c.file);
    if (c.programs == std::vector<int>{-1}) {
        EXPECT_EQ(read.Message, MsgMidiDamaged);
        EXPECT_TRUE(read.Programs.none());
        return;
    }
    ASSERT_TRUE(read) << read.Message;
    MidiProgramSet expected;
    for (const int p : c.programs) expected.set(static_cast<std::size_t>(p));
    EXPECT_EQ(read.Programs, expected);
}

const Bytes TwoPrograms = Join({Bytes{0x00, 0xC0, 0x05, 0x00, 0xC3, 0x07}, EndAt0});

INSTANTIATE_TEST_SUITE_P(
    Media, MidiProgramsRead,
    ::testing::Values(
        ProgramsCase{"TwoChannels", Midi(0, 96, {TwoPrograms}), {5, 7}},
        ProgramsCase{"RunningStatus", Midi(0, 96, {Bytes{0x00, 0xC1, 0x21, 0x10, 0x22, 0x10, 0x23}}), {33, 34, 35}},
        // A sysex body and a meta text hold bytes that look like program changes.
        ProgramsCase{"MetaAndSysexBetween",
                     Midi(0, 96, {Bytes{0x00, 0xC0, 0x03, 0x00, 0xFF, 0x01, 0x03, 0xC5, 0x40, 0x41, 0x00, 0xF0, 0x03, 0xC5, 0x11, 0xF7,
                                        0x00, 0xC2, 0x09, 0x00, 0xFF, 0x2F, 0x00}}),
                     {3, 9}},
        ProgramsCase{"TwoTracks", Midi(1, 96, {Join({Tempo250k, EndAt0}), Bytes{0x00, 0xC9, 0x00, 0x00, 0xC0, 0x50}}), {0, 80}},
        ProgramsCase{"ProgramChangeIsTheLastEvent", Midi(0, 96, {Bytes{0x00, 0xC0, 0x7F}}), {127}},
        ProgramsCase{"OtherChannelMessages",
                     Midi(0, 96, {Join({NoteFor384, Bytes{0x00, 0xB0, 0x00, 0x05, 0x00, 0xE0, 0x00, 0x40, 0x00, 0xD0, 0x06}, EndAt0})}),
                     {}},
        ProgramsCase{"TruncatedProgramChange", Midi(0, 96, {Bytes{0x00, 0xC0}}), {-1}},
        ProgramsCase{"ProgramPast127", Midi(0, 96, {Bytes{0x00, 0xC0, 0x80}}), {-1}},
        ProgramsCase{"BadHeader", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1}, {-1}},
        ProgramsCase{"TrackLengthPastTheEnd",
                     [] {
                         Bytes file = Midi(0, 96, {TwoPrograms});
                         file[17] += 1; // the track's length, one byte more than there is
                         return file;
                     }(),
                     {-1}},
        ProgramsCase{"SequentialTracksFormat", Midi(2, 96, {TwoPrograms}), {-1}}),
    [](const ::testing::TestParamInfo<ProgramsCase>& info) { return std::string(info.param.name); });

// A program number past 127 leaves the programs unknown, while the length
// is read as it always was.
TEST(MidiProgramsRead, AProgramPast127LeavesTheLengthReadable)
{
    const Bytes file = Midi(0, 96, {Join({Bytes{0x00, 0xC0, 0x80}, NoteFor384, EndAt0})});
    EXPECT_FALSE(ReadMidiPrograms(file));
    const MidiLength length = ReadMidiLength(file);
    EXPECT_TRUE(length) << length.Message;
}

TEST(MidiProgramsRead, TheShippedMusic)
{
    std::ifstream in(std::string(BRAKKON_BIN_DIR) + "/Music.mid", std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const MidiPrograms read = ReadMidiPrograms(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.Programs, MidiProgramSet().set(38).set(61).set(80)); // bass, brass, lead
}

TEST(SoundFont, FoundWhereTheDataDirectoriesSay)
{
    namespace fs = std::filesystem;
    const test::TempFolder folder("brakkon-soundfonts");
    const fs::path& root = folder.path;
    for (const char* dir : {"user", "system"}) fs::create_directories(root / dir / "sounds" / "sf2");
    std::ofstream(root / "user" / "sounds" / "sf2" / "default-GM.sf2") << "sf2";
    std::ofstream(root / "system" / "sounds" / "sf2" / "TimGM6mb.sf2") << "sf2";
    std::map<std::string, std::string> env = {{"XDG_DATA_HOME", (root / "user").string()},
                                              {"XDG_DATA_DIRS", "relative:" + (root / "system").string()}};
    const auto lookup = [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(FindSoundFont(lookup), (root / "system" / "sounds" / "sf2" / "TimGM6mb.sf2").string()); // the GM font of choice first
    env["XDG_DATA_DIRS"] = "relative";
    EXPECT_EQ(FindSoundFont(lookup), (root / "user" / "sounds" / "sf2" / "default-GM.sf2").string());
    env.erase("XDG_DATA_HOME");
    EXPECT_EQ(FindSoundFont(lookup), "");
}

} // namespace
} // namespace brakkon
