// The driver: what it records (from the first game's start, only what was
// applied), and that a recording played back through it reaches the state
// the recorded game reached, also across the Game Editor's gates.
#include "game/ByteStream.h"
#include "game/GameData.h"
#include "game/GateStream.h"
#include "game/SavedGame.h"
#include "sim/GameDriver.h"
#include "sim/Simulation.h"
#include "sim/StartUp.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <variant>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

/// A step of a recorded game: a command, or this many game ticks.
using Step = std::variant<Command, int>;

/// A game as the window runs one: started up from the data file with a
/// seed, recording, every command and tick through the driver.
struct Recorded {
    Simulation sim;
    explicit Recorded(const fs::path& data)
    {
        StartUpPlan plan;
        plan.Advance = 42;
        plan.LoadData = [&](GameType& game) { return LoadGameDataFile(data, game); };
        EXPECT_TRUE(StartUp(sim.State, sim.Host, plan));
        sim.Driver.Record(*IdentityOfFile(data));
    }
    void Run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            if (const auto* command = std::get_if<Command>(&step)) {
                (void)sim.Driver.Apply(*command);
                continue;
            }
            // Counted from the first game's start, as the replay counts them.
            for (int i = 0; i < std::get<int>(step); ++i) {
                sim.Driver.Tick();
                sim.Host.Slot = sim.TicksRun = sim.Driver.Recorded().Ticks;
            }
        }
    }
};

std::vector<std::uint8_t> SavedBytes(const GateType& gate)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeSavedGame(gate, bytes));
    return bytes;
}

/// Stored gate 2 of the test data with a steel wall in its second row and
/// leading back to gate 0: as the Game Editor changes one.
std::vector<std::uint8_t> EditedGate()
{
    auto gate = std::move(test::SimGameData().Gates[2]);
    gate->Cells[4][1]->Block = BlockWall;
    gate->Cells[4][1]->Hardness = 2;
    gate->NextGate = 0;
    ByteWriter out;
    EXPECT_TRUE(WriteGateTo(out, gate.get()));
    return out.Bytes();
}

const Command Resume = Command::Of(CommandKind::Resume);

struct PlayBackCase {
    const char* name;
    std::vector<Step> steps;
    int version; ///< of the replay written
};

class DriverPlayBack : public ::testing::TestWithParam<PlayBackCase> {
protected:
    void SetUp() override { ASSERT_TRUE(test::WriteSimGameData(data_)); }
    const test::TempFolder dir_{"brakkon-driver"};
    const fs::path data_ = dir_ / "Game.dat";
};

TEST_P(DriverPlayBack, ReachesTheRecordedGamesState)
{
    Recorded game(data_);
    game.Run(GetParam().steps);
    ASSERT_TRUE(game.sim.Driver.Recording());
    const std::string text = WriteReplayText(game.sim.Driver.Recorded());
    EXPECT_EQ(text.rfind("brakkon-replay " + std::to_string(GetParam().version) + "\n", 0), 0u) << text.substr(0, 20);

    Replay read;
    const auto result = ReadReplay(TextSource::FromString("replay", text), read);
    ASSERT_TRUE(result) << result.Message;
    EXPECT_EQ(WriteReplayText(read), text);
    Simulation played;
    std::string error;
    ASSERT_TRUE(played.BeginReplay(data_, read, error)) << error;
    played.RunReplay();

    const Simulation& recorded = game.sim;
    EXPECT_EQ(played.TicksRun, recorded.TicksRun);
    EXPECT_EQ(SavedBytes(*played.State.Game.Gate), SavedBytes(*recorded.State.Game.Gate));
    EXPECT_EQ(played.State.Rand.Seed, recorded.State.Rand.Seed);
    EXPECT_EQ(played.State.Playing, recorded.State.Playing);
    EXPECT_EQ(played.State.GameOver, recorded.State.GameOver);
    EXPECT_EQ(played.State.MoveStep, recorded.State.MoveStep);
    EXPECT_EQ(played.State.Game.Gates.size(), recorded.State.Game.Gates.size());
    EXPECT_EQ(played.Host.Effects, recorded.Host.Effects);
    EXPECT_FALSE(recorded.Host.Effects.empty()) << "a game in which something happened";
}

INSTANTIATE_TEST_SUITE_P(
    Games, DriverPlayBack,
    ::testing::Values(
        PlayBackCase{"KeysClockPauseAndStep",
                     {30, Command::NewGame(2), Resume, 20, Command::Press(VkUp), 25, Command::Release(VkUp),
                      Command::Press(VkControl), Command::Of(CommandKind::Clock), 10, Command::Release(VkControl),
                      Command::Of(CommandKind::Pause), Command::Press(VkLetter('H')), Resume,
                      Command::Of(CommandKind::Step, 4), Command::Press(VkLetter('T')), 40,
                      Command::Of(CommandKind::Focus), Command::Press(VkShift), 60},
                     1},
        PlayBackCase{"ASavedGameLoaded",
                     {10, Command::LoadGame(SavedBytes(test::SavedStepOneGame())), Resume, Command::Press(VkLetter('F')),
                      Command::Press(VkSpace), 50, Command::Of(CommandKind::Clock), 50},
                     1},
        PlayBackCase{"GatesTheEditorChangedAndAdded",
                     {Command::NewGame(1), Resume, 20, Command::Press(VkSpace), 5, Command::Of(CommandKind::Pause),
                      Command::ShowGate(2, EditedGate()), Command::ShowGate(4, EditedGate()), Resume, 60,
                      Command::Press(VkSpace), 30},
                     2},
        PlayBackCase{"AGateTheEditorChangedBeforeAnyGame",
                     {25, Command::ShowGate(0, EditedGate()), Command::NewGame(2), Resume, 80, Command::Press(VkSpace), 20},
                     2},
        PlayBackCase{"ANewGameAtAnotherGate", {Command::NewGame(2, 2), Resume, 90, Command::Press(VkSpace), 30}, 2}),
    test::CaseName);

TEST(GameDriver, RecordsNothingBeforeTheFirstGameNorWhatCouldNotBeApplied)
{
    MainState state;
    SimHost host;
    state.Game = test::SimGameData();
    GameDriver driver(state, host);
    driver.Record({10, 20});
    driver.Tick();
    EXPECT_TRUE(driver.Apply(Command::Press(VkUp)));
    EXPECT_TRUE(driver.Apply(Command::Of(CommandKind::Clock)));
    EXPECT_FALSE(driver.Apply(Command::LoadGame({1, 2, 3})));
    EXPECT_FALSE(driver.Apply(Command::NewGame(1, 99)));
    EXPECT_FALSE(driver.Apply(Command::ShowGate(9, EditedGate())));
    EXPECT_FALSE(driver.Recording()) << "no game started";

    const std::uint32_t seedAtStart = state.Rand.Seed;
    state.NextGatePending = true;
    ASSERT_TRUE(driver.Apply(Command::NewGame(2)));
    ASSERT_TRUE(driver.Recording());
    driver.Tick();
    ASSERT_TRUE(driver.Apply(Command::Press(VkControl)));
    ASSERT_TRUE(driver.Apply(Command::NewGame(1)));
    const Replay& r = driver.Recorded();
    EXPECT_EQ(r.Start.RandomSeed, seedAtStart) << "the first game's start, not a later one's";
    EXPECT_TRUE(r.Start.NextGatePending) << "taken before the new game changed it";
    EXPECT_EQ(r.Data, (DataIdentity{10, 20}));
    ASSERT_EQ(r.Events.size(), 3u);
    EXPECT_EQ(r.Events[0].What, CommandKind::NewGame);
    EXPECT_EQ(r.Events[1].Tick, 1);
    EXPECT_EQ(r.Events[1].Value, VkSpace) << "keys as the game knows them";
    EXPECT_EQ(r.Ticks, 1);
}

TEST(GameDriver, GoingBackDropsTheLaterEventsAndTheirBytes)
{
    MainState state;
    SimHost host;
    state.Game = test::SimGameData();
    GameDriver driver(state, host);
    driver.Record(DataIdentity{});
    ASSERT_TRUE(driver.Apply(Command::ShowGate(1, EditedGate())));
    driver.Tick();
    const std::size_t events = driver.Recorded().Events.size();
    const std::int64_t ticks = driver.Recorded().Ticks;
    const std::string then = WriteReplayText(driver.Recorded());

    ASSERT_TRUE(driver.Apply(Command::LoadGame(SavedBytes(test::SavedStepOneGame()))));
    ASSERT_TRUE(driver.Apply(Command::ShowGate(0, EditedGate())));
    driver.Tick();
    ASSERT_TRUE(driver.Apply(Command::Press(VkUp)));
    driver.RewindRecording(events, ticks);
    EXPECT_EQ(WriteReplayText(driver.Recorded()), then);
    EXPECT_TRUE(driver.Recorded().SavedGames.empty());
    EXPECT_EQ(driver.Recorded().GateStreams.size(), 1u);
}

} // namespace
} // namespace brakkon
