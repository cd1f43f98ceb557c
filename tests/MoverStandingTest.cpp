// The movers where a sprite stands: bonuses, dirty marks, and the field's edge.
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
    EXPECT_EQ(p.host.Effects, std::vector<SoundEffect>{SoundEffect::Bonus});
    EXPECT_EQ(p.host.IndicatorCount, 1);
}

INSTANTIATE_TEST_SUITE_P(Caps, Bonuses,
                         ::testing::Values(BonusCase{"LevelUp", 1, 0, 1, 0, 1, 1, 0},
                                           BonusCase{"LevelUpAtTwo", 1, 2, 1, 0, 2, 1, 0},
                                           BonusCase{"ExtraLife", 2, 0, 2, 0, 0, 3, 0},
                                           BonusCase{"ExtraLifeAtThree", 2, 0, 3, 0, 0, 3, 0},
                                           BonusCase{"Shield", 3, 0, 1, 0, 0, 1, 10},
                                           BonusCase{"ShieldIsSetNotAdded", 3, 0, 1, 12, 0, 1, 10}),
                         test::CaseName);

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

// Leaving its cell's origin, a sprite reaches into the next cell at once.
TEST(Marks, LeavingACellsOriginMarksTheCellAhead)
{
    for (const bool down : {false, true}) {
        Play p;
        SpriteType& s = Add(p.state, Sprite(KindEnemy, 4, 4, down ? DirDown : DirRight));
        CleanMarks(p.state);
        down ? MoveY(p.state, p.host, s, 2) : MoveX(p.state, p.host, s, 2);
        EXPECT_EQ(Cell(p.state, down ? 4 : 5, down ? 5 : 4).Dirty, 1) << down;
    }
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
    test::CaseName);

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
