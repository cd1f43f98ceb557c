// The movers: strikes on enemy tanks and shells, walls, bonuses, marks and
// the field's edge.
#include "EngineSupport.h"
#include "Geometry.h"
#include "Movers.h"
#include "SpriteUpdate.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::CleanMarks;
using test::MakeWall;
using test::PlayField;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

struct Play {
    MainState state;
    RecordingHost host;
    Play()
    {
        PlayField(state);
        test::GiveImages(state, 2);
    }
    GateType& Gate() { return *state.Game.Gate; }
    SpriteType& P1() { return *Gate().Sprites[0]; }
    SpriteType& P2() { return *Gate().Sprites[1]; }
};

// ---- Shots needed, by enemy level and shell level ----

struct ShotsCase {
    std::int32_t enemyLevel;
    std::int32_t shellLevel;
    int shots;
};

class ShotsNeeded : public ::testing::TestWithParam<ShotsCase> {};

TEST_P(ShotsNeeded, ArmourIsTwiceTheLevelAndAShellTakesItsLevelPlusOne)
{
    const ShotsCase& c = GetParam();
    Play p;
    p.Gate().EnemiesLeft = 0;
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 5, 5, DirDown, c.enemyLevel));
    int shots = 0;
    while (enemy.Active && shots < 10) {
        SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 5, 5, DirUp, c.shellLevel));
        MoveY(p.state, p.host, shell, 0);
        EXPECT_EQ(shell.Frame, 1); // the shell bursts on every strike
        ++shots;
        EXPECT_EQ(p.host.CountEffect(EffectEnemyDestroyed), enemy.Active ? 0 : 1);
    }
    EXPECT_EQ(shots, c.shots);
}

INSTANTIATE_TEST_SUITE_P(Levels, ShotsNeeded,
                         ::testing::Values(ShotsCase{0, 0, 1}, ShotsCase{0, 1, 1}, ShotsCase{0, 2, 1},
                                           ShotsCase{1, 0, 3}, ShotsCase{1, 1, 2}, ShotsCase{1, 2, 1},
                                           ShotsCase{2, 0, 5}, ShotsCase{2, 1, 3}, ShotsCase{2, 2, 2}));

// ---- Re-entry ----

struct ReentryCase {
    std::int32_t shellCol;
    std::int32_t entryCol;
};

class Reentry : public ::testing::TestWithParam<ReentryCase> {};

TEST_P(Reentry, ComesBackAtTheFarTopCorner)
{
    Play p;
    p.Gate().EnemiesLeft = 3;
    SpriteType e = Sprite(KindEnemy, GetParam().shellCol, 6, DirLeft, 2);
    e.Armour = 0;
    e.Frame = 1;
    e.StepCount = 2;
    e.StepPeriod = 3;
    e.ImageGroup = GroupEnemyLargeTank;
    SpriteType& enemy = Add(p.state, e);
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, GetParam().shellCol, 6, DirUp, 2));
    MoveY(p.state, p.host, shell, 0);

    EXPECT_EQ(p.Gate().EnemiesLeft, 2);
    EXPECT_EQ(enemy.Active, 1);
    EXPECT_EQ(enemy.Col, GetParam().entryCol);
    EXPECT_EQ(enemy.Row, 0);
    EXPECT_EQ(enemy.Left, GetParam().entryCol * 32);
    EXPECT_EQ(enemy.Top, 0);
    EXPECT_EQ(enemy.Right, GetParam().entryCol * 32 + 31);
    EXPECT_EQ(enemy.Bottom, 31);
    EXPECT_EQ(enemy.Direction, DirDown);
    EXPECT_EQ(enemy.Armour, 4);
    // What it was stays: level, picture, frame and step count.
    EXPECT_EQ(enemy.Level, 2);
    EXPECT_EQ(enemy.ImageGroup, GroupEnemyLargeTank);
    EXPECT_EQ(enemy.Frame, 1);
    EXPECT_EQ(enemy.StepCount, 2);
    EXPECT_EQ(enemy.Dirty, 1);
    EXPECT_EQ(Cell(p.state, GetParam().shellCol, 6).Dirty, 1); // the place it left is redrawn
}

INSTANTIATE_TEST_SUITE_P(Columns, Reentry,
                         ::testing::Values(ReentryCase{0, 18}, ReentryCase{9, 18}, ReentryCase{10, 0},
                                           ReentryCase{18, 0}));

TEST(Reentry, NoEnemiesLeftLeavesTheEnemyOutOfPlay)
{
    for (std::int32_t left : {0, -4}) {
        Play p;
        p.Gate().EnemiesLeft = left;
        SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 4, 4, DirDown));
        SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 4, 4, DirUp));
        CleanMarks(p.state);
        MoveY(p.state, p.host, shell, 0);
        EXPECT_EQ(enemy.Active, 0);
        EXPECT_EQ(enemy.Col, 4);
        EXPECT_EQ(p.Gate().EnemiesLeft, left);
        EXPECT_EQ(Cell(p.state, 4, 4).Dirty, 1);
    }
}

TEST(Strikes, AnEnemyThatSurvivesMakesNoSound)
{
    Play p;
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 4, 4, DirDown, 1));
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 4, 4, DirUp));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(enemy.Armour, 1);
    EXPECT_TRUE(p.host.Effects.empty());
}

// ---- Shells meeting shells ----

TEST(Strikes, CancellingAnEnemyShellGoesOnToStrikeALaterEnemy)
{
    Play p;
    p.Gate().EnemiesLeft = 0;
    SpriteType& enemyShell = Add(p.state, Sprite(KindEnemyShell, 6, 6, DirDown));
    SpriteType& secondShell = Add(p.state, Sprite(KindEnemyShell, 6, 6, DirLeft));
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 6, 6, DirDown));
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 6, 6, DirUp));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(enemyShell.Active, 0);
    EXPECT_EQ(secondShell.Active, 0);
    EXPECT_EQ(shell.Active, 0);
    EXPECT_EQ(enemy.Active, 0);
    EXPECT_EQ(p.host.CountEffect(EffectEnemyDestroyed), 1);
}

TEST(Strikes, ShellsOfOneSidePassThroughEachOtherAndTheirOwnTanks)
{
    Play p;
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 6, 6, DirDown));
    SpriteType& enemyShell = Add(p.state, Sprite(KindEnemyShell, 6, 6, DirDown));
    SpriteType& otherEnemyShell = Add(p.state, Sprite(KindEnemyShell, 6, 6, DirUp));
    MoveY(p.state, p.host, otherEnemyShell, 0);
    EXPECT_EQ(enemy.Active, 1);
    EXPECT_EQ(enemyShell.Active, 1);
    EXPECT_EQ(otherEnemyShell.Frame, 0);

    SpriteType& mine = Add(p.state, Sprite(KindPlayerShell, 11, 13, DirUp));
    SpriteType& mine2 = Add(p.state, Sprite(KindPlayerShell, 11, 13, DirUp));
    MoveY(p.state, p.host, mine2, 0);
    EXPECT_EQ(mine.Active, 1);
    EXPECT_EQ(mine2.Frame, 0);
    EXPECT_EQ(p.P1().Level, 0);
    EXPECT_TRUE(p.host.Effects.empty());
}

TEST(Strikes, EnemyShellStrikesPlayerOneBeforePlayerTwo)
{
    Play p;
    PlaceOnCell(p.state.Game, p.P2(), 11, 13); // both tanks on one cell
    p.P1().Level = 1;
    p.P1().ImageGroup = 2;
    p.P2().Level = 1;
    SpriteType& shell = Add(p.state, Sprite(KindEnemyShell, 11, 13, DirDown));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(p.P1().Level, 0);
    EXPECT_EQ(p.P1().ImageGroup, 1);
    EXPECT_EQ(p.P2().Level, 1);
    EXPECT_EQ(shell.Frame, 1);
}

TEST(Strikes, ABurstShellMovesOnOnceAndThenVanishes)
{
    Play p;
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 6, 6, DirRight));
    shell.Frame = 1;
    MoveX(p.state, p.host, shell, 4);
    EXPECT_EQ(shell.Left, 6 * 32 + 4);
    EXPECT_EQ(shell.Active, 0);
}

TEST(Strikes, ASingleFrameShellNeverBurstsButStillBreaksWalls)
{
    Play p;
    test::GiveImages(p.state, 1);
    p.Gate().EnemiesLeft = 0;
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 6, 6, DirDown));
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 6, 6, DirUp));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(enemy.Active, 0);
    EXPECT_EQ(shell.Frame, 0);
    EXPECT_EQ(shell.Active, 1);
    MakeWall(p.state, 6, 5, 0);
    MoveY(p.state, p.host, shell, -16);
    MoveY(p.state, p.host, shell, -16);
    EXPECT_EQ(shell.Row, 5);
    EXPECT_EQ(Cell(p.state, 6, 5).Block, BlockOpen);
    EXPECT_EQ(shell.Active, 1);
}

// ---- Walls ----

struct WallCase {
    std::int32_t shellLevel;
    std::int32_t hardness;
    bool breaks;
};

class WallHardness : public ::testing::TestWithParam<WallCase> {};

TEST_P(WallHardness, AShellBreaksWallsNotHarderThanItself)
{
    const WallCase& c = GetParam();
    for (std::uint8_t kind : {KindPlayerShell, KindEnemyShell}) {
        Play p;
        MakeWall(p.state, 5, 5, c.hardness);
        SpriteType& shell = Add(p.state, Sprite(kind, 5, 5, DirUp, c.shellLevel));
        Shift(shell, 0, 16);
        CleanMarks(p.state);
        MoveY(p.state, p.host, shell, -8); // half way: nothing yet
        EXPECT_EQ(shell.Frame, 0);
        MoveY(p.state, p.host, shell, -8); // lies on the wall cell
        EXPECT_EQ(shell.Row, 5);
        EXPECT_EQ(shell.Frame, 1);
        EXPECT_EQ(Cell(p.state, 5, 5).Block, c.breaks ? BlockOpen : BlockWall);
        EXPECT_EQ(Cell(p.state, 5, 5).WallImage, c.breaks ? TileNone : TileWallFirst + c.hardness);
        EXPECT_EQ(Cell(p.state, 5, 5).Dirty, 1);
        EXPECT_TRUE(p.host.Effects.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, WallHardness,
                         ::testing::Values(WallCase{0, 0, true}, WallCase{0, 1, false}, WallCase{0, 2, false},
                                           WallCase{1, 0, true}, WallCase{1, 1, true}, WallCase{1, 2, false},
                                           WallCase{2, 0, true}, WallCase{2, 1, true}, WallCase{2, 2, true}));

TEST(Walls, BarriersLetShellsPass)
{
    Play p;
    Cell(p.state, 5, 5).Block = BlockBarrier;
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 5, 5, DirUp));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(shell.Frame, 0);
    EXPECT_EQ(Cell(p.state, 5, 5).Block, BlockBarrier);
}

// ---- Bonuses ----

struct BonusCase {
    const char* name;
    std::uint8_t bonus;
    std::int32_t level, lives1, shield;
    std::int32_t expectLevel, expectLives1, expectShield;
};

class Bonuses : public ::testing::TestWithParam<BonusCase> {};

TEST_P(Bonuses, TakenByAMoveOfZeroWithSoundAndIndicatorsEvenAtTheCaps)
{
    const BonusCase& c = GetParam();
    Play p;
    SpriteType& tank = p.P1();
    tank.Level = c.level;
    tank.ImageGroup = GroupPlayer1 + c.level;
    tank.Shield = c.shield;
    p.Gate().Lives1 = c.lives1;
    Cell(p.state, 11, 13).Bonus = c.bonus;
    Cell(p.state, 11, 13).TopImage = c.bonus;
    MoveX(p.state, p.host, tank, 0);
    EXPECT_EQ(tank.Level, c.expectLevel);
    EXPECT_EQ(tank.ImageGroup, GroupPlayer1 + c.expectLevel);
    EXPECT_EQ(p.Gate().Lives1, c.expectLives1);
    EXPECT_EQ(tank.Shield, c.expectShield);
    EXPECT_EQ(Cell(p.state, 11, 13).Bonus, 0);
    EXPECT_EQ(Cell(p.state, 11, 13).TopImage, TileNone);
    EXPECT_EQ(p.host.Effects, std::vector<std::int32_t>{EffectBonus});
    EXPECT_EQ(p.host.IndicatorCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Caps, Bonuses,
                         ::testing::Values(BonusCase{"LevelUp", 1, 0, 1, 0, 1, 1, 0},
                                           BonusCase{"LevelUpAtTwo", 1, 2, 1, 0, 2, 1, 0},
                                           BonusCase{"ExtraLife", 2, 0, 2, 0, 0, 3, 0},
                                           BonusCase{"ExtraLifeAtThree", 2, 0, 3, 0, 0, 3, 0},
                                           BonusCase{"Shield", 3, 0, 1, 0, 0, 1, 10},
                                           BonusCase{"ShieldIsSetNotAdded", 3, 0, 1, 12, 0, 1, 10}),
                         [](const auto& info) { return info.param.name; });

TEST(Bonus, ExtraLifeOfPlayerTwoCountsForPlayerTwo)
{
    Play p;
    p.Gate().Lives1 = 1;
    p.Gate().Lives2 = 0;
    TakeBonus(p.state, p.host, p.P2(), BonusExtraLife);
    EXPECT_EQ(p.Gate().Lives1, 1);
    EXPECT_EQ(p.Gate().Lives2, 1);
}

TEST(Bonus, OnlyAPlayersTankInPlayAndOnTheGridTakesIt)
{
    Play p;
    Cell(p.state, 4, 4).Bonus = BonusShield;
    SpriteType& enemy = Add(p.state, Sprite(KindEnemy, 4, 4, DirDown));
    MoveX(p.state, p.host, enemy, 0);
    EXPECT_EQ(Cell(p.state, 4, 4).Bonus, BonusShield);

    SpriteType& p1 = p.P1();
    PlaceOnCell(p.state.Game, p1, 4, 4);
    Shift(p1, 2, 0);
    MoveX(p.state, p.host, p1, 0);
    EXPECT_EQ(Cell(p.state, 4, 4).Bonus, BonusShield);
    MoveX(p.state, p.host, p1, -2);
    EXPECT_EQ(Cell(p.state, 4, 4).Bonus, BonusNone);
    EXPECT_EQ(p1.Shield, 10);
}

// A tank out of play is still turned by its player's keys; the turn's check
// where it stands must not hand it the bonus of that cell.
TEST(Bonus, ATankOutOfPlayTakesNoBonusWhenTurned)
{
    Play p;
    p.P2().Active = 0;
    Cell(p.state, 7, 13).Bonus = BonusLevelUp;
    TurnSprite(p.state, p.host, p.P2(), DirLeft);
    EXPECT_EQ(p.P2().Direction, DirLeft);
    EXPECT_EQ(p.P2().Level, 0);
    EXPECT_EQ(Cell(p.state, 7, 13).Bonus, BonusLevelUp);
    EXPECT_TRUE(p.host.Effects.empty());
}

// ---- Marks ----

TEST(Marks, AStraddlingSpriteMarksBothCellsAndACrossingMarksTheCellEntered)
{
    Play p;
    SpriteType& e = Add(p.state, Sprite(KindEnemy, 4, 4, DirRight));
    Shift(e, 10, 0);
    CleanMarks(p.state);
    MoveX(p.state, p.host, e, 0);
    EXPECT_EQ(Cell(p.state, 4, 4).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 5, 4).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 6, 4).Dirty, 0);

    CleanMarks(p.state);
    Shift(e, 20, 0); // offset 30
    MoveX(p.state, p.host, e, 4);
    EXPECT_EQ(e.Col, 5);
    EXPECT_EQ(e.OffsetX, 2);
    EXPECT_EQ(Cell(p.state, 4, 4).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 5, 4).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 6, 4).Dirty, 1);

    CleanMarks(p.state);
    MoveY(p.state, p.host, e, 0);
    EXPECT_EQ(Cell(p.state, 5, 4).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 5, 5).Dirty, 0);
}

TEST(Marks, AnUpwardCrossingEntersTheCellAbove)
{
    Play p;
    SpriteType& e = Add(p.state, Sprite(KindEnemy, 4, 4, DirUp));
    CleanMarks(p.state);
    MoveY(p.state, p.host, e, -2);
    EXPECT_EQ(e.Row, 3);
    EXPECT_EQ(e.OffsetY, 30);
    EXPECT_EQ(e.Top, 4 * 32 - 2);
    EXPECT_EQ(Cell(p.state, 4, 3).Dirty, 1);
    EXPECT_EQ(Cell(p.state, 4, 4).Dirty, 1);
}

// ---- The field's edge ----

struct EdgeCase {
    const char* name;
    std::uint8_t kind;
    std::int32_t col, row, dx, dy; ///< start cell and offset within it
    std::int32_t direction;
    std::int32_t move;
    std::int32_t expectCol, expectRow;
};

class FieldEdge : public ::testing::TestWithParam<EdgeCase> {};

// A game saved with step 1 can hold offsets that a larger step never brings
// back to 0; such a sprite must stop at the edge instead of stepping off the map.
TEST_P(FieldEdge, AMovePastTheEdgeStopsOnIt)
{
    const EdgeCase& c = GetParam();
    Play p;
    SpriteType& s = Add(p.state, Sprite(c.kind, c.col, c.row, c.direction));
    Shift(s, c.dx, c.dy);
    if (c.direction == DirLeft || c.direction == DirRight)
        MoveX(p.state, p.host, s, c.move);
    else
        MoveY(p.state, p.host, s, c.move);
    EXPECT_EQ(s.Col, c.expectCol);
    EXPECT_EQ(s.Row, c.expectRow);
    EXPECT_EQ(s.OffsetX, 0);
    EXPECT_EQ(s.OffsetY, 0);
    EXPECT_EQ(s.Left, c.expectCol * 32);
    EXPECT_EQ(s.Top, c.expectRow * 32);
    EXPECT_EQ(s.Right, s.Left + 31);
    EXPECT_EQ(s.Bottom, s.Top + 31);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, FieldEdge,
    ::testing::Values(EdgeCase{"TankLeft", KindEnemy, 0, 5, 1, 0, DirLeft, -2, 0, 5},
                      EdgeCase{"TankRight", KindEnemy, 17, 5, 31, 0, DirRight, 2, 18, 5},
                      EdgeCase{"TankUp", KindEnemy, 5, 0, 0, 3, DirUp, -4, 5, 0},
                      EdgeCase{"TankDown", KindEnemy, 5, 12, 0, 30, DirDown, 4, 5, 13},
                      EdgeCase{"ShellRight", KindPlayerShell, 17, 5, 26, 0, DirRight, 16, 18, 5},
                      EdgeCase{"ShellUp", KindEnemyShell, 5, 0, 0, 2, DirUp, -8, 5, 0}),
    [](const auto& info) { return info.param.name; });

TEST(FieldEdge, AMoveInsideTheFieldIsNotShortened)
{
    Play p;
    SpriteType& s = Add(p.state, Sprite(KindEnemy, 17, 5, DirRight));
    Shift(s, 28, 0);
    MoveX(p.state, p.host, s, 4);
    EXPECT_EQ(s.Col, 18);
    EXPECT_EQ(s.OffsetX, 0);
    SpriteType& t = Add(p.state, Sprite(KindEnemy, 0, 5, DirLeft));
    Shift(t, 4, 0);
    MoveX(p.state, p.host, t, -4);
    EXPECT_EQ(t.Col, 0);
    EXPECT_EQ(t.OffsetX, 0);
}

TEST(FieldEdge, AMapWithMissingCellsIsNeverIndexedPast)
{
    Play p;
    auto& cells = p.Gate().Cells;
    cells[5].resize(3);
    cells.resize(10);
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 5, 3, DirDown));
    Shift(shell, 0, 24);
    MoveY(p.state, p.host, shell, 8); // onto a cell the map lacks
    EXPECT_EQ(shell.Row, 4);
    SpriteType& tank = Add(p.state, Sprite(KindEnemy, 9, 6, DirRight));
    Shift(tank, 30, 0);
    MoveX(p.state, p.host, tank, 2);
    EXPECT_EQ(tank.Col, 10);
    EXPECT_EQ(tank.OffsetX, 0);
}

} // namespace
} // namespace brakkon
