// Replays: the text written and read back, damage refused with its line, and
// brakkon-sim playing one to the same end as the same game driven by a key
// script.
#include "game/FileIo.h"
#include "sim/ReplayPlay.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"
#include "sim/SimKeys.h"
#include "tests/SimSupport.h"
#include "sim/Simulation.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view ValidText = "brakkon-replay 1\n"
                                       "data 10 00000000000000ff\n"
                                       "random 5\n"
                                       "step 2\n"
                                       "flow 0 0 1 0\n"
                                       "player 1 Left Right Up Down Space 0 none -1 1\n"
                                       "player 2 F H T G A 0 none -1 1\n"
                                       "0 new 2\n"
                                       "0 resume\n"
                                       "3 press Up\n"
                                       "9 end\n";

std::string Edited(std::string_view from, std::string_view to, std::string text = std::string(ValidText))
{
    return text.replace(text.find(from), from.size(), to);
}

/// The valid text as version 2, with one edit.
std::string Edited2(std::string_view from, std::string_view to)
{
    return Edited("replay 1", "replay 2", Edited(from, to));
}

TEST(ReplayText, EveryEventAndTheStartReadBackAsWritten)
{
    Replay r;
    r.Data = {12345, 0x0123456789abcdefull};
    r.Start.RandomSeed = 4000000000u;
    r.Start.MoveStep = 4;
    r.Start.BlinkPhase = true;
    r.Start.NextGatePending = true;
    r.Start.Player1.MoveKey = VkUp;
    r.Start.Player1.MoveDir = 2;
    r.Start.Player1.MoveIdle = false;
    r.Start.Player2.FireHeld = true;
    std::vector<std::uint8_t> saved;
    ASSERT_TRUE(EncodeSavedGame(test::SavedStepOneGame(), saved));
    ASSERT_GT(saved.size(), 64u) << "the saved game spans several hex lines";
    r.SavedGames.push_back(saved);
    r.Events = {{0, ReplayWhat::NewGame, 1}, {0, ReplayWhat::Resume, 0}, {5, ReplayWhat::Press, VkSpace},
                {5, ReplayWhat::Clock, 0},   {6, ReplayWhat::Release, 7}, {8, ReplayWhat::Focus, 0},
                {9, ReplayWhat::Pause, 0},   {9, ReplayWhat::LoadGame, 0}, {9, ReplayWhat::Step, 1}};
    r.Ticks = 70;
    const std::string text = WriteReplayText(r);

    Replay back;
    const auto read = ReadReplay(TextSource::FromString("replay", text), back);
    ASSERT_TRUE(read) << read.Message;
    EXPECT_EQ(WriteReplayText(back), text);
    EXPECT_EQ(back.Data, r.Data);
    EXPECT_EQ(back.Start.RandomSeed, 4000000000u);
    EXPECT_EQ(back.Start.Player1.MoveKey, VkUp);
    EXPECT_TRUE(back.Start.Player2.FireHeld);
    ASSERT_EQ(back.Events.size(), r.Events.size());
    EXPECT_EQ(back.Events[4].Value, 7) << "a key code without a name";
    EXPECT_EQ(back.SavedGames, r.SavedGames);
    EXPECT_EQ(back.Ticks, 70);
    EXPECT_NE(text.find("\n5 press Space\n"), std::string::npos) << "keys by name, for reading and diffing";
}

TEST(ReplayText, EveryKeyCodeHasANameThatReadsBack)
{
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code)
        ASSERT_EQ(ParseKeyName(KeyName(static_cast<KeyCode>(code))), std::optional<KeyCode>(code)) << code;
}

struct DamageCase {
    const char* name;
    std::string text;
    const char* says; ///< the message begins with it
};

class ReplayDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ReplayDamage, IsRefusedWithItsLineAndLeavesTheReplay)
{
    Replay replay;
    replay.Ticks = 77;
    const auto read = ReadReplay(TextSource::FromString("replay", GetParam().text), replay);
    EXPECT_EQ(read.Message.rfind(GetParam().says, 0), 0u) << read.Message;
    EXPECT_EQ(replay.Ticks, 77);
    EXPECT_TRUE(replay.Events.empty());
}

const std::string HexLine(128, '0');

INSTANTIATE_TEST_SUITE_P(
    Damage, ReplayDamage,
    ::testing::Values(
        DamageCase{"Empty", "", "replay: empty file"},
        DamageCase{"NotAReplay", "hello\n", "replay:1: not a replay"},
        DamageCase{"LaterVersion", Edited("replay 1", "replay 3"), "replay:1: replay version '3'"},
        DamageCase{"VersionZero", Edited("replay 1", "replay 0"), "replay:1: replay version '0'"},
        DamageCase{"CutInTheHeader", "brakkon-replay 1\ndata 10 00000000000000ff\n", "replay: ends in its header"},
        DamageCase{"BadChecksum", Edited("00ff", "0zff"), "replay:2: bad checksum"},
        DamageCase{"StepThree", Edited("step 2", "step 3"), "replay:4: expected 'step 1|2|4'"},
        DamageCase{"BadDirection", Edited("none -1 1\n0", "none 7 1\n0"), "replay:7: expected 'player 2"},
        DamageCase{"TicksGoBack", Edited("9 end", "2 end"), "replay:11: tick 2 comes after tick 3"},
        DamageCase{"UnknownEvent", Edited("press Up", "hold Up"), "replay:10: unknown event 'hold'"},
        DamageCase{"UnknownKey", Edited("press Up", "press Nope"), "replay:10: bad value 'Nope'"},
        DamageCase{"ThreePlayers", Edited("new 2", "new 3"), "replay:8: bad value '3'"},
        DamageCase{"ValueOnResume", Edited("0 resume", "0 resume 1"), "replay:9: no value goes with 'resume'"},
        DamageCase{"CutShort", Edited("9 end\n", ""), "replay: ends before its 'end' line"},
        DamageCase{"SomethingAfterTheEnd", std::string(ValidText) + "9 clock\n", "replay:12: nothing may follow"},
        DamageCase{"SavedGameCut", std::string(ValidText.substr(0, ValidText.find("3 press"))) + "3 load 70\n" + HexLine,
                   "replay: ends inside the saved game of line 10"},
        DamageCase{"SavedGameLineShort", Edited("3 press Up", "3 load 2\n000"), "replay:11: expected 2 bytes"},
        DamageCase{"SavedGameNotHex", Edited("3 press Up", "3 load 2\n00zz"), "replay:11: bad hex 'zz'"},
        DamageCase{"SavedGameDamaged", Edited("3 press Up", "3 load 64\n" + HexLine), "replay:10: the saved game is damaged"},
        DamageCase{"GateInVersionOne", Edited("3 press Up", "3 gate 0 64\n" + HexLine),
                   "replay:10: a gate shown by the Game Editor needs replay version 2"},
        DamageCase{"NewGameAtAGateInVersionOne", Edited("new 2", "new 2 1"),
                   "replay:8: one value (two in version 2) goes with 'new'"},
        DamageCase{"NewGameAtANegativeGate", Edited2("new 2", "new 2 -1"), "replay:8: bad gate '-1'"},
        DamageCase{"GateDamaged", Edited2("3 press Up", "3 gate 0 64\n" + HexLine), "replay:10: the gate is damaged"},
        DamageCase{"GateCut", Edited("replay 1", "replay 2", std::string(ValidText.substr(0, ValidText.find("3 press")))) +
                              "3 gate 0 70\n" + HexLine,
                   "replay: ends inside the gate of line 10"},
        DamageCase{"GateWithoutItsSize", Edited2("3 press Up", "3 gate 0"), "replay:10: two values go with 'gate'"},
        DamageCase{"GateNumberNegative", Edited2("3 press Up", "3 gate -1 64\n" + HexLine), "replay:10: bad gate '-1'"}),
    test::CaseName);

// ---- Playing a replay ----

class ReplayPlayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::WriteSimGameData(Path("Game.dat"))); }
    fs::path Path(const char* name) const { return dir_ / name; }

    const test::TempFolder dir_{"brakkon-replay"};
};

TEST_F(ReplayPlayTest, PlaysToTheSameEndAsTheKeyScriptOfTheSameGame)
{
    // Two players at gate 0 with seed 3 for 700 ticks, driven by a script...
    const std::vector<KeyEvent> keys = {{0, true, VkUp},    {40, false, VkUp},      {41, true, VkSpace},
                                        {45, false, VkSpace}, {60, true, VkLetter('H')}, {300, false, VkLetter('H')},
                                        {301, true, VkLetter('A')}, {302, false, VkLetter('A')}, {400, true, VkLeft}};
    constexpr std::int64_t Ticks = 700;
    SimStart start;
    start.DataFile = Path("Game.dat");
    start.Gate = 0;
    start.Players = 2;
    start.Seed = 3;
    Simulation scripted;
    std::string error;
    ASSERT_TRUE(scripted.Begin(start, error)) << error;
    scripted.Run(Ticks, keys);

    // ...and the same game as the window would have recorded it.
    Replay r;
    r.Data = *IdentityOfFile(start.DataFile);
    MainState fresh;
    fresh.Rand.Skip(start.Seed + 1);
    r.Start = CaptureStart(fresh);
    r.Events = {{0, ReplayWhat::NewGame, 2}, {0, ReplayWhat::Resume, 0}};
    std::size_t next = 0;
    for (std::int64_t slot = 0, elapsed = 0, clock = 1000; slot < Ticks; ++slot) {
        for (; next < keys.size() && keys[next].Tick == slot; ++next)
            r.Events.push_back({slot, keys[next].Press ? ReplayWhat::Press : ReplayWhat::Release, keys[next].Key});
        for (elapsed += 16; elapsed >= clock; clock += 1000) r.Events.push_back({slot, ReplayWhat::Clock, 0});
    }
    r.Ticks = Ticks;
    ASSERT_TRUE(SaveReplay(Path("game.replay"), r));

    const auto run = test::RunTool(BRAKKON_SIM_TOOL, {"--data", Path("Game.dat").string(), "--replay",
                                                      Path("game.replay").string(), "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, scripted.Json() + "\n");
    EXPECT_GT(scripted.Host.Effects.size(), 2u) << "the players fired";
    EXPECT_GE(scripted.State.Game.Gate->PlayTime, 11);
}

struct ToolRefusal {
    const char* name;
    std::vector<std::string> extra;
    int exitCode;
    const char* says;
};

class ReplayToolRefusal : public ReplayPlayTest, public ::testing::WithParamInterface<ToolRefusal> {};

TEST_P(ReplayToolRefusal, SaysWhyAndPlaysNothing)
{
    Replay r;
    r.Data = *IdentityOfFile(Path("Game.dat"));
    r.Ticks = 5;
    ASSERT_TRUE(SaveReplay(Path("good.replay"), r));
    r.Data.Checksum ^= 1;
    ASSERT_TRUE(SaveReplay(Path("other.replay"), r));
    ASSERT_TRUE(WriteFileAtomically(Path("cut.replay"), std::vector<std::uint8_t>{'b', 'r', 'a'}));

    std::vector<std::string> args = {"--data", Path("Game.dat").string()};
    for (const std::string& a : GetParam().extra) args.push_back(a.ends_with(".replay") ? Path(a.c_str()).string() : a);
    const auto run = test::RunTool(BRAKKON_SIM_TOOL, args);
    EXPECT_EQ(run.ExitCode, GetParam().exitCode);
    EXPECT_NE(run.Err.find(GetParam().says), std::string::npos) << run.Err;
    EXPECT_TRUE(run.Out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, ReplayToolRefusal,
    ::testing::Values(ToolRefusal{"AnotherDataFile", {"--replay", "other.replay"}, 1,
                                  "the replay was recorded with another data file than"},
                      ToolRefusal{"Damaged", {"--replay", "cut.replay"}, 1, "cut.replay:1: not a replay"},
                      ToolRefusal{"WithAGate", {"--replay", "good.replay", "--gate", "0"}, 2,
                                  "--replay goes with --data, --save and --json only"}),
    test::CaseName);

} // namespace
} // namespace brakkon
