// The one engine entry where it does more than call the engine's own steps
// (the keys, the pause, the clock and the step have their suites): new
// games, saved games and the Game Editor's gates against what they change,
// and the ones that cannot be applied changing nothing at all.
#include "game/ByteStream.h"
#include "game/Command.h"
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/GateStream.h"
#include "game/SavedGame.h"
#include "tests/EngineSupport.h"
#include "tests/SimSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace brakkon {
namespace {

using test::RecordingHost;

/// Two stored gates (0 leads to 1), gate 0 started for two players and
/// resumed; a won gate waits for its change.
struct Game {
    MainState state;
    RecordingHost host;
    Game()
    {
        test::GiveImages(state, 2);
        state.Game.Gates.push_back(test::MakeGate(1, 0, 0, 0, 1, 1));
        state.Game.Gates.push_back(test::MakeGate(0, 2, 0, 0, 2, -1));
        StartGate(state, host, 0, true, true);
        ResumeGame(state, host);
        state.NextGatePending = true;
        host.Clear();
    }
    GateType& Gate() { return *state.Game.Gate; }
};

std::vector<std::uint8_t> SavedBytes(const GateType& gate)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeSavedGame(gate, bytes));
    return bytes;
}

/// A stored gate's stream: one enemy, leading on to `next`.
std::vector<std::uint8_t> GateBytes(std::int32_t next)
{
    ByteWriter out;
    EXPECT_TRUE(WriteGateTo(out, test::MakeGate(1, 0, 0, 0, 1, next).get()));
    return out.Bytes();
}

struct CommandCase {
    const char* name;
    std::function<void(Game&)> before; ///< may be empty
    Command command;
    bool applied;
    std::function<void(Game&)> check; ///< what the command changed (empty: nothing at all)
};

class ApplyCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(ApplyCommandTest, ChangesWhatItNames)
{
    const CommandCase& c = GetParam();
    Game g;
    if (c.before) c.before(g);
    g.host.Clear();
    const auto gateBefore = SavedBytes(g.Gate());
    const auto storedBefore = g.state.Game.Gates.size();
    const bool pendingBefore = g.state.NextGatePending;

    EXPECT_EQ(ApplyCommand(g.state, g.host, c.command), c.applied);
    if (c.check) {
        c.check(g);
    } else {
        EXPECT_TRUE(g.host.Calls.empty()) << g.host.Calls.front();
        EXPECT_EQ(SavedBytes(g.Gate()), gateBefore);
        EXPECT_EQ(g.state.Game.Gates.size(), storedBefore);
        EXPECT_EQ(g.state.NextGatePending, pendingBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ApplyCommandTest,
    ::testing::Values(
        CommandCase{"NewGameForOneForgetsTheWonGate", [](Game& g) { g.host.Title.clear(); }, Command::NewGame(1), true,
                    [](Game& g) {
                        EXPECT_FALSE(g.state.NextGatePending);
                        EXPECT_EQ(g.host.Title, "Brakkon");
                        EXPECT_TRUE(g.host.TitleShown);
                        EXPECT_EQ(g.Gate().Sprites[1]->Active, 0) << "player 2 takes no part";
                        EXPECT_EQ(g.Gate().NextGate, 1);
                    }},
        CommandCase{"NewGameAtTheSecondGate", {}, Command::NewGame(2, 1), true,
                    [](Game& g) {
                        EXPECT_EQ(g.Gate().NextGate, -1);
                        EXPECT_EQ(g.Gate().GateNo, 1) << "a new game counts from one";
                        EXPECT_EQ(g.Gate().Sprites[1]->Active, 1);
                    }},
        CommandCase{"NewGameAtAGateNotStored", {}, Command::NewGame(1, 2), false, {}},
        CommandCase{"NewGameWithoutGates", [](Game& g) { g.state.Game.Gates.clear(); }, Command::NewGame(1), false, {}},
        CommandCase{"LoadGameTakesTheSavedGate", {}, Command::LoadGame(SavedBytes(test::SavedStepOneGame())), true,
                    [](Game& g) {
                        EXPECT_EQ(g.Gate().GateNo, 3);
                        EXPECT_EQ(g.Gate().PlayTime, 500);
                        EXPECT_FALSE(g.state.NextGatePending);
                        EXPECT_EQ(g.host.DrawFieldCount, 1);
                        EXPECT_FALSE(g.host.TitleShown);
                    }},
        CommandCase{"LoadGameOfDamagedBytes", {}, Command::LoadGame({1, 2, 3, 4}), false, {}},
        CommandCase{"ShowGateAsStored", {}, Command::ShowGate(1), true,
                    [](Game& g) {
                        EXPECT_EQ(g.Gate().NextGate, -1);
                        EXPECT_FALSE(g.state.NextGatePending);
                        EXPECT_EQ(g.Gate().Sprites[1]->Active, 1) << "the editor shows both players";
                    }},
        CommandCase{"ShowGateChangedByTheEditor", {}, Command::ShowGate(1, GateBytes(7)), true,
                    [](Game& g) {
                        EXPECT_EQ(g.state.Game.Gates[1]->NextGate, 7) << "the stored gate is replaced";
                        EXPECT_EQ(g.Gate().NextGate, 7);
                        EXPECT_EQ(g.state.Game.Gates.size(), 2u);
                    }},
        CommandCase{"ShowGateTheEditorAdded", {}, Command::ShowGate(2, GateBytes(9)), true,
                    [](Game& g) {
                        ASSERT_EQ(g.state.Game.Gates.size(), 3u);
                        EXPECT_EQ(g.state.Game.Gates[2]->NextGate, 9);
                        EXPECT_EQ(g.Gate().NextGate, 9);
                    }},
        CommandCase{"ShowGateFarPastTheEnd", {}, Command::ShowGate(3, GateBytes(9)), false, {}},
        CommandCase{"ShowGateNotStoredWithoutItsBytes", {}, Command::ShowGate(2), false, {}},
        CommandCase{"ShowGateOfADamagedStream", {}, Command::ShowGate(1, {1, 0, 0}), false, {}}),
    test::CaseName);

} // namespace
} // namespace brakkon
