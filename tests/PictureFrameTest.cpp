// Pictures made into frames: the key colour and the alpha channel, the depth
// of the stored image, BMP forms ImageMagick does not write (RLE4 with deltas,
// top-down RLE8, 16-bit alpha), and damage refused saying what is wrong.
#include "game/Bmp.h"
#include "content/Png.h"
#include "tests/TestSupport.h"

#include <array>

namespace brakkon {
namespace {

constexpr std::uint32_t K = 0xFF000000, M = 0xFF800000, G = 0xFF008000, N = 0xFF000080, R = 0xFFFF0000,
                        F = 0xFFFF00FF, W = 0xFFFFFFFF, Odd = 0xFF123456;
constexpr std::uint32_t Clear = 0x00ABCDEF; // alpha 0 over a colour that must not show

/// A BMP file: an info header of `headerSize` bytes (40 to 124; masks inside
/// it from 56 on), a colour table and the given pixel data.
std::vector<std::uint8_t> Bmp(std::uint32_t headerSize, std::int32_t width, std::int32_t height, std::uint32_t bpp,
                              std::uint32_t compression, const std::vector<std::uint32_t>& table,
                              const std::vector<std::uint8_t>& data, std::array<std::uint32_t, 4> masks = {})
{
    std::vector<std::uint8_t> b = {'B', 'M'};
    const auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto offset = static_cast<std::uint32_t>(14 + headerSize + 4 * table.size());
    const auto size = static_cast<std::uint32_t>(data.size());
    for (const auto v : {offset + size, 0u, offset, headerSize, std::uint32_t(width), std::uint32_t(height)}) put(v, 4);
    put(1, 2);
    put(bpp, 2);
    for (const auto v : {compression, size, 0u, 0u, std::uint32_t(table.size()), 0u}) put(v, 4);
    for (const auto m : masks)
        if (b.size() < 14 + headerSize) put(m, 4);
    b.resize(14 + headerSize);
    for (const auto c : table) put(c & 0xFFFFFFu, 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

const std::vector<std::uint32_t> Table = {K, M, G, N, R, F, W, Odd};

struct DecodeCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::int32_t width;
    std::vector<std::uint32_t> expected; ///< top row first
};

class BmpForms : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(BmpForms, DecodeToTheirPixels)
{
    const PictureResult r = DecodeBmpPicture(GetParam().bytes);
    ASSERT_TRUE(r.Decoded) << r.Problem;
    EXPECT_EQ(r.Decoded->Width, GetParam().width);
    EXPECT_EQ(r.Decoded->Pixels, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Crafted, BmpForms,
    ::testing::Values(
        // Bottom row: a run of alternating 1 2; middle: a literal of three
        // (padded) and a run; top: a delta of two, a run cut at the row's end.
        DecodeCase{"rle4_runs_literals_and_a_delta",
                   Bmp(40, 5, 3, 4, 2, Table,
                       {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 0, 0, 2, 2, 0, 9, 0x77, 0, 1}),
                   5, {K, K, Odd, Odd, Odd, N, R, F, W, W, M, G, M, G, M}},
        DecodeCase{"rle8_top_down", Bmp(40, 3, -2, 8, 1, Table, {0, 3, 6, 5, 4, 0, 0, 0, 3, 2, 0, 1}), 3,
                   {W, F, R, G, G, G}},
        // Version 5 header, ARGB1555: alpha 1 is opaque; 5 bits repeat into 8.
        DecodeCase{"v5_16_bit_alpha_bit_fields",
                   Bmp(124, 2, 1, 16, 3, {}, {0x1F, 0xFC, 0xE0, 0x03}, {0x7C00, 0x03E0, 0x001F, 0x8000}), 2,
                   {0xFFFF00FF, 0x0000FF00}},
        // 32 bits whose fourth bytes are all 0 mean no alpha.
        DecodeCase{"rgb32_with_an_empty_fourth_byte", Bmp(40, 2, 1, 32, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), 2,
                   {0xFF030201, 0xFF060504}}),
    test::CaseName);

struct DamageCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::string problem;
};

class Damage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damage, IsRefusedWithWhatIsWrong)
{
    const PictureResult r = DecodePicture(GetParam().bytes, DecodePng);
    EXPECT_FALSE(r.Decoded);
    EXPECT_NE(r.Problem.find(GetParam().problem), std::string::npos) << r.Problem;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Damage,
    ::testing::Values(
        DamageCase{"jpeg_inside", Bmp(40, 1, 1, 24, 4, {}, {0, 0, 0, 0}), "JPEG picture inside"},
        DamageCase{"unknown_compression", Bmp(40, 1, 1, 24, 9, {}, {0, 0, 0, 0}), "compression 9 is not known"},
        DamageCase{"unknown_header", Bmp(64, 1, 1, 24, 0, {}, {0, 0, 0, 0}), "header of 64 bytes"},
        DamageCase{"absurd_size", Bmp(40, 20000, 20000, 8, 1, Table, {0, 1}), "20000 x 20000 pixels"},
        DamageCase{"rows_cut_short", Bmp(40, 4, 4, 24, 0, {}, {1, 2, 3}), "ends inside its picture data"},
        DamageCase{"rle_without_an_end", Bmp(40, 4, 4, 8, 1, Table, {4, 1, 0, 0}), "ends before the picture does"},
        DamageCase{"broken_mask", Bmp(124, 1, 1, 16, 3, {}, {0, 0, 0, 0}, {0x0F0F, 0, 0, 0}), "not one run of bits"},
        DamageCase{"rle8_with_4_bits", Bmp(40, 1, 1, 4, 1, Table, {0, 1}), "RLE8 compression with 4 bits"},
        DamageCase{"png_damaged", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'},
                   "damaged PNG picture"},
        DamageCase{"gif", {'G', 'I', 'F', '8', '9', 'a'}, "neither a BMP nor a PNG"}),
    test::CaseName);

struct FrameCase {
    std::string name;
    std::int32_t width;
    std::vector<std::uint32_t> picture; ///< top row first; the bottom row is the last
    std::vector<std::uint32_t> frame;
    std::uint32_t key;
    std::uint32_t bpp;
};

class Frames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(Frames, TakeTheKeyColourAndTheirDepth)
{
    const FrameCase& c = GetParam();
    const auto height = static_cast<std::int32_t>(c.picture.size()) / c.width;
    const Bitmap frame = FrameFromPicture({c.width, height, c.picture});
    EXPECT_TRUE(frame.Transparent);
    EXPECT_EQ(frame.Pixels, c.frame);
    EXPECT_EQ(frame.TransparentColour(), c.key);
    ASSERT_GT(frame.Bytes.size(), 30u);
    EXPECT_EQ(frame.Bytes[14], 40); // header size
    EXPECT_EQ(frame.Bytes[28], c.bpp);
    Bitmap stored; // what "Game.dat" gives back
    ASSERT_TRUE(DecodeBmp(frame.Bytes, stored));
    EXPECT_EQ(stored.Pixels, frame.Pixels);
}

/// `first` at the bottom-left, then every standard colour.
std::vector<std::uint32_t> SixteenAfter(std::uint32_t first)
{
    std::vector<std::uint32_t> p = {first};
    p.insert(p.end(), StandardPalette.begin(), StandardPalette.end());
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Frames,
    ::testing::Values(
        FrameCase{"standard_colours_keep_4_bits", 2, {W, R, K, N}, {W, R, K, N}, K, 4},
        FrameCase{"another_colour_needs_24_bits", 2, {W, Odd, K, N}, {W, Odd, K, N}, K, 24},
        FrameCase{"clear_pixels_take_the_bottom_left_colour", 2, {Clear, R, G, Clear}, {G, R, G, G}, G, 4},
        FrameCase{"partly_clear_pixels_keep_their_colour", 2, {0x80FF0000, W, G, W}, {R, W, G, W}, G, 4},
        // A clear bottom-left pixel's colour means nothing: the key must be
        // a colour no visible pixel has, not the black under it.
        FrameCase{"clear_bottom_left_keys_fuchsia", 2, {K, Clear, 0x00000000, R}, {K, F, F, R}, F, 4},
        FrameCase{"fuchsia_shown_keys_the_first_free_standard_colour", 2, {K, F, Clear, W}, {K, F, M, W}, M, 4},
        FrameCase{"all_sixteen_shown_keys_a_free_colour", 17, SixteenAfter(Clear), SixteenAfter(0xFF000001),
                  0xFF000001, 24}),
    test::CaseName);

} // namespace
} // namespace brakkon
