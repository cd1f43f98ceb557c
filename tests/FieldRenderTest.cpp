// The field as the window shows it, read pixel by pixel from the grabbed
// Image1: the three layers, transparent pictures, black boxes for missing
// pictures, the blink of a shielded tank, and the region a tick repaints.
#include "tests/GuiSupport.h"

#include "game/Bmp.h"
#include "game/DrawChanges.h"
#include "tests/EngineSupport.h"
#include "game/Movers.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>
#include <tuple>

namespace brakkon {
namespace {

constexpr QRgb Ground = qRgb(0, 128, 0);
constexpr QRgb Wall = qRgb(128, 0, 0);
constexpr QRgb Cover = qRgb(0, 0, 255);
constexpr QRgb Tank = qRgb(255, 255, 0);
constexpr QRgb Key = qRgb(255, 0, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

/// A 32 x 32 picture of one colour; with a key-coloured frame of `border`
/// pixels around it when transparent.
Bitmap Picture(QRgb colour, bool transparent, int border = 0)
{
    std::vector<std::uint32_t> pixels(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool edge = x < border || y < border || x >= 32 - border || y >= 32 - border;
            pixels[static_cast<std::size_t>(y * 32 + x)] = edge ? Key : colour;
        }
    return MakeBitmap(32, 32, pixels, transparent);
}

/// A window with no data files over a field of ground tiles; player 1's tank
/// at (2, 2) in the tank colour, facing right; player 2 out of play.
class FieldRender : public testing::Test {
protected:
    FieldRender() : w(std::initializer_list<const char*>{})
    {
        GameType& game = w.State().Game;
        game.Images.assign(GroupCount, ImageGroup(4, ImageFrames(1, Picture(Tank, false))));
        ImageFrames tiles(20, Picture(Wall, false));
        tiles[TileCoverFirst] = Picture(Cover, true, 8); // a net with open edges
        tiles[TileCoverFirst + 1] = Picture(Cover, false); // a cover without gaps
        tiles[TileDefaultGround] = Picture(Ground, false);
        game.Images[GroupTiles] = ImageGroup(1, tiles);
        w.form->ImagesChanged();
        game.Gate = test::MakeGate();
        auto tank = std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 2, 2, 0));
        tank->ImageGroup = GroupPlayer1;
        tank->Direction = DirRight;
        game.Gate->Sprites.push_back(std::move(tank));
        auto second = std::make_unique<SpriteType>(test::SpriteAt(KindPlayer2, 7, 13, 1));
        second->Active = 0; // a one-player game
        game.Gate->Sprites.push_back(std::move(second));
    }

    SpriteType& TankSprite() { return *w.Gate().Sprites[0]; }
    CellType& Cell(int col, int row) { return *w.Gate().Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]; }
    QRgb Pixel(int x, int y) { return w.form->Field().grab().toImage().pixel(x, y); }
    void Redraw() { w.form->DrawField(&w.Gate()); }
    /// One tick's drawing of what is marked, put on the screen.
    void DrawTick()
    {
        DrawChanges(w.State(), w.form->Host());
        w.form->Host().RepaintField();
    }

    test::WindowFixture w;
};

TEST_F(FieldRender, ACoverHidesTheTankUnderItAndShowsItThroughItsKeyColour)
{
    Cell(2, 2).TopImage = TileCoverFirst;
    Redraw();
    EXPECT_EQ(Pixel(2 * 32 + 16, 2 * 32 + 16), Cover);
    EXPECT_EQ(Pixel(2 * 32 + 2, 2 * 32 + 2), Tank);
    EXPECT_EQ(Pixel(5 * 32 + 16, 5 * 32 + 16), Ground);
    EXPECT_EQ(Pixel(608, 448), Black); // the column and row beyond the field

    // The same layers in a tick's drawing: the tank moves under the net.
    test::CleanMarks(w.State());
    Cell(3, 2).TopImage = TileCoverFirst;
    MoveX(w.State(), w.form->Host(), TankSprite(), 2);
    DrawTick();
    MoveX(w.State(), w.form->Host(), TankSprite(), 14);
    DrawTick();
    EXPECT_EQ(Pixel(3 * 32 + 10, 2 * 32 + 16), Cover);
    EXPECT_EQ(Pixel(3 * 32 + 2, 2 * 32 + 16), Tank);
    EXPECT_EQ(Pixel(2 * 32 + 2, 2 * 32 + 2), Ground); // erased from where it was
}

TEST_F(FieldRender, ACellWithoutGroundIsBlackWithoutItsWall)
{
    Cell(4, 4).WallImage = TileWallFirst;
    Redraw();
    EXPECT_EQ(Pixel(4 * 32 + 16, 4 * 32 + 16), Wall);
    Cell(4, 4).GroundImage = -1;
    Cell(4, 4).Dirty = 1;
    DrawTick();
    EXPECT_EQ(Pixel(4 * 32 + 16, 4 * 32 + 16), Black);
    EXPECT_EQ(Pixel(4 * 32, 4 * 32), Black);
    EXPECT_EQ(Pixel(4 * 32 + 31, 4 * 32 + 16), Wall); // a fill leaves the last column and row
    EXPECT_EQ(Pixel(4 * 32 + 16, 4 * 32 + 31), Wall);
}

TEST_F(FieldRender, ASpriteMissingFromTheLibraryIsABlackBox)
{
    TankSprite().ImageGroup = 99;
    Redraw();
    EXPECT_EQ(Pixel(2 * 32 + 16, 2 * 32 + 16), Black);
    EXPECT_EQ(Pixel(2 * 32 + 31, 2 * 32 + 16), Ground);
    TankSprite().ImageGroup = GroupPlayer1;
    TankSprite().Frame = 1; // past the frames of its direction
    Redraw();
    EXPECT_EQ(Pixel(2 * 32 + 16, 2 * 32 + 16), Black);
}

TEST_F(FieldRender, AShieldedTankShowsOnAlternateTicks)
{
    TankSprite().Shield = 2;
    Redraw();
    std::string seen;
    for (int tick = 0; tick < 4; ++tick) {
        DrawTick();
        seen += Pixel(2 * 32 + 16, 2 * 32 + 16) == Tank ? 'T' : (Pixel(2 * 32 + 16, 2 * 32 + 16) == Ground ? 'g' : '?');
    }
    EXPECT_EQ(seen, "TgTg");
    TankSprite().Shield = 0;
    DrawTick();
    DrawTick();
    EXPECT_EQ(Pixel(2 * 32 + 16, 2 * 32 + 16), Tank);
}

TEST_F(FieldRender, ATickPutsOnlyTheChangedRowsOnTheScreen)
{
    Redraw();
    (void)w.form->Canvas().TakeChangedRegion();
    test::CleanMarks(w.State());
    MoveY(w.State(), w.form->Host(), TankSprite(), 2);
    DrawChanges(w.State(), w.form->Host());
    const QRect changed = w.form->Canvas().TakeChangedRegion().boundingRect();
    EXPECT_EQ(changed, QRect(2 * 32, 2 * 32, 32, 2 * 32)); // its two cells, no more
    EXPECT_TRUE(w.form->Canvas().TakeChangedRegion().isEmpty());
}

/// Cells drawn (column, row), as a tick might draw them.
struct ChangedCase {
    const char* name;
    std::vector<std::pair<int, int>> cells;
};

// The region the screen gets is the union of the cells drawn, in the very
// form a union of rectangles takes (bands merged where rows repeat), so
// that the paint draws as few rectangles as a union would give it.
TEST_F(FieldRender, TheChangedRegionIsTheUnionOfTheCellsDrawn)
{
    const ChangedCase cases[] = {
        {"nothing", {}},
        {"one cell", {{4, 5}}},
        {"a run and a gap", {{0, 0}, {1, 0}, {3, 0}, {18, 0}}},
        {"a column", {{6, 1}, {6, 2}, {6, 3}}},
        {"a block, then a wider row", {{2, 2}, {3, 2}, {2, 3}, {3, 3}, {1, 4}, {2, 4}, {3, 4}}},
        {"rows apart with the same runs", {{5, 1}, {5, 3}, {8, 3}}},
        {"the last row and column", {{18, 13}, {17, 13}, {18, 12}}},
        {"every other cell", {{0, 7}, {2, 7}, {4, 7}, {6, 7}, {8, 7}, {10, 7}, {12, 7}, {14, 7}, {16, 7}, {18, 7}}},
    };
    Redraw();
    for (const ChangedCase& c : cases) {
        (void)w.form->Canvas().TakeChangedRegion();
        QRegion expected;
        for (const auto& [col, row] : c.cells) {
            w.form->Canvas().DrawCell(Cell(col, row));
            expected += QRect(col * 32, row * 32, 32, 32);
        }
        EXPECT_EQ(w.form->Canvas().TakeChangedRegion(), expected) << c.name;
    }
    // The whole canvas, its extra column and row of pixels included.
    w.form->Canvas().DrawField(&w.Gate());
    const QRegion whole = w.form->Canvas().TakeChangedRegion();
    EXPECT_EQ(whole, QRegion(w.form->Canvas().Image().rect()));
    EXPECT_EQ(whole.rectCount(), 1);
}

TEST_F(FieldRender, ATankLeavingItsCellIsUnderTheCoverAheadAtOnce)
{
    Cell(3, 2).TopImage = TileCoverFirst + 1;
    Redraw();
    test::CleanMarks(w.State());
    MoveX(w.State(), w.form->Host(), TankSprite(), 2);
    DrawTick();
    EXPECT_EQ(Pixel(3 * 32, 2 * 32 + 16), Cover);
    EXPECT_EQ(Pixel(3 * 32 - 1, 2 * 32 + 16), Tank);
}

// Positions come from files as any 32-bit integers: what lies off the canvas
// is left out, and a box is filled wherever it covers the canvas.
TEST_F(FieldRender, FarPositionsDrawOnlyWhatLiesOnTheCanvas)
{
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        bool tank; ///< the tank's box and image group, else cell (18, 13)'s box and tiles
        std::int32_t left, top, right, bottom, picture;
        QPoint probe; ///< black
    };
    const Case cases[] = {{false, Max - 3, Max - 3, Max, Max, TileCoverFirst, {18 * 32 + 16, 13 * 32 + 16}},
                          {false, Min + 1, 5 * 32, 20, 6 * 32 - 1, -1, {19, 5 * 32 + 3}},
                          {true, Min + 1, 2 * 32, 40, 3 * 32 - 1, 99, {2, 2 * 32 + 3}}};
    for (const Case& c : cases) {
        auto place = [&c](auto& r) {
            std::tie(r.Left, r.Top, r.Right, r.Bottom) = std::tie(c.left, c.top, c.right, c.bottom);
        };
        if (c.tank) {
            place(TankSprite());
            TankSprite().ImageGroup = c.picture;
        } else {
            place(Cell(18, 13));
            Cell(18, 13).GroundImage = Cell(18, 13).TopImage = c.picture;
        }
        Redraw();
        EXPECT_EQ(Pixel(c.probe.x(), c.probe.y()), Black) << c.left;
    }
}

} // namespace
} // namespace brakkon
