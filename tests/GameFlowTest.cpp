// The flow of a game: pause and resume, the game tick's order, the gate end
// and the next gate, the base, the clock tick and the movement step.
#include "tests/EngineSupport.h"
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/Geometry.h"
#include "game/SpriteUpdate.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::MakeGate;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

/// A game of stored gates started from gate 0 and resumed.
struct Game {
    MainState state;
    RecordingHost host;
    explicit Game(std::vector<std::unique_ptr<GateType>> gates, bool secondPlayer = true)
    {
        test::GiveImages(state, 2);
        for (auto& g : gates) state.Game.Gates.push_back(std::move(g));
        StartGate(state, host, 0, true, secondPlayer);
        ResumeGame(state, host);
        host.Clear();
    }
    GateType& Gate() { return *state.Game.Gate; }
    SpriteType& At(std::size_t i) { return *Gate().Sprites[i]; }
};

std::vector<std::unique_ptr<GateType>> Gates(std::initializer_list<std::int32_t> nextGates)
{
    std::vector<std::unique_ptr<GateType>> out;
    for (std::int32_t next : nextGates) out.push_back(MakeGate(1, 0, 0, 0, 1, next));
    return out;
}

TEST(PauseResume, StatesOfTheMenuAndTimers)
{
    MainState st;
    RecordingHost host;
    PauseGame(st, host); // waiting: GameOver keeps the timers running
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"ShowMenu 1"}));
    ResumeGame(st, host);
    EXPECT_TRUE(st.Playing);
    EXPECT_FALSE(st.GameOver);
    EXPECT_TRUE(host.TimersEnabled);
    EXPECT_FALSE(host.MenuShown);
    host.Clear();
    PauseGame(st, host);
    EXPECT_EQ(host.Calls, (std::vector<std::string>{"EnableTimers 0", "ShowMenu 1"}));
    EXPECT_FALSE(st.Playing);
    EXPECT_FALSE(st.GameOver);
}

TEST(GameTimerTick, AShellFiredInTheUpdateLoopFirstFliesNextTick)
{
    Game g(Gates({-1}));
    SpriteType& enemy = g.At(2);
    enemy.FireChance = 10000;
    enemy.StepPeriod = 100;
    GameTimerTick(g.state, g.host);
    ASSERT_EQ(g.Gate().Sprites.size(), 4u);
    SpriteType& shell = g.At(3);
    const std::int32_t top = shell.Top;
    EXPECT_EQ(shell.Top, 16); // launched at the enemy's front, not moved
    GameTimerTick(g.state, g.host);
    EXPECT_EQ(shell.Top, top + 4);
}

TEST(GameTimerTick, PlayersMoveBeforeEnemiesAndSeeThemNotYetMoved)
{
    Game g(Gates({-1}));
    SpriteType& p1 = g.At(0);
    SpriteType& enemy = g.At(2);
    enemy.FireChance = 0;
    PlaceOnCell(g.state.Game, enemy, 11, 11);
    enemy.Direction = DirDown;
    Shift(enemy, 0, 30); // its bottom is 2 pixels above player 1's top
    g.state.Player1.MoveDir = DirUp;
    g.state.Player1.MoveIdle = false;
    GameTimerTick(g.state, g.host);
    // Player 1 moved first, into exact contact; the enemy then found it ahead.
    EXPECT_EQ(p1.Top, 13 * 32 - 2);
    EXPECT_EQ(enemy.Bottom + 1, p1.Top);
}

TEST(RemoveSpentShells, RemovesOnlyShellsOutOfPlayKeepingOrderAndIndex)
{
    Game g(Gates({-1}));
    g.At(2).Active = 0; // an enemy out of play stays
    SpriteType& a = Add(g.state, Sprite(KindPlayerShell, 4, 4, DirUp));
    Add(g.state, Sprite(KindEnemyShell, 5, 4, DirUp)).Active = 0;
    SpriteType& c = Add(g.state, Sprite(KindEnemyShell, 6, 4, DirUp));
    Add(g.state, Sprite(KindPlayerShell, 7, 4, DirUp)).Active = 0;
    g.At(1).Active = 0;
    RemoveSpentShells(g.Gate());
    ASSERT_EQ(g.Gate().Sprites.size(), 5u);
    EXPECT_EQ(&g.At(3), &a);
    EXPECT_EQ(&g.At(4), &c);
    EXPECT_EQ(c.Index, 5);
}

TEST(GateEnd, TheClockFinishesAGateWithNothingLeftAfterThePlayers)
{
    Game g(Gates({-1}));
    ClockTimerTick(g.state, g.host);
    EXPECT_FALSE(g.state.NextGatePending);
    g.At(2).Active = 0;
    SpriteType& shell = Add(g.state, Sprite(KindEnemyShell, 4, 4, DirUp));
    ClockTimerTick(g.state, g.host);
    EXPECT_FALSE(g.state.NextGatePending); // a shell in flight keeps the gate going
    shell.Active = 0;
    ClockTimerTick(g.state, g.host);
    EXPECT_TRUE(g.state.NextGatePending);
}

TEST(GateEnd, AGateWithoutEnemiesNeverEndsByItself)
{
    std::vector<std::unique_ptr<GateType>> gates;
    gates.push_back(MakeGate(0, 0, 0, 0, 0, -1));
    Game g(std::move(gates));
    for (int i = 0; i < 5; ++i) ClockTimerTick(g.state, g.host);
    EXPECT_FALSE(g.state.NextGatePending);
    EXPECT_FALSE(GateCleared(g.Gate()));
}

TEST(GateEnd, TheTickAfterAWonGateOnlyStartsTheNextOne)
{
    Game g(Gates({1, -1}));
    g.Gate().GateNo = 1;
    g.Gate().PlayTime = 77;
    g.At(0).Level = 2;
    g.At(2).Active = 0;
    g.state.Player1.MoveDir = DirUp;
    g.state.Player1.MoveIdle = false;
    ClockTimerTick(g.state, g.host);
    ASSERT_TRUE(g.state.NextGatePending);
    g.host.Clear();

    GameTimerTick(g.state, g.host);
    EXPECT_FALSE(g.state.NextGatePending);
    EXPECT_EQ(g.Gate().GateNo, 2);
    EXPECT_EQ(g.Gate().PlayTime, 78);
    EXPECT_EQ(g.At(0).Level, 2);
    EXPECT_EQ(g.At(0).Top, 13 * 32); // nobody moved in that tick
    EXPECT_EQ(g.host.DrawFieldCount, 1);

    GameTimerTick(g.state, g.host);
    EXPECT_EQ(g.At(0).Top, 13 * 32 - 2);
}

TEST(GateEnd, AfterTheLastGateTheGameIsOver)
{
    for (std::int32_t next : {-1, 1, 5}) {
        Game g(Gates({next}));
        g.state.NextGatePending = true;
        GameTimerTick(g.state, g.host);
        EXPECT_TRUE(g.state.GameOver);
        EXPECT_FALSE(g.state.Playing);
        EXPECT_EQ(g.host.Title, "Game  Over");
        EXPECT_EQ(g.host.DrawFieldCount, 0);
        EXPECT_EQ(g.Gate().GateNo, 1);
    }
}

TEST(Base, ABrokenBaseEndsAGameWithTheExplosion)
{
    Game g(Gates({-1}));
    CheckBase(g.state, g.host);
    EXPECT_FALSE(g.state.GameOver);
    Cell(g.state, 9, 13).Block = BlockOpen;
    CheckBase(g.state, g.host);
    EXPECT_TRUE(g.state.GameOver);
    EXPECT_EQ(g.host.Calls, (std::vector<std::string>{"PlayEffect 0", "SetTitle Game  Over", "ShowMenu 1"}));
}

TEST(Base, OnlyWhilePlayingAndOnAFullWidthMap)
{
    Game g(Gates({-1}));
    Cell(g.state, 9, 13).Block = BlockOpen;
    PauseGame(g.state, g.host);
    g.host.Clear();
    CheckBase(g.state, g.host);
    EXPECT_TRUE(g.host.Calls.empty());

    ResumeGame(g.state, g.host);
    g.host.Clear();
    g.Gate().Cells.pop_back();
    CheckBase(g.state, g.host);
    EXPECT_TRUE(g.host.Calls.empty());
    g.Gate().Cells.resize(19);
    g.Gate().Cells[9].clear(); // full width, but no base cell
    CheckBase(g.state, g.host);
    EXPECT_TRUE(g.host.Calls.empty());
}

TEST(Base, AShellThatBreaksTheBaseEndsTheGame)
{
    Game g(Gates({-1}));
    SpriteType& shell = Add(g.state, Sprite(KindEnemyShell, 9, 12, DirDown));
    Shift(shell, 0, 16);
    for (int i = 0; i < 3; ++i) GameTimerTick(g.state, g.host);
    EXPECT_EQ(Cell(g.state, 9, 13).Block, BlockWall);
    g.host.Clear();
    GameTimerTick(g.state, g.host); // 4 pixels a tick: on the base cell now
    EXPECT_EQ(Cell(g.state, 9, 13).Block, BlockOpen);
    EXPECT_TRUE(g.state.GameOver); // at the end of that same tick, after the field is shown
    const auto& calls = g.host.Calls;
    const auto shown = std::find(calls.begin(), calls.end(), "RepaintField");
    ASSERT_NE(shown, calls.end());
    EXPECT_EQ(std::vector<std::string>(shown, calls.end()),
              (std::vector<std::string>{"RepaintField", "PlayEffect 0", "SetTitle Game  Over", "ShowMenu 1"}));
    EXPECT_TRUE(g.host.TimersEnabled); // the field runs on behind the menu
}

TEST(GameTimerTick, DrawsAndShowsWithoutSwitchingATimerAndOnlyChangesAGateWhenOneWasWon)
{
    Game g(Gates({0}));
    g.state.Player1.MoveDir = DirUp;
    g.state.Player1.MoveIdle = false;
    GameTimerTick(g.state, g.host);
    const std::vector<std::string> drawn{"PaintChanges", "RepaintField"};
    EXPECT_EQ(g.host.Calls, drawn);
    for (auto& column : g.Gate().Cells)
        for (auto& cell : column) ASSERT_EQ(cell->Dirty, 0);

    g.state.NextGatePending = true;
    g.host.Clear();
    GameTimerTick(g.state, g.host);
    EXPECT_EQ(std::count_if(g.host.Calls.begin(), g.host.Calls.end(),
                            [](const std::string& c) { return c.starts_with("EnableTimers"); }),
              0);
    EXPECT_EQ(g.host.DrawFieldCount, 1);
    EXPECT_EQ(std::count(g.host.Calls.begin(), g.host.Calls.end(), "PaintChanges"), 0);
}

TEST(ClockTimerTick, CountsTimeAndShieldsOfBothEntriesInPlayOrNot)
{
    Game g(Gates({-1}), false);
    g.At(1).Shield = 3;
    ClockTimerTick(g.state, g.host);
    EXPECT_EQ(g.Gate().PlayTime, 1);
    EXPECT_EQ(g.At(0).Shield, 1);
    EXPECT_EQ(g.At(1).Shield, 2);
    ClockTimerTick(g.state, g.host);
    ClockTimerTick(g.state, g.host);
    EXPECT_EQ(g.At(0).Shield, 0);
    EXPECT_EQ(std::count(g.host.Calls.begin(), g.host.Calls.end(), "ShowPlayTime"), 3);
}

TEST(ClockTimerTick, StartsTheMusicAgainOnlyWhenItStoppedAndIsWanted)
{
    struct Case {
        bool musicOn, ended, restarted;
    };
    for (const Case c : {Case{true, true, true}, Case{true, false, false}, Case{false, true, false}}) {
        Game g(Gates({-1}));
        g.state.MusicOn = c.musicOn;
        g.host.MusicEnded = c.ended;
        ClockTimerTick(g.state, g.host);
        EXPECT_EQ(g.host.Calls.back() == "PlayMusic", c.restarted) << c.musicOn << c.ended;
    }
}

TEST(ClockTimerTick, AnEmptyWorkingGateOnlyCountsTime)
{
    MainState st;
    RecordingHost host;
    ClockTimerTick(st, host);
    EXPECT_EQ(st.Game.Gate->PlayTime, 1);
    EXPECT_FALSE(st.NextGatePending);
}

TEST(MoveStep, ARaisedStepSnapsEverySpriteToItsCellAndRedraws)
{
    Game g(Gates({-1}));
    Shift(g.At(0), 6, 0);
    Shift(g.At(2), 0, 10);
    ApplyMoveStep(g.state, g.host, 4);
    EXPECT_EQ(g.state.MoveStep, 4);
    EXPECT_EQ(g.At(0).OffsetX, 0);
    EXPECT_EQ(g.At(0).Left, 11 * 32);
    EXPECT_EQ(g.At(2).OffsetY, 0);
    EXPECT_EQ(g.At(2).Bottom, 31);
    EXPECT_EQ(g.host.DrawFieldCount, 1);

    Shift(g.At(0), 4, 0);
    ApplyMoveStep(g.state, g.host, 1);
    EXPECT_EQ(g.At(0).OffsetX, 4);
    EXPECT_EQ(g.host.DrawFieldCount, 1);
}

} // namespace
} // namespace brakkon
