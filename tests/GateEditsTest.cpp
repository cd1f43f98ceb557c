// The Game Editor's rules for a stored gate, without a window: the gate
// "AddGate" makes, every tile code dropped on a cell, a cleared cell, and the
// cell under a point of the field.
#include "game/GateEdits.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace brakkon {
namespace {

/// The fields a drop or a clear may change, and the ground.
struct Fields {
    int bonus, top, block, wall, hardness, ground;
    friend bool operator==(const Fields&, const Fields&) = default;
};

void PrintTo(const Fields& f, std::ostream* os)
{
    *os << "{" << f.bonus << ", " << f.top << ", " << f.block << ", " << f.wall << ", " << f.hardness << ", "
        << f.ground << "}";
}

Fields Of(const CellType& c) { return {c.Bonus, c.TopImage, c.Block, c.WallImage, c.Hardness, c.GroundImage}; }

CellType Made(const Fields& f)
{
    CellType c = NewCell(3, 4);
    c.Bonus = static_cast<std::uint8_t>(f.bonus);
    c.TopImage = f.top;
    c.Block = static_cast<std::uint8_t>(f.block);
    c.WallImage = f.wall;
    c.Hardness = f.hardness;
    c.GroundImage = f.ground;
    return c;
}

constexpr Fields Star{BonusLevelUp, TileLevelUp, BlockOpen, TileNone, 0, 15};
constexpr Fields Steel{BonusNone, TileNone, BlockWall, 6, 2, 15};

struct DropCase {
    const char* name;
    std::int32_t code;
    Fields before, after;
};

void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }

class Drop : public ::testing::TestWithParam<DropCase> {};

TEST_P(Drop, ChangesTheCellByTheTileTable)
{
    const DropCase& c = GetParam();
    CellType cell = Made(c.before);
    DropTile(cell, c.code);
    EXPECT_EQ(Of(cell), c.after);
    EXPECT_EQ(cell.Left, 3 * FieldCellWidth) << "the rectangle never moves";
}

INSTANTIATE_TEST_SUITE_P(
    GateEdits, Drop,
    ::testing::Values(
        DropCase{"BaseChangesNothing", TileBase, Star, Star},
        DropCase{"NegativeCodeChangesNothing", -1, Steel, Steel},
        DropCase{"StarOnSteelLiesOnTop", TileLevelUp, Steel, {BonusLevelUp, TileLevelUp, BlockWall, 6, 2, 15}},
        DropCase{"ShieldReplacesAStar", TileShield, Star, {BonusShield, TileShield, BlockOpen, TileNone, 0, 15}},
        DropCase{"BrickIsTheSoftestWall", TileWallFirst, Steel, {BonusNone, TileNone, BlockWall, 4, 0, 15}},
        DropCase{"StoneKeepsTheStar", 5, Star, {BonusLevelUp, TileLevelUp, BlockWall, 5, 1, 15}},
        DropCase{"SteelIsTheHardest", TileWallLast, Star, {BonusLevelUp, TileLevelUp, BlockWall, 6, 2, 15}},
        DropCase{"WaterBarsSteelKeepingItsHardness", TileBarrierFirst, Steel, {BonusNone, TileNone, BlockBarrier, 7, 2, 15}},
        DropCase{"RubbleIsTheLastBarrier", TileBarrierLast, Star, {BonusLevelUp, TileLevelUp, BlockBarrier, 9, 0, 15}},
        DropCase{"TreesTakeTheStar", TileCoverFirst, Star, {BonusNone, TileCoverFirst, BlockOpen, TileNone, 0, 15}},
        DropCase{"NetIsTheLastCover", TileCoverLast, Steel, {BonusNone, TileCoverLast, BlockWall, 6, 2, 15}},
        DropCase{"GroundIsAFloorPictureOverTheWall", TileGroundFirst, Steel, {BonusNone, TileNone, BlockWall, 13, 2, 15}},
        DropCase{"AnyLaterGroundToo", 40, Star, {BonusLevelUp, TileLevelUp, BlockOpen, 40, 0, 15}}),
    test::CaseName);

TEST(GateEdits, AClearedCellKeepsItsGroundAndHardness)
{
    for (const Fields& before : {Star, Steel, Fields{BonusShield, TileCoverFirst, BlockBarrier, 8, 1, 20}}) {
        CellType cell = Made(before);
        ClearCell(cell);
        EXPECT_EQ(Of(cell), (Fields{BonusNone, TileNone, BlockOpen, TileNone, before.hardness, before.ground}));
    }
}

TEST(GateEdits, ANewGateIsAFullMapOfNewCellsWithTheUsualQuotas)
{
    const GameType game;
    const std::unique_ptr<GateType> gate = NewGate(game, 4);
    ASSERT_EQ(gate->Cells.size(), static_cast<std::size_t>(FieldCols));
    for (std::int32_t col = 0; col < FieldCols; ++col) {
        ASSERT_EQ(gate->Cells[static_cast<std::size_t>(col)].size(), static_cast<std::size_t>(FieldRows));
        for (std::int32_t row = 0; row < FieldRows; ++row)
            EXPECT_EQ(*gate->Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)], NewCell(col, row));
    }
    EXPECT_TRUE(gate->Sprites.empty());
    EXPECT_EQ(gate->NextGate, 5);
    EXPECT_EQ(gate->GateNo, 1);
    EXPECT_EQ((std::array{gate->Lives1, gate->Lives2}), (std::array{3, 3}));
    EXPECT_EQ((std::array{gate->Tank, gate->LargeTank, gate->ZJC, gate->KC, gate->Total}), (std::array{5, 2, 3, 3, 20}));
    EXPECT_EQ((std::array{gate->EnemiesLeft, gate->PlayTime}), (std::array{0, 0}));
}

TEST(GateEdits, ThePointFindsTheCellOfThirtyTwoPixels)
{
    const GameType game;
    const std::unique_ptr<GateType> made = NewGate(game, 0);
    GateType& gate = *made;
    struct {
        int x, y;
        int col, row; ///< -1: no cell
    } const cases[] = {
        {0, 0, 0, 0},       {31, 31, 0, 0},       {32, 31, 1, 0},   {3 * 32 + 5, 4 * 32 + 30, 3, 4},
        {607, 447, 18, 13}, {608, 100, -1, -1},   {100, 448, -1, -1}, {-1, 10, -1, -1}, {10, -1, -1, -1},
    };
    for (const auto& c : cases) {
        const CellType* cell = CellAtPoint(game, gate, c.x, c.y);
        if (c.col < 0) {
            EXPECT_EQ(cell, nullptr) << c.x << "," << c.y;
        } else {
            EXPECT_EQ(cell, gate.Cells[static_cast<std::size_t>(c.col)][static_cast<std::size_t>(c.row)].get())
                << c.x << "," << c.y;
        }
    }
}

} // namespace
} // namespace brakkon
