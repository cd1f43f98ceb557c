// What the eye is meant to see in the built "Game.dat", checked on the field
// as "brakkon-data render" composes it: covers hide tanks but show the ground
// through their gaps. And the PNG writer those pictures are written with:
// what it writes reads back to the same pixels.
#include "tests/BuiltContent.h"
#include "game/GameData.h"
#include "content/PictureSheets.h"
#include "content/Png.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace brakkon {
namespace {

using test::BuiltGame;

SpriteType Tank(std::int32_t group, std::int32_t col, std::int32_t row, std::int32_t direction, std::int32_t frame = 0)
{
    const auto kind = group <= 6 ? (group <= 3 ? KindPlayer1 : KindPlayer2) : KindEnemy;
    SpriteType s = test::SpriteAt(static_cast<std::uint8_t>(kind), col, row, 0);
    s.ImageGroup = group;
    s.Direction = direction;
    s.Frame = frame;
    return s;
}

TEST(ContentRender, ACoverHidesATankButShowsItThroughItsGaps)
{
    const GameType& game = BuiltGame();
    for (std::int32_t cover = TileCoverFirst; cover <= TileCoverLast; ++cover) {
        SCOPED_TRACE(cover);
        GateType gate;
        gate.Cells.resize(1);
        CellType cell;
        cell.GroundImage = TileDefaultGround;
        cell.TopImage = cover;
        cell.Right = cell.Bottom = 31;
        gate.Cells[0].push_back(std::make_unique<CellType>(cell));
        const auto empty = ComposeField(game.Images, gate);
        gate.Sprites.push_back(std::make_unique<SpriteType>(Tank(GroupEnemyLargeTank, 0, 0, DirUp)));
        const auto hidden = ComposeField(game.Images, gate);
        const Bitmap& top = game.Images[GroupTiles][0][static_cast<std::size_t>(cover)];
        const Bitmap& tank = game.Images[GroupEnemyLargeTank][DirUp][0];
        int coverPixels = 0, tankShows = 0, tankPixels = 0;
        for (std::int32_t y = 0; y < 32; ++y)
            for (std::int32_t x = 0; x < 32; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * 32 + x);
                const bool coverHere = top.Pixels[i] != top.TransparentColour();
                const bool tankHere = tank.Pixels[i] != tank.TransparentColour();
                tankPixels += tankHere;
                if (coverHere) {
                    ++coverPixels;
                    EXPECT_EQ(hidden.At(x, y), empty.At(x, y)); // the cover is drawn over the tank
                } else if (tankHere && hidden.At(x, y) != empty.At(x, y)) {
                    ++tankShows;
                }
            }
        // The cover hides most of the tank, yet some of it shows through.
        EXPECT_GT(coverPixels, 32 * 32 / 3);
        EXPECT_GT(tankShows, 0);
        EXPECT_LT(tankShows, tankPixels / 2);
    }
}

struct PngCase {
    const char* name;
    std::int32_t width, height;
    std::uint32_t (*pixel)(std::size_t i);
};

// Every alpha, including colours under alpha 0, which a writer that
// premultiplies or drops them would lose.
std::uint32_t Scrambled(std::size_t i) { return static_cast<std::uint32_t>(i * 2654435761u); }
std::uint32_t Flat(std::size_t) { return 0xFF808000u; }
std::uint32_t SeeThroughRed(std::size_t i) { return i % 3 == 0 ? 0x00FF0000u : 0x80FF0000u; }

void PrintTo(const PngCase& c, std::ostream* os) { *os << c.name; }

class PngWriter : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngWriter, ReadsBackToTheSamePixels)
{
    const PngCase& c = GetParam();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(c.width) * static_cast<std::size_t>(c.height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = c.pixel(i);
    const auto png = EncodePng(c.width, c.height, pixels);
    const PictureResult read = DecodePng(png);
    ASSERT_TRUE(read.Decoded) << read.Problem;
    EXPECT_EQ(read.Decoded->Width, c.width);
    EXPECT_EQ(read.Decoded->Height, c.height);
    EXPECT_EQ(read.Decoded->Pixels, pixels);
}

INSTANTIATE_TEST_SUITE_P(Png, PngWriter,
                         ::testing::Values(PngCase{"OnePixel", 1, 1, Scrambled}, PngCase{"EveryAlpha", 200, 100, Scrambled},
                                           PngCase{"ColoursUnderAlphaZero", 7, 5, SeeThroughRed},
                                           PngCase{"Flat", 256, 256, Flat}),
                         test::CaseName);

TEST(Png, AFlatPictureIsCompressed)
{
    const auto png = EncodePng(256, 256, std::vector<std::uint32_t>(256 * 256, Flat(0)));
    EXPECT_GT(png.size(), 8u);
    EXPECT_LT(png.size(), 2048u) << "256 KiB of one colour";
}

TEST(Png, PixelsThatDoNotMatchTheSizeGiveNoFile)
{
    EXPECT_TRUE(EncodePng(2, 2, {1, 2, 3}).empty());
    EXPECT_TRUE(EncodePng(0, 0, {}).empty());
}

} // namespace
} // namespace brakkon
