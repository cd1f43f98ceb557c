// Writing BMP images: the depth chosen by the colour count, every header
// field, and the round trip back through the reader.
#include "game/Bmp.h"
#include "tests/BmpTestWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace brakkon {
namespace {

using test::GetLe;

/// w x h opaque pixels using exactly `colours` distinct colours, no row a
/// mirror of another (so a flipped image would not compare equal).
std::vector<std::uint32_t> PixelsWithColours(std::int32_t w, std::int32_t h, std::size_t colours)
{
    std::vector<std::uint32_t> p;
    const auto n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t k = (i * 7) % colours; // 7 is prime to every count below
        p.push_back(0xFF000000u | (static_cast<std::uint32_t>(0x102030 + k * 0x0F1D37) & 0xFFFFFFu));
    }
    return p;
}

struct EncodeCase {
    const char* name;
    std::int32_t w, h;
    std::size_t colours;
    std::uint32_t bpp;
};

TEST(BmpEncode, DepthFollowsTheColourCountAndEveryFieldIsRight)
{
    const std::vector<EncodeCase> cases = {
        {"single pixel", 1, 1, 1, 4},
        {"one colour, odd width", 3, 1, 1, 4},
        {"16 colours, odd width", 7, 3, 16, 4},
        {"32 x 32 tile of 16 colours", 32, 32, 16, 4},
        {"17 colours", 5, 4, 17, 8},
        {"256 colours", 16, 16, 256, 8},
        {"257 colours", 17, 16, 257, 24},
        {"many colours, odd width", 33, 9, 297, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto pixels = PixelsWithColours(c.w, c.h, c.colours);
        const auto bytes = EncodeBmp(c.w, c.h, pixels);
        ASSERT_GE(bytes.size(), 54u);

        const std::size_t tableEntries = c.bpp == 4 ? 16 : (c.bpp == 8 ? c.colours : 0);
        const std::size_t rowBytes = test::TestRowBytes(c.bpp, c.w);
        const std::size_t pixelOffset = 54 + tableEntries * 4;
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(GetLe(bytes, 2), bytes.size());
        EXPECT_EQ(GetLe(bytes, 6), 0u);
        EXPECT_EQ(GetLe(bytes, 10), pixelOffset);
        EXPECT_EQ(GetLe(bytes, 14), 40u);
        EXPECT_EQ(GetLe(bytes, 18), static_cast<std::uint32_t>(c.w));
        EXPECT_EQ(GetLe(bytes, 22), static_cast<std::uint32_t>(c.h)); // positive: bottom-up
        EXPECT_EQ(GetLe(bytes, 26, 2), 1u);
        EXPECT_EQ(GetLe(bytes, 28, 2), c.bpp);
        EXPECT_EQ(GetLe(bytes, 30), 0u);
        EXPECT_EQ(GetLe(bytes, 34), rowBytes * static_cast<std::size_t>(c.h));
        EXPECT_EQ(GetLe(bytes, 46), c.bpp == 8 ? c.colours : 0u);
        EXPECT_EQ(bytes.size(), pixelOffset + rowBytes * static_cast<std::size_t>(c.h));

        // Row padding is zero.
        const std::size_t used = (static_cast<std::size_t>(c.w) * c.bpp + 7) / 8;
        for (std::size_t r = 0; r < static_cast<std::size_t>(c.h); ++r)
            for (std::size_t i = used; i < rowBytes; ++i) EXPECT_EQ(bytes[pixelOffset + r * rowBytes + i], 0) << r;

        EXPECT_EQ(MeasureBmp(bytes), bytes.size());
        Bitmap out;
        ASSERT_TRUE(DecodeBmp(bytes, out));
        EXPECT_EQ(out.Width, c.w);
        EXPECT_EQ(out.Height, c.h);
        EXPECT_EQ(out.Pixels, pixels);
        EXPECT_EQ(out.Bytes, bytes);
    }
}

TEST(BmpEncode, BottomRowIsWrittenFirst)
{
    // 1 x 2 in two colours: the first pixel index in the file is the bottom one.
    const auto bytes = EncodeBmp(1, 2, {0xFF0000FF, 0xFFFF0000});
    ASSERT_EQ(GetLe(bytes, 28, 2), 4u);
    const std::size_t rows = GetLe(bytes, 10);
    const std::uint32_t bottomIndex = bytes[rows] >> 4;
    EXPECT_EQ(GetLe(bytes, 54 + 4 * bottomIndex), 0xFF0000u);
}

TEST(BmpEncode, BadSizesGiveNoBytes)
{
    struct Case {
        const char* name;
        std::int32_t w, h;
        std::size_t pixels;
    };
    const std::vector<Case> cases = {
        {"no width", 0, 1, 0},          {"no height", 1, 0, 0},
        {"negative width", -1, 1, 1},   {"negative height", 2, -2, 4},
        {"too few pixels", 2, 2, 3},    {"too many pixels", 2, 2, 5},
        {"wider than the bound", MaxBmpSide + 1, 1, MaxBmpSide + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(EncodeBmp(c.w, c.h, std::vector<std::uint32_t>(c.pixels, 0xFFFFFFFF)).empty());
    }
}

TEST(BmpEncode, TopByteIsIgnoredAndMakeBitmapStoresOpaquePixels)
{
    const std::vector<std::uint32_t> mixed = {0x00112233, 0x7F112233, 0xFF445566, 0x01000000};
    const std::vector<std::uint32_t> opaque = {0xFF112233, 0xFF112233, 0xFF445566, 0xFF000000};
    EXPECT_EQ(EncodeBmp(2, 2, mixed), EncodeBmp(2, 2, opaque));

    const Bitmap b = MakeBitmap(2, 2, mixed, true);
    EXPECT_EQ(b.Width, 2);
    EXPECT_EQ(b.Height, 2);
    EXPECT_TRUE(b.Transparent);
    EXPECT_EQ(b.Pixels, opaque);
    EXPECT_EQ(b.TransparentColour(), 0xFF445566u);
    Bitmap decoded;
    ASSERT_TRUE(DecodeBmp(b.Bytes, decoded));
    EXPECT_EQ(decoded.Pixels, b.Pixels);
    EXPECT_EQ(decoded.Bytes, b.Bytes);
}

TEST(BmpEncode, DecodedForeignImagesReencodeToTheSamePixels)
{
    // A top-down 5-6-5 image and a 32-bit one, read and written again by us.
    test::TestBmp fields;
    fields.bpp = 16;
    fields.width = 3;
    fields.height = -2;
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    fields.raw = {0xF800, 0x07E0, 0x001F, 0x8410, 0x0821, 0xFFFF};
    test::TestBmp plain32;
    plain32.bpp = 32;
    plain32.width = 2;
    plain32.height = 2;
    plain32.raw = {0x00010203, 0xAA040506, 0x00070809, 0x000A0B0C};
    for (const auto& foreign : {fields, plain32}) {
        Bitmap first;
        ASSERT_TRUE(DecodeBmp(test::WriteTestBmp(foreign), first));
        const auto again = EncodeBmp(first.Width, first.Height, first.Pixels);
        Bitmap second;
        ASSERT_TRUE(DecodeBmp(again, second));
        EXPECT_EQ(second.Pixels, first.Pixels);
        EXPECT_EQ(second.Width, first.Width);
        EXPECT_EQ(second.Height, first.Height);
    }
}

} // namespace
} // namespace brakkon
