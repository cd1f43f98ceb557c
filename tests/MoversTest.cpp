// The movers' strikes: shells on enemy tanks, players' tanks, other shells
// and walls.
#include "tests/EngineSupport.h"
#include "game/Geometry.h"
#include "game/Movers.h"
#include "game/SpriteUpdate.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::CleanMarks;
using test::MakeWall;
using test::Play;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

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
        EXPECT_EQ(p.host.CountEffect(SoundEffect::EnemyDestroyed), enemy.Active ? 0 : 1);
    }
    EXPECT_EQ(shots, c.shots);
}

INSTANTIATE_TEST_SUITE_P(Levels, ShotsNeeded,
                         ::testing::Values(ShotsCase{0, 0, 1}, ShotsCase{0, 1, 1}, ShotsCase{0, 2, 1},
                                           ShotsCase{1, 0, 3}, ShotsCase{1, 1, 2}, ShotsCase{1, 2, 1},
                                           ShotsCase{2, 0, 5}, ShotsCase{2, 1, 3}, ShotsCase{2, 2, 2}),
                         [](const auto& info) {
                             return "Enemy" + std::to_string(info.param.enemyLevel) + "Shell" +
                                    std::to_string(info.param.shellLevel);
                         });

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
                                           ReentryCase{18, 0}),
                         [](const auto& info) { return "Column" + std::to_string(info.param.shellCol); });

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
    EXPECT_EQ(p.host.CountEffect(SoundEffect::EnemyDestroyed), 1);
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
                                           WallCase{2, 0, true}, WallCase{2, 1, true}, WallCase{2, 2, true}),
                         [](const auto& info) {
                             return "Shell" + std::to_string(info.param.shellLevel) + "Hardness" +
                                    std::to_string(info.param.hardness);
                         });

TEST(Walls, BarriersLetShellsPass)
{
    Play p;
    Cell(p.state, 5, 5).Block = BlockBarrier;
    SpriteType& shell = Add(p.state, Sprite(KindPlayerShell, 5, 5, DirUp));
    MoveY(p.state, p.host, shell, 0);
    EXPECT_EQ(shell.Frame, 0);
    EXPECT_EQ(Cell(p.state, 5, 5).Block, BlockBarrier);
}

} // namespace
} // namespace brakkon
