// The shipped "Game.dat" as the build makes it: the library's groups and
// frames, the pictures' transparency, the gates' chain, maps and quotas, and
// the unpack-pack round trip.
#include "content/ContentSources.h"
#include "content/Drawing.h"
#include "game/FileIo.h"
#include "tests/BuiltContent.h"
#include "game/GameData.h"
#include "tests/RunTool.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

using test::BuiltGame;

const CellType& CellAt(const GateType& gate, std::int32_t col, std::int32_t row)
{
    return *gate.Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

std::uint32_t Corner(const Bitmap& b, bool right, bool bottom)
{
    return b.Pixels[static_cast<std::size_t>(bottom ? b.Height - 1 : 0) * static_cast<std::size_t>(b.Width) +
                    static_cast<std::size_t>(right ? b.Width - 1 : 0)];
}

Drawing AsDrawing(const Bitmap& b) { return {b.Width, b.Height, b.Pixels}; }

TEST(ShippedContent, TheFieldIs19By14CellsOf32Pixels)
{
    const GameType& game = BuiltGame();
    EXPECT_EQ(game.Cols, 19);
    EXPECT_EQ(game.Rows, 14);
    EXPECT_EQ(game.CellWidth, 32);
    EXPECT_EQ(game.CellHeight, 32);
}

TEST(ShippedContent, TheLibraryHoldsEveryGroupWithItsFrames)
{
    const GameType& game = BuiltGame();
    ASSERT_EQ(game.Images.size(), static_cast<std::size_t>(GroupCount));
    ASSERT_EQ(game.Images[GroupTiles].size(), 1u);
    EXPECT_GE(game.Images[GroupTiles][0].size(), static_cast<std::size_t>(TileGroundFirst + 4)); // four grounds at least
    for (std::int32_t g = GroupPlayer1; g < GroupCount; ++g) {
        SCOPED_TRACE(g);
        ASSERT_EQ(game.Images[static_cast<std::size_t>(g)].size(), 4u); // left, right, up, down
        for (const auto& image : game.Images[static_cast<std::size_t>(g)]) EXPECT_GE(image.size(), 2u);
        if (g >= GroupShell) {
            for (const auto& image : game.Images[static_cast<std::size_t>(g)]) EXPECT_EQ(image.size(), 2u);
        }
    }
    for (const auto& group : game.Images)
        for (const auto& image : group)
            for (const auto& frame : image) {
                EXPECT_EQ(frame.Width, 32);
                EXPECT_EQ(frame.Height, 32);
            }
}

TEST(ShippedContent, TransparentFramesHaveTheKeyColourInTheBottomLeftPixel)
{
    const GameType& game = BuiltGame();
    const std::set<std::int32_t> transparentTiles = {1, 2, 3, 8, 9, 10, 11, 12};
    const auto& tiles = game.Images[GroupTiles][0];
    for (std::size_t code = 0; code < tiles.size(); ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(tiles[code].Transparent, transparentTiles.contains(static_cast<std::int32_t>(code)));
        if (tiles[code].Transparent) {
            EXPECT_EQ(tiles[code].TransparentColour(), KeyColour);
        } else {
            // An opaque tile does not carry the key colour, which would read as a hole elsewhere.
            EXPECT_EQ(std::count(tiles[code].Pixels.begin(), tiles[code].Pixels.end(), KeyColour), 0);
        }
    }
    for (std::size_t g = GroupPlayer1; g < game.Images.size(); ++g)
        for (const auto& image : game.Images[g])
            for (const auto& frame : image) {
                SCOPED_TRACE(g);
                ASSERT_TRUE(frame.Transparent);
                // Every corner is the key, so that any turn keeps it in the bottom left.
                for (const bool right : {false, true})
                    for (const bool bottom : {false, true}) EXPECT_EQ(Corner(frame, right, bottom), KeyColour);
                std::size_t shown = 0;
                for (const std::uint32_t p : frame.Pixels) shown += p != KeyColour;
                EXPECT_GT(shown, 20u);
            }
}

TEST(ShippedContent, TanksFaceTheirDirectionAndMoveTheirTracks)
{
    const GameType& game = BuiltGame();
    for (std::int32_t g = GroupPlayer1; g < GroupShell; ++g) {
        SCOPED_TRACE(g);
        const auto& group = game.Images[static_cast<std::size_t>(g)];
        for (std::size_t f = 0; f < group[DirUp].size(); ++f) {
            const Drawing up = AsDrawing(group[DirUp][f]);
            EXPECT_EQ(AsDrawing(group[DirLeft][f]), Rotated(up, Turn::Left));
            EXPECT_EQ(AsDrawing(group[DirRight][f]), Rotated(up, Turn::Right));
            EXPECT_EQ(AsDrawing(group[DirDown][f]), Rotated(up, Turn::Half));
            // and no two directions look alike
            EXPECT_NE(up, Rotated(up, Turn::Half));
            EXPECT_NE(Rotated(up, Turn::Left), Rotated(up, Turn::Right));
        }
        EXPECT_NE(group[DirUp][0].Pixels, group[DirUp][1].Pixels); // the second frame moves the tracks
    }
}

TEST(ShippedContent, PlayerTwoIsGreenAndEveryLevelLooksHeavier)
{
    const GameType& game = BuiltGame();
    const auto count = [](const Bitmap& b, std::uint32_t colour) {
        return std::count(b.Pixels.begin(), b.Pixels.end(), colour);
    };
    constexpr std::uint32_t Yellow = 0xFFFFFF00, Lime = 0xFF00FF00;
    std::ptrdiff_t lastShown = 0;
    for (std::int32_t level = 0; level < 3; ++level) {
        SCOPED_TRACE(level);
        const Bitmap& p1 = game.Images[static_cast<std::size_t>(GroupPlayer1 + level)][DirUp][0];
        const Bitmap& p2 = game.Images[static_cast<std::size_t>(GroupPlayer2 + level)][DirUp][0];
        EXPECT_GT(count(p1, Yellow), 40);
        EXPECT_EQ(count(p2, Yellow), 0);
        EXPECT_EQ(count(p2, Lime), count(p1, Yellow));
        const std::ptrdiff_t shown = 32 * 32 - count(p1, KeyColour);
        EXPECT_GT(shown, lastShown);
        lastShown = shown;
    }
}

TEST(ShippedContent, SixteenGatesChainFromGateZeroThroughEveryGateAndOut)
{
    const GameType& game = BuiltGame();
    ASSERT_GE(game.Gates.size(), 16u);
    std::set<std::int32_t> seen;
    std::int32_t at = 0;
    while (at >= 0 && at < static_cast<std::int32_t>(game.Gates.size())) {
        ASSERT_TRUE(seen.insert(at).second) << "gate " << at << " comes twice";
        at = game.Gates[static_cast<std::size_t>(at)]->NextGate;
    }
    EXPECT_EQ(seen.size(), game.Gates.size());
}

TEST(ShippedContent, GatesGrowHarderAndStoreWhatANewGateHolds)
{
    const GameType& game = BuiltGame();
    const GateType& first = *game.Gates.front();
    EXPECT_EQ(first.Tank + first.LargeTank, 0); // gate 0: fast light enemies only
    std::int32_t lastTotal = 0;
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        SCOPED_TRACE(i);
        const GateType& g = *game.Gates[i];
        EXPECT_GE(g.Total, lastTotal);
        lastTotal = g.Total;
        EXPECT_LE(g.KC + g.ZJC + g.Tank + g.LargeTank, g.Total);
        EXPECT_GT(g.KC + g.ZJC + g.Tank + g.LargeTank, 0);
        EXPECT_EQ(std::make_tuple(g.GateNo, g.PlayTime, g.Lives1, g.Lives2, g.EnemiesLeft), std::make_tuple(1, 0, 3, 3, 0));
        EXPECT_TRUE(g.Sprites.empty());
        ASSERT_TRUE(HasGrid(g, FieldCols, FieldRows));
        for (std::int32_t c = 0; c < FieldCols; ++c)
            for (std::int32_t r = 0; r < FieldRows; ++r) {
                const CellType& cell = CellAt(g, c, r);
                EXPECT_EQ(std::make_tuple(cell.Left, cell.Top, cell.Right, cell.Bottom, cell.Dirty),
                          std::make_tuple(c * 32, r * 32, c * 32 + 31, r * 32 + 31, 1));
            }
    }
    EXPECT_GE(lastTotal, 20);
    const GateType& last = *game.Gates.back();
    EXPECT_GE(last.Tank + last.LargeTank, first.Tank + first.LargeTank + 5);
}

TEST(ShippedContent, EveryTileKindIsUsedSomewhere)
{
    const GameType& game = BuiltGame();
    std::set<std::int32_t> used;
    for (const auto& gate : game.Gates)
        for (const auto& column : gate->Cells)
            for (const auto& cell : column) {
                used.insert(cell->GroundImage);
                if (cell->WallImage >= 0) used.insert(cell->WallImage);
                if (cell->TopImage >= 0) used.insert(cell->TopImage);
                if (cell->Bonus != 0) {
                    EXPECT_EQ(cell->TopImage, cell->Bonus);
                }
            }
    for (std::int32_t code = 0; code < static_cast<std::int32_t>(game.Images[GroupTiles][0].size()); ++code)
        EXPECT_TRUE(used.contains(code)) << "tile " << code << " is used by no gate";
}

TEST(ShippedContent, TheBaseIsWalledInAndTheStartCellsAreOpen)
{
    const GameType& game = BuiltGame();
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        SCOPED_TRACE(i);
        const GateType& g = *game.Gates[i];
        const CellType& base = CellAt(g, BaseCol, BaseRow);
        EXPECT_EQ(std::make_tuple(base.Block, base.WallImage, base.Hardness), std::make_tuple(1, TileBase, 0));
        for (const auto& [c, r] : {std::pair{8, 12}, {9, 12}, {10, 12}, {8, 13}, {10, 13}}) {
            const CellType& brick = CellAt(g, c, r);
            EXPECT_EQ(std::make_tuple(brick.Block, brick.WallImage, brick.Hardness), std::make_tuple(1, 4, 0))
                << c << " " << r;
        }
        for (const auto& [c, r] : {std::pair{0, 0}, {18, 0}, {Player2StartCol, PlayerStartRow},
                                   {Player1StartCol, PlayerStartRow}}) {
            const CellType& open = CellAt(g, c, r);
            EXPECT_EQ(std::make_tuple(open.Block, open.Bonus, open.TopImage), std::make_tuple(0, 0, -1)) << c << " " << r;
        }
    }
}

// Cells a tank can drive to from `start` over open cells, without breaking any wall.
std::set<std::pair<std::int32_t, std::int32_t>> Reachable(const GateType& g, std::pair<std::int32_t, std::int32_t> start)
{
    std::set<std::pair<std::int32_t, std::int32_t>> seen = {start};
    std::vector<std::pair<std::int32_t, std::int32_t>> todo = {start};
    while (!todo.empty()) {
        const auto [c, r] = todo.back();
        todo.pop_back();
        for (const auto& [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const std::int32_t nc = c + dc, nr = r + dr;
            if (nc < 0 || nr < 0 || nc >= FieldCols || nr >= FieldRows) continue;
            if (CellAt(g, nc, nr).Block != BlockOpen || !seen.insert({nc, nr}).second) continue;
            todo.push_back({nc, nr});
        }
    }
    return seen;
}

TEST(ShippedContent, EnemiesCanDriveFromBothCornersIntoTheLowerHalf)
{
    const GameType& game = BuiltGame();
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        SCOPED_TRACE(i);
        for (const auto& corner : {std::pair{0, 0}, {18, 0}}) {
            const auto cells = Reachable(*game.Gates[i], corner);
            const auto lower = std::count_if(cells.begin(), cells.end(), [](const auto& p) { return p.second >= 7; });
            EXPECT_GE(lower, 10) << "from column " << corner.first;
            // and they can reach the players' side of the base
            EXPECT_TRUE(cells.contains({Player2StartCol, PlayerStartRow}) ||
                        cells.contains({Player1StartCol, PlayerStartRow}));
        }
    }
}

class ShippedContentTool : public ::testing::Test {
protected:
    const test::TempFolder temp_{"brakkon-content"};
    const fs::path& dir_ = temp_.path;
};

TEST_F(ShippedContentTool, UnpackThenPackGivesBackTheSameBytes)
{
    const auto unpack = test::RunTool(BRAKKON_DATA_TOOL, {"unpack", BRAKKON_GAME_DAT, dir_ / "src"});
    ASSERT_EQ(unpack.ExitCode, 0) << unpack.Err;
    const auto pack = test::RunTool(BRAKKON_DATA_TOOL, {"pack", dir_ / "src", dir_ / "Game.dat"});
    ASSERT_EQ(pack.ExitCode, 0) << pack.Err;
    const auto original = ReadFileBytes(BRAKKON_GAME_DAT);
    ASSERT_TRUE(original);
    EXPECT_EQ(ReadFileBytes(dir_ / "Game.dat"), original);
    // Our own frames all unpack to grids: no BMP file is needed.
    for (const auto& entry : fs::directory_iterator(dir_ / "src" / "pictures"))
        EXPECT_EQ(entry.path().extension(), ".txt") << entry.path();
}

TEST_F(ShippedContentTool, PackingTheSourcesAgainGivesTheBuiltFile)
{
    const auto pack = test::RunTool(BRAKKON_DATA_TOOL, {"pack", BRAKKON_DATA_SOURCES, dir_ / "Game.dat"});
    ASSERT_EQ(pack.ExitCode, 0) << pack.Err;
    EXPECT_EQ(ReadFileBytes(dir_ / "Game.dat"), ReadFileBytes(BRAKKON_GAME_DAT));
}

TEST_F(ShippedContentTool, InfoJsonShowsTheFieldTheGatesAndTheGroups)
{
    const auto info = test::RunTool(BRAKKON_DATA_TOOL, {"info", BRAKKON_GAME_DAT, "--json", "--brief"});
    ASSERT_EQ(info.ExitCode, 0) << info.Err;
    EXPECT_EQ(info.Out.rfind("{\"kind\":\"gamedata\",\"Cols\":19,\"Rows\":14,\"CellWidth\":32,\"CellHeight\":32,", 0), 0u);
    EXPECT_NE(info.Out.find("\"Images\":[[18],[2,2,2,2],"), std::string::npos) << info.Out;
}

// The pictures for people to look at: the library sheet, a field for every
// stored gate and one for the scene, each a whole PNG of the field's size.
TEST_F(ShippedContentTool, RenderDrawsTheLibraryEveryGateAndTheScene)
{
    const fs::path out = dir_ / "pictures";
    const auto render = test::RunTool(BRAKKON_DATA_TOOL, {"render", BRAKKON_GAME_DAT, out, BRAKKON_SCENE});
    ASSERT_EQ(render.ExitCode, 0) << render.Err;
    auto sizeOf = [](const fs::path& png) {
        const auto bytes = ReadFileBytes(png).value_or(std::vector<std::uint8_t>{});
        auto be32 = [&](std::size_t at) { return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]; };
        return bytes.size() > 24 && bytes[1] == 'P' ? std::pair(be32(16), be32(20)) : std::pair(0, 0);
    };
    const std::pair field(FieldCols * FieldCellWidth, FieldRows * FieldCellHeight);
    const std::size_t gates = BuiltGame().Gates.size();
    for (std::size_t i = 0; i < gates; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "gate-%02zu.png", i);
        EXPECT_EQ(sizeOf(out / name), field) << name;
    }
    EXPECT_EQ(sizeOf(out / "Game.png"), field);
    EXPECT_GT(sizeOf(out / "library.png").first, 18 * 3 * FieldCellWidth); // the 18 tiles side by side, thrice the size
    EXPECT_EQ(std::count(render.Out.begin(), render.Out.end(), '\n'), static_cast<std::ptrdiff_t>(gates + 2));
}

} // namespace
} // namespace brakkon
