// Rectangle tests, dirty marking and the frame step.
#include "tests/EngineSupport.h"
#include "game/Geometry.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Add;
using test::CleanMarks;
using test::PlayField;
using test::Sprite;

struct RectCase {
    const char* name;
    Rect a;
    Rect b;
    bool corner;
};

class CornerInRectCases : public ::testing::TestWithParam<RectCase> {};

TEST_P(CornerInRectCases, SharedPixelOfOneCellBoxes)
{
    EXPECT_EQ(CornerInRect(GetParam().a, GetParam().b), GetParam().corner);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CornerInRectCases,
    ::testing::Values(RectCase{"Same", {0, 0, 31, 31}, {0, 0, 31, 31}, true},
                      RectCase{"EdgesMeetOnAColumn", {0, 0, 31, 31}, {31, 0, 62, 31}, true},
                      RectCase{"NextColumnTouchesOnly", {0, 0, 31, 31}, {32, 0, 63, 31}, false},
                      RectCase{"DiagonalOnePixel", {0, 0, 31, 31}, {31, 31, 62, 62}, true},
                      RectCase{"BottomLeftCornerInside", {32, 32, 63, 63}, {10, 40, 41, 71}, true},
                      RectCase{"TopRightCornerInside", {32, 32, 63, 63}, {10, 10, 41, 41}, true},
                      RectCase{"EnclosingBoxHasNoCornerInside", {10, 10, 20, 20}, {0, 0, 31, 31}, false}),
    test::CaseName);

struct CentreCase {
    const char* name;
    std::int32_t dx;
    std::int32_t dy;
    bool inside;
};

class CentreInsideCases : public ::testing::TestWithParam<CentreCase> {};

// The target's centre is at Left + 15; the shell's box must hold it strictly.
TEST_P(CentreInsideCases, NeedsMoreThanHalfACellOfOverlap)
{
    SpriteType target = test::SpriteAt(KindEnemy, 5, 5, 2);
    SpriteType shell = test::SpriteAt(KindPlayerShell, 5, 5, 3);
    test::Shift(shell, GetParam().dx, GetParam().dy);
    EXPECT_EQ(CentreInside(target, shell), GetParam().inside);
}

INSTANTIATE_TEST_SUITE_P(Offsets, CentreInsideCases,
                         ::testing::Values(CentreCase{"Same", 0, 0, true}, CentreCase{"Right14", 14, 0, true},
                                           CentreCase{"Right15", 15, 0, false}, CentreCase{"Left15", -15, 0, true},
                                           CentreCase{"Left16", -16, 0, false}, CentreCase{"Down14", 0, 14, true},
                                           CentreCase{"Down15", 0, 15, false}, CentreCase{"Up16", 0, -16, false},
                                           CentreCase{"Diagonal14", 14, 14, true}),
                         test::CaseName);

TEST(MarkSprite, SpreadsAlongOverlapsOnlyTowardLaterEntries)
{
    MainState st;
    PlayField(st);
    SpriteType& a = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    SpriteType& b = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    test::Shift(b, 20, 0); // overlaps a, and c
    SpriteType& c = Add(st, Sprite(KindEnemy, 4, 3, DirDown));
    test::Shift(c, 10, 0); // overlaps b, not a
    SpriteType& d = Add(st, Sprite(KindEnemy, 9, 9, DirDown));
    CleanMarks(st);

    MarkSprite(st, a);
    EXPECT_EQ(a.Dirty, 1);
    EXPECT_EQ(b.Dirty, 1);
    EXPECT_EQ(c.Dirty, 1); // through b
    EXPECT_EQ(d.Dirty, 0);

    CleanMarks(st);
    MarkSprite(st, c);
    EXPECT_EQ(c.Dirty, 1);
    EXPECT_EQ(b.Dirty, 0); // earlier entries lie beneath and need no redraw
}

TEST(MarkSprite, InactiveSpritesNeitherMarkNorAreMarked)
{
    MainState st;
    PlayField(st);
    SpriteType& a = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    SpriteType& b = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    SpriteType& c = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    CleanMarks(st);
    b.Active = 0;
    MarkSprite(st, b);
    EXPECT_EQ(b.Dirty, 0);
    EXPECT_EQ(c.Dirty, 0);
    MarkSprite(st, a);
    EXPECT_EQ(b.Dirty, 0);
    EXPECT_EQ(c.Dirty, 1);
}

TEST(MarkSprite, ASpriteAlreadyDirtyStopsTheChain)
{
    MainState st;
    PlayField(st);
    SpriteType& a = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    SpriteType& b = Add(st, Sprite(KindEnemy, 4, 3, DirDown));
    test::Shift(b, -16, 0);
    SpriteType& c = Add(st, Sprite(KindEnemy, 4, 3, DirDown));
    test::Shift(c, 10, 0); // overlaps b only
    CleanMarks(st);
    b.Dirty = 1;
    MarkSprite(st, a);
    EXPECT_EQ(c.Dirty, 0);
}

TEST(MarkSprite, StartsAfterTheStoredIndexNotTheListPosition)
{
    MainState st;
    PlayField(st);
    SpriteType& a = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    SpriteType& b = Add(st, Sprite(KindEnemy, 3, 3, DirDown));
    a.Index = 7; // as if shells before it had been removed
    CleanMarks(st);
    MarkSprite(st, a);
    EXPECT_EQ(b.Dirty, 0);
}

TEST(MarkSprite, AThousandStackedSpritesAreAllMarked)
{
    MainState st;
    PlayField(st);
    for (int i = 0; i < 1000; ++i) Add(st, Sprite(KindEnemyShell, 0, 0, DirDown));
    CleanMarks(st);
    MarkCell(st, test::Cell(st, 0, 0));
    for (std::size_t i = 2; i < st.Game.Gate->Sprites.size(); ++i) ASSERT_EQ(st.Game.Gate->Sprites[i]->Dirty, 1) << i;
}

TEST(MarkCell, MarksTheSpritesOverTheCell)
{
    MainState st;
    PlayField(st);
    SpriteType& over = Add(st, Sprite(KindEnemy, 4, 4, DirDown));
    SpriteType& straddling = Add(st, Sprite(KindEnemy, 3, 4, DirDown));
    test::Shift(straddling, 8, 0);
    SpriteType& beside = Add(st, Sprite(KindEnemy, 5, 4, DirDown));
    CleanMarks(st);
    MarkCell(st, test::Cell(st, 4, 4));
    EXPECT_EQ(test::Cell(st, 4, 4).Dirty, 1);
    EXPECT_EQ(over.Dirty, 1);
    EXPECT_EQ(straddling.Dirty, 1);
    EXPECT_EQ(beside.Dirty, 0);
}

struct FrameCase {
    const char* name;
    std::size_t frames;
    std::int32_t group;
    std::int32_t direction;
    std::int32_t frame;
    std::int32_t expected;
};

class NextFrameCases : public ::testing::TestWithParam<FrameCase> {};

TEST_P(NextFrameCases, StepsAndWraps)
{
    const FrameCase& c = GetParam();
    MainState st;
    test::GiveImages(st, c.frames);
    SpriteType s;
    s.ImageGroup = c.group;
    s.Direction = c.direction;
    s.Frame = c.frame;
    NextFrame(st, s);
    EXPECT_EQ(s.Frame, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Frames, NextFrameCases,
                         ::testing::Values(FrameCase{"Steps", 3, 1, 0, 0, 1}, FrameCase{"WrapsAfterLast", 3, 1, 3, 2, 0},
                                           FrameCase{"SingleFrameStaysAtZero", 1, 11, 1, 0, 0},
                                           FrameCase{"NegativeBecomesZero", 3, 1, 0, -5, 0},
                                           FrameCase{"MissingGroupUnchanged", 3, 14, 0, 1, 1},
                                           FrameCase{"NegativeGroupUnchanged", 3, -1, 0, 1, 1},
                                           FrameCase{"MissingDirectionUnchanged", 3, 1, 4, 1, 1},
                                           FrameCase{"NoFramesGivesZero", 0, 1, 0, 2, 0}),
                         test::CaseName);

TEST(CellAt, MissingCellsAreNullAndShut)
{
    MainState st;
    PlayField(st);
    st.Game.Gate->Cells[3].pop_back();
    EXPECT_EQ(CellAt(*st.Game.Gate, 3, 13), nullptr);
    EXPECT_EQ(CellAt(*st.Game.Gate, -1, 0), nullptr);
    EXPECT_EQ(CellAt(*st.Game.Gate, 19, 0), nullptr);
    EXPECT_EQ(CellAt(*st.Game.Gate, 0, 14), nullptr);
    EXPECT_NE(CellAt(*st.Game.Gate, 3, 12), nullptr);
    EXPECT_FALSE(CellOpen(*st.Game.Gate, 3, 13));
    EXPECT_TRUE(CellOpen(*st.Game.Gate, 3, 12));
}

} // namespace
} // namespace brakkon
