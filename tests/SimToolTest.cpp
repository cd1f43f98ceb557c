// brakkon-sim as the user runs it, its key scripts, and the simulated time.
#include "game/FileIo.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"
#include "tests/SimSupport.h"
#include "sim/Simulation.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string_view>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

// ---- Key scripts ----

struct KeyNameCase {
    const char* name;
    int code; ///< -1 for refused
};

class KeyNames : public ::testing::TestWithParam<KeyNameCase> {};

TEST_P(KeyNames, NamesLettersDigitsAndCodes)
{
    const auto code = ParseKeyName(GetParam().name);
    if (GetParam().code < 0)
        EXPECT_FALSE(code.has_value());
    else
        EXPECT_EQ(code, std::optional<KeyCode>(static_cast<KeyCode>(GetParam().code)));
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyNames,
                         ::testing::Values(KeyNameCase{"Left", 37}, KeyNameCase{"right", 39}, KeyNameCase{"UP", 38},
                                           KeyNameCase{"Down", 40}, KeyNameCase{"Space", 32}, KeyNameCase{"Ctrl", 17},
                                           KeyNameCase{"Shift", 16}, KeyNameCase{"Enter", 13},
                                           KeyNameCase{"Escape", 27}, KeyNameCase{"F1", 112}, KeyNameCase{"A", 65},
                                           KeyNameCase{"z", 90}, KeyNameCase{"0", 48}, KeyNameCase{"7", 55},
                                           KeyNameCase{"70", 70}, KeyNameCase{"112", 112},
                                           KeyNameCase{"65535", 65535}, KeyNameCase{"65536", -1},
                                           KeyNameCase{"F2", -1}, KeyNameCase{"", -1}, KeyNameCase{"-5", -1},
                                           KeyNameCase{"?", -1}),
                         [](const auto& info) {
                             // Letters and digits as they are, the rest spelt out.
                             std::string name = "Name_";
                             for (const char c : std::string_view(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c)
                                         : c == '-'                                  ? "Minus"
                                                                                     : "Mark";
                             return info.param.name[0] == '\0' ? std::string("Empty") : name;
                         });

TEST(KeyScript, OrdersEventsByTickKeepingScriptOrderWithinATick)
{
    std::vector<KeyEvent> events;
    const auto r = ReadKeyScript(
        TextSource::FromString("keys", "# comment\n\n5 press Up\n2 press A\n5 release Up\n 2 release A \n"), events);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].Tick, 2);
    EXPECT_TRUE(events[0].Press);
    EXPECT_FALSE(events[1].Press);
    EXPECT_EQ(events[2].Key, VkUp);
    EXPECT_TRUE(events[2].Press);
    EXPECT_FALSE(events[3].Press);
}

TEST(KeyScript, ABadLineIsNamed)
{
    for (const char* text : {"1 press Up\n2 hold Up\n", "1 press Up\nx press Up\n", "1 press Up\n-1 press Up\n",
                             "1 press Up\n2 press Nope\n", "1 press Up\n2 press\n", "1 press Up\n2 press Up Up\n"}) {
        std::vector<KeyEvent> events{KeyEvent{}};
        const auto r = ReadKeyScript(TextSource::FromString("keys", text), events);
        EXPECT_EQ(r.Message.rfind("keys:2: ", 0), 0u) << r.Message;
        EXPECT_EQ(events.size(), 1u) << "the events before a failed read stay";
    }
}

// ---- Simulated time ----

class SimulationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::WriteSimGameData(Path("Game.dat"))); }
    fs::path Path(const char* name) const { return dir_ / name; }

    SimStart Start(std::int32_t gate = 3) const
    {
        SimStart start;
        start.DataFile = Path("Game.dat");
        start.Gate = gate;
        start.Players = 2;
        return start;
    }

    const test::TempFolder dir_{"brakkon-sim"};
};

TEST_F(SimulationTest, TheClockTicksEachTimeAnother1000MsHavePassed)
{
    for (auto [interval, slots, seconds] : {std::tuple{16, 62, 0}, std::tuple{16, 63, 1}, std::tuple{16, 125, 2},
                                            std::tuple{100, 10, 1}, std::tuple{1000, 5, 5}, std::tuple{1, 2999, 2}}) {
        Simulation sim;
        SimStart start = Start();
        start.Interval = interval;
        std::string error;
        ASSERT_TRUE(sim.Begin(start, error)) << error;
        sim.Run(slots, {});
        EXPECT_EQ(sim.State.Game.Gate->PlayTime, seconds) << interval << " ms x " << slots;
        EXPECT_EQ(sim.TicksRun, slots);
    }
}

TEST_F(SimulationTest, WhilePausedNeitherTicksNorTimePassAndTheClockStartsAnew)
{
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.Begin(Start(), error)) << error;
    const std::vector<KeyEvent> keys = {{10, true, VkF1}, {30, true, VkEscape}};
    int ticks = 0;
    sim.Run(92, keys, [&](const Simulation&) { ++ticks; });
    EXPECT_EQ(sim.TicksRun, 72);
    EXPECT_EQ(ticks, 72);
    EXPECT_EQ(sim.State.Game.Gate->PlayTime, 0); // 62 x 16 ms since the resume
    std::size_t next = 0;
    sim.RunSlot(92, {}, next);
    EXPECT_EQ(sim.State.Game.Gate->PlayTime, 1);
    EXPECT_TRUE(sim.State.Playing);
}

TEST_F(SimulationTest, KeysOfTheScriptDriveThePlayers)
{
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.Begin(Start(), error)) << error;
    sim.Run(11, {{0, true, VkUp}, {10, false, VkUp}, {3, true, VkShift}});
    const GateType& gate = *sim.State.Game.Gate;
    EXPECT_EQ(gate.Sprites[0]->Top, 13 * 32 - 20); // moved in ticks 0 to 9
    EXPECT_EQ(sim.Host.Effects, (std::vector<std::pair<std::int64_t, std::int32_t>>{{3, 3}}));
}

TEST_F(SimulationTest, GameOverTickIsTheSlotInWhichTheGameEnded)
{
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.Begin(Start(), error)) << error;
    sim.Run(5, {});
    EXPECT_FALSE(sim.GameOverTick);
    sim.State.Game.Gate->Cells[BaseCol][BaseRow]->Block = BlockOpen;
    std::size_t next = 0;
    sim.RunSlot(7, {}, next);
    EXPECT_EQ(sim.GameOverTick, std::optional<std::int64_t>(7));
    EXPECT_TRUE(sim.Json().ends_with("\"GameOverTick\":7}"));
}

// ---- The program ----

class SimToolTest : public SimulationTest {
protected:
    test::ToolRun Sim(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data", Path("Game.dat").string()});
        return RunTool(BRAKKON_SIM_TOOL, args);
    }
};

TEST_F(SimToolTest, SavesTheEndStateAsASavedGameThatLoadsBackTheSame)
{
    const std::string out = Path("end.gam").string();
    const auto first = Sim({"--gate", "0", "--players", "2", "--ticks", "300", "--seed", "9", "--save", out, "--json"});
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    const auto again = Sim({"--load", out, "--json"});
    ASSERT_EQ(again.ExitCode, 0) << again.Err;
    auto gatePart = [](const std::string& json) {
        const auto from = json.find("\"Gate\":");
        return json.substr(from, json.find(",\"Effects\"") - from);
    };
    EXPECT_EQ(gatePart(first.Out), gatePart(again.Out));
    EXPECT_EQ(again.Out.rfind("{\"Ticks\":0,\"Playing\":true,\"GameOver\":false,\"NextGatePending\":false,\"MoveStep\":2,", 0),
              0u);
}

TEST_F(SimToolTest, TheSameSeedReplaysTheSameGameAndAnotherDiffers)
{
    const auto a = Sim({"--gate", "0", "--players", "1", "--ticks", "200", "--seed", "4", "--json"});
    const auto b = Sim({"--gate", "0", "--players", "1", "--ticks", "200", "--seed", "4", "--json"});
    const auto c = Sim({"--gate", "0", "--players", "1", "--ticks", "200", "--seed", "5", "--json"});
    ASSERT_EQ(a.ExitCode, 0) << a.Err;
    EXPECT_EQ(a.Out, b.Out);
    EXPECT_NE(a.Out, c.Out);
}

TEST_F(SimToolTest, WithoutJsonPrintsASummary)
{
    const auto run = Sim({"--gate", "3", "--players", "1", "--ticks", "70"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("70 game ticks; playing"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("gate [1]  time 00:00:01"), std::string::npos) << run.Out;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    int exitCode;
    const char* says;
};

class SimToolUsage : public SimToolTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(SimToolUsage, RefusesWhatItCannotRun)
{
    const auto run = Sim(GetParam().args);
    EXPECT_EQ(run.ExitCode, GetParam().exitCode);
    EXPECT_NE(run.Err.find(GetParam().says), std::string::npos) << run.Err;
    EXPECT_TRUE(run.Out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SimToolUsage,
    ::testing::Values(UsageCase{"NeitherGateNorLoad", {"--ticks", "5"}, 2, "either --gate"},
                      UsageCase{"GateWithoutPlayers", {"--gate", "0"}, 2, "--gate needs --players"},
                      UsageCase{"BothGateAndLoad", {"--gate", "0", "--players", "1", "--load", "x"}, 2, "either"},
                      UsageCase{"ThreePlayers", {"--gate", "0", "--players", "3"}, 2, "1 or 2"},
                      UsageCase{"StepThree", {"--gate", "0", "--players", "1", "--step", "3"}, 2, "1, 2 or 4"},
                      UsageCase{"NegativeTicks", {"--gate", "0", "--players", "1", "--ticks", "-1"}, 2, "count"},
                      UsageCase{"ZeroInterval", {"--gate", "0", "--players", "1", "--interval", "0"}, 2, "positive"},
                      UsageCase{"NotANumber", {"--gate", "x", "--players", "1"}, 2, "bad value for --gate"},
                      UsageCase{"UnknownOption", {"--gate", "0", "--players", "1", "--fast"}, 2, "unknown option"},
                      UsageCase{"MissingValue", {"--gate", "0", "--players"}, 2, "missing value"},
                      UsageCase{"GateOutsideTheFile", {"--gate", "4", "--players", "1"}, 1, "holds 4 gates"},
                      UsageCase{"MissingSavedGame", {"--load", "/nonexistent/x.gam"}, 1, "Data IO Error"},
                      UsageCase{"MissingKeys", {"--gate", "0", "--players", "1", "--keys", "/nonexistent/k"}, 1,
                                "/nonexistent/k: cannot open the file"},
                      UsageCase{"BotThree", {"--gate", "0", "--players", "2", "--bot", "3"}, 2, "--bot takes 1, 2 or both"},
                      UsageCase{"SeedsWithoutBalance", {"--gate", "0", "--players", "1", "--seeds", "3"}, 2,
                                "--seeds goes with --balance"},
                      UsageCase{"BalanceWithAGate", {"--balance", "--gate", "0"}, 2, "--balance goes with"},
                      UsageCase{"ZeroSeeds", {"--balance", "--seeds", "0"}, 2, "--seeds takes a positive"},
                      UsageCase{"BalanceOfANetworkGame", {"--balance", "--join", "127.0.0.1"}, 2, "--balance goes with"},
                      UsageCase{"BotInANetworkGame", {"--gate", "0", "--players", "2", "--bot", "1", "--host", "127.0.0.1:0"},
                                2, "--bot plays a game on this machine"}),
    test::CaseName);

TEST_F(SimToolTest, BotsPlayTheSameGameForTheSameSeedAndFire)
{
    const std::vector<std::string> args = {"--gate", "0", "--players", "2", "--bot", "both", "--seed", "3", "--ticks", "600", "--json"};
    const auto first = Sim(args);
    ASSERT_EQ(first.ExitCode, 0) << first.Err;
    EXPECT_EQ(Sim(args).Out, first.Out);
    EXPECT_NE(first.Out.find(",3]"), std::string::npos) << "no shot was fired"; // effect 3, the gun
    EXPECT_NE(Sim({"--gate", "0", "--players", "2", "--bot", "2", "--seed", "3", "--ticks", "600", "--json"}).Out, first.Out);
}

TEST_F(SimToolTest, BalancePrintsARowForEveryGate)
{
    // A second a tick makes the cap of ten minutes 600 ticks.
    const auto run = Sim({"--balance", "--seeds", "1", "--interval", "1000"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("| Gate | Enemies |"), std::string::npos) << run.Out;
    for (const char* row : {"\n| 0 | 20:", "\n| 1 | 1:", "\n| 2 | 90:", "\n| 3 | 0: | over 600.0 s |"})
        EXPECT_NE(run.Out.find(row), std::string::npos) << row;
}

TEST_F(SimToolTest, ABadKeyScriptIsRefusedWithItsLine)
{
    const fs::path keys = Path("bad.keys");
    const std::string text = "0 press Up\n3 press Sideways\n";
    ASSERT_TRUE(WriteFileAtomically(keys, std::vector<std::uint8_t>(text.begin(), text.end())));
    const auto run = Sim({"--gate", "0", "--players", "1", "--keys", keys.string()});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Err, "brakkon-sim: " + keys.string() + ":2: unknown key 'Sideways'\n");
}

TEST_F(SimToolTest, AMissingDataFileIsAnIoError)
{
    const auto run = RunTool(BRAKKON_SIM_TOOL, {"--data", Path("none.dat").string(), "--gate", "0", "--players", "1"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("Data IO Error"), std::string::npos) << run.Err;
}

} // namespace
} // namespace brakkon
