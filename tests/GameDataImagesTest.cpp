// The image library in "Game.dat": frames written and read back with their
// sizes, pixels, bytes and transparency, each frame right after the
// transparency byte of the one before.
#include "game/Bmp.h"
#include "tests/BmpTestWriter.h"
#include "game/GameData.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::ErrorRecorder;

std::vector<std::uint32_t> Tile(std::size_t colours, std::uint32_t seed)
{
    std::vector<std::uint32_t> p(32 * 32);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = 0xFF000000u | (static_cast<std::uint32_t>((i * 13 + seed) % colours) * 0x0F1D37u & 0xFFFFFFu);
    return p;
}

/// A frame read from a BMP that our encoder would not write: top-down 5-6-5
/// bit fields with two bytes after the rows counted in the image size.
Bitmap ForeignFrame(bool transparent)
{
    test::TestBmp b;
    b.bpp = 16;
    b.width = 3;
    b.height = -2;
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    b.extraImageBytes = 2;
    b.raw = {0xF800, 0x07E0, 0x001F, 0x8410, 0x0821, 0xFFFF};
    Bitmap frame;
    frame.Transparent = transparent;
    EXPECT_TRUE(DecodeBmp(test::WriteTestBmp(b), frame));
    return frame;
}

/// A frame with pixels only: the writer encodes it.
Bitmap PixelsOnly(bool transparent)
{
    Bitmap frame;
    frame.Width = 2;
    frame.Height = 3;
    frame.Pixels = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000};
    frame.Transparent = transparent;
    return frame;
}

GameType GameWithImages()
{
    GameType game;
    game.Images.resize(2);
    game.Images[0].push_back({MakeBitmap(32, 32, Tile(16, 0), false), MakeBitmap(32, 32, Tile(16, 5), true),
                              MakeBitmap(32, 32, Tile(200, 1), true), MakeBitmap(32, 32, Tile(1024, 2), false)});
    game.Images[1].push_back({});
    game.Images[1].push_back({ForeignFrame(true), PixelsOnly(false), ForeignFrame(false)});
    return game;
}

// Magic, version, four sizes, no gates, group count, group 0's image count
// and image 0's frame count come before the first frame.
constexpr std::size_t FirstFrameAt = 4 * 10;

TEST(GameDataImages, FramesRoundTripWithSizesPixelsAndTransparency)
{
    ErrorRecorder errors;
    const GameType original = GameWithImages();
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(EncodeGameDataFile(original, file));

    GameType loaded;
    ASSERT_TRUE(DecodeGameDataFile(file, &loaded));
    EXPECT_TRUE(errors.messages.empty());
    ASSERT_EQ(loaded.Images.size(), original.Images.size());
    for (std::size_t g = 0; g < original.Images.size(); ++g) {
        ASSERT_EQ(loaded.Images[g].size(), original.Images[g].size());
        for (std::size_t i = 0; i < original.Images[g].size(); ++i) {
            ASSERT_EQ(loaded.Images[g][i].size(), original.Images[g][i].size());
            for (std::size_t f = 0; f < original.Images[g][i].size(); ++f) {
                SCOPED_TRACE("group " + std::to_string(g) + " image " + std::to_string(i) + " frame " + std::to_string(f));
                const Bitmap& a = original.Images[g][i][f];
                const Bitmap& b = loaded.Images[g][i][f];
                EXPECT_EQ(b.Width, a.Width);
                EXPECT_EQ(b.Height, a.Height);
                EXPECT_EQ(b.Pixels, a.Pixels);
                EXPECT_EQ(b.Transparent, a.Transparent);
                if (!a.Bytes.empty()) {
                    EXPECT_EQ(b.Bytes, a.Bytes);
                }
            }
        }
    }
    // The frame that had no bytes got ours, and they are written back unchanged.
    EXPECT_EQ(loaded.Images[1][1][1].Bytes, EncodeBmp(2, 3, PixelsOnly(false).Pixels));
    std::vector<std::uint8_t> again;
    ASSERT_TRUE(EncodeGameDataFile(loaded, again));
    EXPECT_EQ(again, file);
}

TEST(GameDataImages, EachFrameStartsRightAfterTheTransparencyByte)
{
    const GameType game = GameWithImages();
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(EncodeGameDataFile(game, file));
    std::size_t at = FirstFrameAt;
    for (const Bitmap& frame : game.Images[0][0]) {
        ASSERT_LE(at + frame.Bytes.size() + 1, file.size());
        EXPECT_TRUE(std::equal(frame.Bytes.begin(), frame.Bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at)));
        at += frame.Bytes.size();
        EXPECT_EQ(file[at], frame.Transparent ? 1 : 0);
        ++at;
    }
    EXPECT_EQ(test::GetLe(file, at), 2u); // group 1's image count follows the last frame
}

TEST(GameDataImages, AnyNonZeroTransparencyByteMeansTransparent)
{
    GameType game;
    game.Images.resize(1);
    game.Images[0].push_back({MakeBitmap(1, 1, {0xFF00FF}, false)});
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(EncodeGameDataFile(game, file));
    ASSERT_EQ(file.back(), 0);
    for (const std::uint8_t value : {0x01, 0x02, 0x80, 0xFF}) {
        file.back() = value;
        GameType loaded;
        ASSERT_TRUE(DecodeGameDataFile(file, &loaded));
        EXPECT_TRUE(loaded.Images[0][0][0].Transparent) << int{value};
    }
}

TEST(GameDataImages, DamagedFrameGivesOneMessageAndLeavesTheGame)
{
    const GameType game = GameWithImages();
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(EncodeGameDataFile(game, file));
    struct Damage {
        const char* name;
        std::size_t at;
        std::uint8_t value;
    };
    const std::vector<Damage> cases = {
        {"signature", FirstFrameAt, 'X'},
        {"header size", FirstFrameAt + 14, 41},
        {"compression", FirstFrameAt + 30, 1},
        {"depth", FirstFrameAt + 28, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto damaged = file;
        damaged[c.at] = c.value;
        ErrorRecorder errors;
        GameType loaded;
        loaded.Images.resize(3);
        ByteReader r(damaged);
        r.Skip(8); // magic and version
        EXPECT_FALSE(ReadGameData(r, &loaded));
        EXPECT_EQ(errors.messages, std::vector<std::string>{std::string(MsgDataIoError)});
        EXPECT_EQ(loaded.Images.size(), 3u);
    }
    // A file cut inside the last frame.
    ErrorRecorder errors;
    GameType loaded;
    file.resize(file.size() - 3);
    EXPECT_EQ(DecodeGameDataFile(file, &loaded).Message, MsgDataIoError);
    EXPECT_TRUE(loaded.Images.empty());
}

TEST(GameDataImages, FrameWithoutStorablePictureFailsTheSave)
{
    for (const auto& bad : {Bitmap{{}, 2, 2, {0xFF000000}, false}, Bitmap{{}, 0, 0, {}, false},
                            Bitmap{{}, MaxBmpSide + 1, 1, std::vector<std::uint32_t>(MaxBmpSide + 1), false}}) {
        GameType game;
        game.Images.resize(1);
        game.Images[0].push_back({bad});
        std::vector<std::uint8_t> file;
        EXPECT_EQ(EncodeGameDataFile(game, file).Message, MsgDataIoError);
        EXPECT_TRUE(file.empty());
    }
}

} // namespace
} // namespace brakkon
