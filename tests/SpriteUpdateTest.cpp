// One tick of one sprite: players' tanks with their turns and cornering,
// contact between tanks, shell launching and flight.
#include "tests/EngineSupport.h"
#include "game/Geometry.h"
#include "game/SpriteUpdate.h"

#include <gtest/gtest.h>


namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::MakeWall;
using test::PlayField;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

using test::Play;

// ---- Players' tanks ----

struct CornerCase {
    const char* name;
    std::int32_t facing;  ///< the tank's way between two cells
    std::int32_t offset;  ///< its offset on that axis
    std::int32_t request; ///< the perpendicular way asked for
    std::int32_t heads;   ///< where the help sends it
};

class CorneringHelp : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CorneringHelp, HeadsForTheNearerBoundaryHalfACellCountingAsTheNext)
{
    const CornerCase& c = GetParam();
    Play p;
    SpriteType& t = p.P1();
    PlaceOnCell(p.state.Game, t, 8, 6);
    t.Direction = c.facing;
    if (c.facing == DirLeft || c.facing == DirRight)
        Shift(t, c.offset, 0);
    else
        Shift(t, 0, c.offset);
    p.Drive1(c.request);
    const std::int32_t left = t.Left;
    const std::int32_t top = t.Top;
    p.Tick(t);
    EXPECT_EQ(t.Direction, c.heads);
    // It moves on in the same tick toward that boundary.
    const std::int32_t moved = (t.Left - left) + (t.Top - top);
    EXPECT_EQ(moved, c.heads == DirLeft || c.heads == DirUp ? -2 : 2);
}

INSTANTIATE_TEST_SUITE_P(Offsets, CorneringHelp,
                         ::testing::Values(CornerCase{"RightOffset2Up", DirRight, 2, DirUp, DirLeft},
                                           CornerCase{"RightOffset14Up", DirRight, 14, DirUp, DirLeft},
                                           CornerCase{"RightOffset16Up", DirRight, 16, DirUp, DirRight},
                                           CornerCase{"LeftOffset30Down", DirLeft, 30, DirDown, DirRight},
                                           CornerCase{"LeftOffset16Down", DirLeft, 16, DirDown, DirRight},
                                           CornerCase{"UpOffset14Left", DirUp, 14, DirLeft, DirUp},
                                           CornerCase{"UpOffset16Right", DirUp, 16, DirRight, DirDown},
                                           CornerCase{"DownOffset2Right", DirDown, 2, DirRight, DirUp}),
                         test::CaseName);

TEST(PlayerTank, SlidesToTheBoundaryThenTurnsThereAndMovesOnNextTick)
{
    Play p;
    SpriteType& t = p.P1();
    PlaceOnCell(p.state.Game, t, 8, 6);
    t.Direction = DirRight;
    Shift(t, 26, 0);
    p.Drive1(DirUp);
    for (int i = 0; i < 3; ++i) p.Tick(t);
    EXPECT_EQ(t.Col, 9);
    EXPECT_EQ(t.OffsetX, 0);
    EXPECT_EQ(t.Direction, DirRight);
    p.Tick(t); // the turn, without a step
    EXPECT_EQ(t.Direction, DirUp);
    EXPECT_EQ(t.Top, 6 * 32);
    p.Tick(t);
    EXPECT_EQ(t.Top, 6 * 32 - 2);
}

TEST(PlayerTank, NoCorneringHelpTowardTheEdgeOfTheField)
{
    Play p;
    SpriteType& t = p.P1();
    PlaceOnCell(p.state.Game, t, 8, 0);
    t.Direction = DirRight;
    Shift(t, 6, 0);
    p.Drive1(DirUp);
    for (int i = 0; i < 13; ++i) p.Tick(t); // keeps going right until aligned
    EXPECT_EQ(t.Direction, DirRight);
    EXPECT_EQ(t.Col, 9);
    EXPECT_EQ(t.OffsetX, 0);
    p.Tick(t);
    EXPECT_EQ(t.Direction, DirUp);
    for (int i = 0; i < 5; ++i) p.Tick(t);
    EXPECT_EQ(t.Top, 0); // the edge is shut
    EXPECT_EQ(t.Col, 9);
}

TEST(PlayerTank, ReversingIsImmediateAtAnyOffset)
{
    Play p;
    SpriteType& t = p.P1();
    PlaceOnCell(p.state.Game, t, 8, 6);
    t.Direction = DirRight;
    Shift(t, 10, 0);
    p.Drive1(DirLeft);
    p.Tick(t);
    EXPECT_EQ(t.Direction, DirLeft);
    EXPECT_EQ(t.OffsetX, 10); // the turn takes the tick
    p.Tick(t);
    EXPECT_EQ(t.OffsetX, 8);
}

TEST(PlayerTank, StandsWhileIdleAndAnimatesAgainstAWall)
{
    Play p;
    SpriteType& t = p.P1();
    MakeWall(p.state, 11, 12, 2);
    p.Tick(t);
    EXPECT_EQ(t.Frame, 0);
    p.Drive1(DirUp);
    p.Tick(t);
    EXPECT_EQ(t.Frame, 1);
    EXPECT_EQ(t.Top, 13 * 32);
}

struct WayCase {
    const char* name;
    std::uint8_t block;
    bool moves;
};

class PlayerWayAhead : public ::testing::TestWithParam<WayCase> {};

TEST_P(PlayerWayAhead, OnlyAnOpenCellLetsAnAlignedTankStart)
{
    Play p;
    Cell(p.state, 11, 12).Block = GetParam().block;
    p.Drive1(DirUp);
    p.Tick(p.P1());
    EXPECT_EQ(p.P1().Top != 13 * 32, GetParam().moves);
}

INSTANTIATE_TEST_SUITE_P(Blocks, PlayerWayAhead,
                         ::testing::Values(WayCase{"Open", BlockOpen, true}, WayCase{"Wall", BlockWall, false},
                                           WayCase{"Barrier", BlockBarrier, false}),
                         test::CaseName);

TEST(PlayerTank, TheBottomEdgeIsShut)
{
    Play p;
    p.P1().Direction = DirDown;
    p.Drive1(DirDown);
    p.Tick(p.P1());
    EXPECT_EQ(p.P1().Top, 13 * 32);
}

TEST(Contact, TanksDrivingHeadOnStopInExactContact)
{
    Play p;
    p.P1().Direction = DirLeft;
    p.P2().Direction = DirRight;
    p.Drive1(DirLeft);
    p.state.Player2.MoveDir = DirRight;
    p.state.Player2.MoveIdle = false;
    for (int i = 0; i < 40; ++i) {
        p.Tick(p.P1());
        p.Tick(p.P2());
    }
    EXPECT_EQ(p.P2().Right + 1, p.P1().Left);
    EXPECT_TRUE(TankAhead(p.Gate(), p.P1()));
    EXPECT_TRUE(TankAhead(p.Gate(), p.P2()));
}

TEST(Contact, OverlappingTanksPassThroughEachOther)
{
    Play p;
    SpriteType& a = Add(p.state, Sprite(KindEnemy, 0, 0, DirDown));
    SpriteType& b = Add(p.state, Sprite(KindEnemy, 0, 0, DirDown));
    Shift(b, 0, 10);
    EXPECT_FALSE(TankAhead(p.Gate(), a));
    EXPECT_FALSE(TankAhead(p.Gate(), b));
}

struct TouchCase {
    const char* name;
    std::int32_t direction;
    std::int32_t dx, dy; ///< t relative to s, in pixels
    bool touches;
};

class TouchesAheadCases : public ::testing::TestWithParam<TouchCase> {};

TEST_P(TouchesAheadCases, ExactContactWithOverlapOnTheOtherAxis)
{
    const TouchCase& c = GetParam();
    SpriteType s = Sprite(KindEnemy, 5, 5, c.direction);
    SpriteType t = Sprite(KindEnemy, 5, 5, DirDown);
    Shift(s, 0, 0);
    t.Left += c.dx;
    t.Right += c.dx;
    t.Top += c.dy;
    t.Bottom += c.dy;
    EXPECT_EQ(TouchesAhead(s, t), c.touches);
}

INSTANTIATE_TEST_SUITE_P(Places, TouchesAheadCases,
                         ::testing::Values(TouchCase{"LeftContact", DirLeft, -32, 0, true},
                                           TouchCase{"LeftContactOffset31", DirLeft, -32, 31, true},
                                           TouchCase{"LeftContactOffset32", DirLeft, -32, 32, false},
                                           TouchCase{"LeftGap", DirLeft, -33, 0, false},
                                           TouchCase{"LeftOverlap", DirLeft, -31, 0, false},
                                           TouchCase{"RightContact", DirRight, 32, -20, true},
                                           TouchCase{"UpContact", DirUp, 5, -32, true},
                                           TouchCase{"DownContact", DirDown, -31, 32, true},
                                           TouchCase{"DownBehindIsNot", DirDown, 0, -32, false},
                                           TouchCase{"BadDirection", 7, 32, 0, false}),
                         test::CaseName);

TEST(Contact, ShellsAndTanksOutOfPlayNeverBlock)
{
    Play p;
    SpriteType& s = Add(p.state, Sprite(KindEnemy, 5, 5, DirRight));
    SpriteType& shell = Add(p.state, Sprite(KindEnemyShell, 6, 5, DirRight));
    EXPECT_FALSE(TankAhead(p.Gate(), s));
    shell.Kind = KindEnemy;
    EXPECT_TRUE(TankAhead(p.Gate(), s));
    shell.Active = 0;
    EXPECT_FALSE(TankAhead(p.Gate(), s));
}

// ---- Shells ----

struct LaunchCase {
    const char* name;
    std::int32_t direction;
    std::int32_t col, row, offsetX, offsetY; ///< the tank
    std::int32_t shellCol, shellRow, shellOffsetX, shellOffsetY;
};

class Launch : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(Launch, StartsOnTheLatticeAtTheFrontAndInsideTheField)
{
    const LaunchCase& c = GetParam();
    Play p;
    SpriteType tank = Sprite(KindEnemy, c.col, c.row, c.direction, 2);
    Shift(tank, c.offsetX, c.offsetY);
    LaunchShell(p.state, tank, KindEnemyShell);
    const SpriteType& s = *p.Gate().Sprites.back();
    EXPECT_EQ(s.Index, 2);
    EXPECT_EQ(s.Kind, KindEnemyShell);
    EXPECT_EQ(s.Level, 2);
    EXPECT_EQ(s.ImageGroup, 13);
    EXPECT_EQ(s.Direction, c.direction);
    EXPECT_EQ(s.Active, 1);
    EXPECT_EQ(s.Dirty, 1);
    EXPECT_EQ(s.Col, c.shellCol);
    EXPECT_EQ(s.Row, c.shellRow);
    EXPECT_EQ(s.OffsetX, c.shellOffsetX);
    EXPECT_EQ(s.OffsetY, c.shellOffsetY);
    EXPECT_EQ(s.Left, s.Col * 32 + s.OffsetX);
    EXPECT_EQ(s.Top, s.Row * 32 + s.OffsetY);
    EXPECT_EQ(s.Right, s.Left + 31);
    EXPECT_EQ(s.Bottom, s.Top + 31);
}

INSTANTIATE_TEST_SUITE_P(
    Fronts, Launch,
    ::testing::Values(LaunchCase{"Left", DirLeft, 5, 5, 0, 0, 4, 5, 16, 0},
                      LaunchCase{"Right", DirRight, 5, 5, 0, 0, 5, 5, 16, 0},
                      LaunchCase{"Up", DirUp, 5, 5, 0, 0, 5, 4, 0, 16},
                      LaunchCase{"Down", DirDown, 5, 5, 0, 0, 5, 5, 0, 16},
                      LaunchCase{"LeftBetweenCells", DirLeft, 5, 5, 6, 0, 4, 5, 16, 0},
                      LaunchCase{"RightBetweenCells", DirRight, 5, 5, 6, 0, 6, 5, 0, 0},
                      LaunchCase{"LeftInFirstColumn", DirLeft, 0, 5, 0, 0, 0, 5, 0, 0},
                      LaunchCase{"LeftHalfIntoFirstColumn", DirLeft, 0, 5, 20, 0, 0, 5, 0, 0},
                      LaunchCase{"RightInLastColumn", DirRight, 18, 5, 0, 0, 18, 5, 0, 0},
                      LaunchCase{"RightNextToLastColumn", DirRight, 17, 5, 0, 0, 17, 5, 16, 0},
                      LaunchCase{"UpInTopRow", DirUp, 5, 0, 0, 0, 5, 0, 0, 0},
                      LaunchCase{"DownInBottomRow", DirDown, 5, 13, 0, 0, 5, 13, 0, 0},
                      LaunchCase{"OtherDirection", 9, 5, 5, 0, 0, 0, 0, 0, 0}),
    test::CaseName);

class ShellAtTheEdge : public ::testing::TestWithParam<LaunchCase> {};

// A tank on the edge fires a shell that lies aligned on its own cell and is
// retired in the next tick without moving.
TEST_P(ShellAtTheEdge, IsRetiredInTheNextTickWithoutMoving)
{
    const LaunchCase& c = GetParam();
    Play p;
    const SpriteType tank = Sprite(KindEnemy, c.col, c.row, c.direction);
    LaunchShell(p.state, tank, KindPlayerShell);
    SpriteType& s = *p.Gate().Sprites.back();
    test::CleanMarks(p.state);
    const SpriteType before = s;
    p.Tick(s);
    EXPECT_EQ(s.Active, 0);
    EXPECT_EQ(s.Left, before.Left);
    EXPECT_EQ(s.Top, before.Top);
    EXPECT_EQ(Cell(p.state, c.col, c.row).Dirty, 1);
}

INSTANTIATE_TEST_SUITE_P(Edges, ShellAtTheEdge,
                         ::testing::Values(LaunchCase{"FirstColumn", DirLeft, 0, 6, 0, 0, 0, 0, 0, 0},
                                           LaunchCase{"LastColumn", DirRight, 18, 6, 0, 0, 0, 0, 0, 0},
                                           LaunchCase{"TopRow", DirUp, 6, 0, 0, 0, 0, 0, 0, 0},
                                           LaunchCase{"BottomRow", DirDown, 6, 13, 0, 0, 0, 0, 0, 0}),
                         test::CaseName);

TEST(Shell, LeavesTheFieldOnlyAcrossItsAxisOfTravel)
{
    Play p;
    SpriteType& s = Add(p.state, Sprite(KindPlayerShell, 0, 6, DirUp)); // first column, flying up
    p.Tick(s);
    EXPECT_EQ(s.Active, 1);
    EXPECT_EQ(s.Top, 6 * 32 - 4);
}

struct SpeedCase {
    std::int32_t moveStep;
    std::int32_t level;
    std::int32_t pixels;
};

class ShellSpeed : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(ShellSpeed, FliesTwoOrFourStepsATick)
{
    Play p;
    p.state.MoveStep = GetParam().moveStep;
    SpriteType& s = Add(p.state, Sprite(KindEnemyShell, 2, 6, DirRight, GetParam().level));
    std::vector<std::int32_t> offsets;
    for (int i = 0; i < 4; ++i) {
        const std::int32_t left = s.Left;
        p.Tick(s);
        EXPECT_EQ(s.Left - left, GetParam().pixels);
        offsets.push_back(s.OffsetX);
    }
    if (GetParam().pixels == 16) {
        EXPECT_EQ(offsets, (std::vector<std::int32_t>{16, 0, 16, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, ShellSpeed,
                         ::testing::Values(SpeedCase{1, 0, 2}, SpeedCase{2, 0, 4}, SpeedCase{4, 0, 8},
                                           SpeedCase{2, 1, 8}, SpeedCase{4, 1, 16}, SpeedCase{4, 2, 16}),
                         [](const auto& info) {
                             return "Step" + std::to_string(info.param.moveStep) + "Level" +
                                    std::to_string(info.param.level);
                         });

} // namespace
} // namespace brakkon
