// What the eye is meant to see in the built "Game.dat", checked on the field
// as "brakkon-data render" composes it: covers hide tanks but show the ground
// through their gaps. And the PNG writer those pictures are written with.
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

// A zlib stream of stored blocks, read back: the blocks and the checksum.
std::vector<std::uint8_t> InflateStored(const std::vector<std::uint8_t>& z)
{
    std::vector<std::uint8_t> out;
    std::size_t at = 2;
    for (bool last = false; !last;) {
        last = z.at(at) & 1;
        const std::size_t n = z.at(at + 1) | (z.at(at + 2) << 8);
        EXPECT_EQ(n ^ 0xFFFF, static_cast<std::size_t>(z.at(at + 3) | (z.at(at + 4) << 8)));
        out.insert(out.end(), z.begin() + static_cast<std::ptrdiff_t>(at + 5), z.begin() + static_cast<std::ptrdiff_t>(at + 5 + n));
        at += 5 + n;
    }
    const std::uint32_t adler = (static_cast<std::uint32_t>(z.at(at)) << 24) | (z.at(at + 1) << 16) | (z.at(at + 2) << 8) | z.at(at + 3);
    EXPECT_EQ(adler, Adler32(out));
    EXPECT_EQ(at + 4, z.size());
    return out;
}

TEST(Png, ChecksumsMatchTheirPublishedValues)
{
    const std::string iend = "IEND";
    EXPECT_EQ(Crc32(std::span(reinterpret_cast<const std::uint8_t*>(iend.data()), iend.size())), 0xAE426082u);
    const std::string wiki = "Wikipedia";
    EXPECT_EQ(Adler32(std::span(reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size())), 0x11E60398u);
}

TEST(Png, AnImageLargerThanOneStoredBlockReadsBackWhole)
{
    const std::int32_t w = 200, h = 100; // 80100 filtered bytes: two stored blocks
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(i * 2654435761u);
    const auto png = EncodePng(w, h, pixels);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // Walk the chunks, checking each CRC, and collect IHDR and IDAT.
    std::vector<std::uint8_t> header, data;
    std::vector<std::string> types;
    for (std::size_t at = 8; at < png.size();) {
        const std::size_t n = (static_cast<std::size_t>(png[at]) << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4), png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const std::span<const std::uint8_t> body(png.data() + at + 4, n + 4);
        const std::size_t crcAt = at + 8 + n;
        const std::uint32_t crc = (static_cast<std::uint32_t>(png[crcAt]) << 24) | (png[crcAt + 1] << 16) | (png[crcAt + 2] << 8) | png[crcAt + 3];
        EXPECT_EQ(crc, Crc32(body)) << type;
        types.push_back(type);
        auto& into = type == "IHDR" ? header : data;
        if (type != "IEND") into.insert(into.end(), body.begin() + 4, body.end());
        at = crcAt + 4;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(header, (std::vector<std::uint8_t>{0, 0, 0, 200, 0, 0, 0, 100, 8, 6, 0, 0, 0}));
    const auto raw = InflateStored(data);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(h * (w * 4 + 1)));
    for (std::int32_t y = 0; y < h; ++y) {
        const std::size_t row = static_cast<std::size_t>(y * (w * 4 + 1));
        ASSERT_EQ(raw[row], 0);
        const std::uint32_t p = pixels[static_cast<std::size_t>(y * w + 7)];
        EXPECT_EQ(raw[row + 1 + 7 * 4], static_cast<std::uint8_t>(p >> 16)); // red
        EXPECT_EQ(raw[row + 1 + 7 * 4 + 3], static_cast<std::uint8_t>(p >> 24)); // alpha
    }
}

} // namespace
} // namespace brakkon
