// Hits on players' tanks, respawn, game over and the status line.
#include "tests/EngineSupport.h"
#include "game/GameFlow.h"
#include "game/Geometry.h"
#include "game/Hits.h"
#include "game/Movers.h"
#include "game/StatusLine.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::PlayField;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

struct Play {
    MainState state;
    RecordingHost host;
    explicit Play(bool secondPlayer = true)
    {
        PlayField(state, secondPlayer);
        test::GiveImages(state, 2);
        ResumeGame(state, host);
        host.Clear();
    }
    GateType& Gate() { return *state.Game.Gate; }
    SpriteType& P1() { return *Gate().Sprites[0]; }
    SpriteType& P2() { return *Gate().Sprites[1]; }
    /// An enemy shell lands on the tank.
    void Strike(SpriteType& tank)
    {
        SpriteType& shell = Add(state, Sprite(KindEnemyShell, tank.Col, tank.Row, DirUp));
        shell.Left = tank.Left, shell.Right = tank.Right, shell.Top = tank.Top, shell.Bottom = tank.Bottom;
        shell.OffsetX = tank.OffsetX, shell.OffsetY = tank.OffsetY;
        MoveY(state, host, shell, 0);
        EXPECT_EQ(shell.Frame, 1); // spent whatever the hit did
    }
};

TEST(HitTank, AShieldedTankKeepsLevelAndLives)
{
    Play p;
    p.P1().Shield = 1;
    p.P1().Level = 1;
    p.Strike(p.P1());
    EXPECT_EQ(p.P1().Level, 1);
    EXPECT_EQ(p.Gate().Lives1, 1);
    EXPECT_TRUE(p.host.Effects.empty());
}

TEST(HitTank, ALevelTwoTankSurvivesTwoHitsDroppingAPictureEach)
{
    Play p;
    SpriteType& t = p.P2();
    t.Level = 2;
    t.ImageGroup = 6;
    p.Gate().Lives2 = 0;
    p.Strike(t);
    EXPECT_EQ(t.Level, 1);
    EXPECT_EQ(t.ImageGroup, 5);
    p.Strike(t);
    EXPECT_EQ(t.Level, 0);
    EXPECT_EQ(t.ImageGroup, 4);
    EXPECT_TRUE(p.host.Effects.empty()); // losing a level is silent
    EXPECT_EQ(t.Active, 1);
    p.Strike(t);
    EXPECT_EQ(t.Active, 0);
    EXPECT_EQ(p.host.Effects, std::vector<SoundEffect>{SoundEffect::Explode});
    EXPECT_FALSE(p.state.GameOver); // player 1 is still in play
}

struct RespawnCase {
    const char* name;
    bool first;
    std::int32_t col, group;
};

class Respawn : public ::testing::TestWithParam<RespawnCase> {};

TEST_P(Respawn, ALostTankComesBackAtItsStartCellShieldedAtLevelZero)
{
    const RespawnCase& c = GetParam();
    Play p;
    SpriteType& t = c.first ? p.P1() : p.P2();
    std::int32_t& lives = c.first ? p.Gate().Lives1 : p.Gate().Lives2;
    lives = 1;
    PlaceOnCell(p.state.Game, t, 3, 4);
    Shift(t, 0, 6);
    t.Direction = DirLeft;
    t.Frame = 1;
    test::CleanMarks(p.state);
    p.Strike(t);
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(t.Active, 1);
    EXPECT_EQ(t.Col, c.col);
    EXPECT_EQ(t.Row, 13);
    EXPECT_EQ(t.OffsetX, 0);
    EXPECT_EQ(t.OffsetY, 0);
    EXPECT_EQ(t.Left, c.col * 32);
    EXPECT_EQ(t.Bottom, 447);
    EXPECT_EQ(t.Direction, DirUp);
    EXPECT_EQ(t.Frame, 0);
    EXPECT_EQ(t.Level, 0);
    EXPECT_EQ(t.ImageGroup, c.group);
    EXPECT_EQ(t.Shield, 5);
    EXPECT_EQ(p.host.Effects, std::vector<SoundEffect>{SoundEffect::Explode});
    EXPECT_EQ(Cell(p.state, 3, 4).Dirty, 1); // the old place is redrawn
    EXPECT_EQ(Cell(p.state, c.col, 13).Dirty, 1);
    EXPECT_GE(p.host.IndicatorCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Players, Respawn,
                         ::testing::Values(RespawnCase{"PlayerOne", true, 11, 1}, RespawnCase{"PlayerTwo", false, 7, 4}),
                         test::CaseName);

TEST(HitTank, TheLastTankOfAOnePlayerGameEndsIt)
{
    Play p(false);
    p.Gate().Lives1 = 0;
    p.Strike(p.P1());
    EXPECT_EQ(p.P1().Active, 0);
    EXPECT_TRUE(p.state.GameOver);
    EXPECT_FALSE(p.state.Playing);
    EXPECT_EQ(p.host.Title, "Game  Over");
    EXPECT_TRUE(p.host.TitleShown);
    EXPECT_TRUE(p.host.MenuShown);
    EXPECT_TRUE(p.host.TimersEnabled); // the field goes on behind the menu
}

TEST(HitTank, BothPlayersOutEndsATwoPlayerGame)
{
    Play p;
    p.Gate().Lives1 = p.Gate().Lives2 = 0;
    p.Strike(p.P1());
    EXPECT_FALSE(p.state.GameOver);
    p.Strike(p.P2());
    EXPECT_TRUE(p.state.GameOver);
}

TEST(ShowGameOver, OutsideAGameOnlySetsTheFlag)
{
    Play p;
    PauseGame(p.state, p.host);
    p.host.Clear();
    p.state.GameOver = false;
    ShowGameOver(p.state, p.host);
    EXPECT_TRUE(p.state.GameOver);
    EXPECT_TRUE(p.host.Calls.empty());
}

TEST(ShowGameOver, WhilePlayingTitlesThenMenuWithTimersRunning)
{
    Play p;
    ShowGameOver(p.state, p.host);
    EXPECT_EQ(p.host.Calls, (std::vector<std::string>{"SetTitle Game  Over", "ShowMenu 1"}));
    EXPECT_FALSE(p.state.Playing);
}

// ---- Status line ----

struct TimeCase {
    std::int32_t seconds;
    const char* text;
};

class PlayTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(PlayTime, HoursMinutesSecondsWithTwoDigitsAtLeast)
{
    EXPECT_EQ(PlayTimeText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Seconds, PlayTime,
                         ::testing::Values(TimeCase{0, "00:00:00"}, TimeCase{59, "00:00:59"}, TimeCase{60, "00:01:00"},
                                           TimeCase{65, "00:01:05"}, TimeCase{3599, "00:59:59"},
                                           TimeCase{36000, "10:00:00"}, TimeCase{360000, "100:00:00"}),
                         [](const auto& info) { return "Seconds" + std::to_string(info.param.seconds); });

TEST(StatusLine, GateNumberInBrackets)
{
    EXPECT_EQ(GateNoText(1), "[1]");
    EXPECT_EQ(GateNoText(12), "[12]");
}

struct IndicatorCase {
    const char* name;
    std::uint8_t active;
    std::int32_t level, lives;
    std::array<int, 3> stars;   ///< 1 shown, 0 hidden, -1 left as it is
    std::array<int, 3> flowers;
};

class Indicators : public ::testing::TestWithParam<IndicatorCase> {};

TEST_P(Indicators, StarsByLevelAndTanksByReserve)
{
    const IndicatorCase& c = GetParam();
    SpriteType tank;
    tank.Active = c.active;
    tank.Level = c.level;
    const PlayerIndicators shown = IndicatorsFor(&tank, c.lives);
    auto code = [](const std::optional<bool>& v) { return v ? (*v ? 1 : 0) : -1; };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(code(shown.Stars[i]), c.stars[i]) << "star " << i;
        EXPECT_EQ(code(shown.Flowers[i]), c.flowers[i]) << "flower " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, Indicators,
    ::testing::Values(IndicatorCase{"LevelZeroNoReserve", 1, 0, 0, {1, 0, 0}, {0, 0, 0}},
                      IndicatorCase{"LevelOneOneReserve", 1, 1, 1, {1, 1, 0}, {1, 0, 0}},
                      IndicatorCase{"LevelTwoTwoReserve", 1, 2, 2, {1, 1, 1}, {1, 1, 0}},
                      IndicatorCase{"ThreeReserve", 1, 0, 3, {1, 0, 0}, {1, 1, 1}},
                      IndicatorCase{"OutOfPlayHidesAll", 0, 2, 3, {0, 0, 0}, {0, 0, 0}},
                      IndicatorCase{"LevelOutOfRangeLeavesStars", 1, 3, 1, {-1, -1, -1}, {1, 0, 0}},
                      IndicatorCase{"ReserveOutOfRangeLeavesTanks", 1, 0, 4, {1, 0, 0}, {-1, -1, -1}},
                      IndicatorCase{"NegativeReserveLeavesTanks", 1, 0, -1, {1, 0, 0}, {-1, -1, -1}}),
    test::CaseName);

} // namespace
} // namespace brakkon
