// Reading BMP images: every depth and header form decoded pixel for pixel,
// the exact end found with the next image right behind, every truncation and
// a table of damaged headers refused.
#include "game/Bmp.h"
#include "tests/BmpTestWriter.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace brakkon {
namespace {

using test::PatchLe;
using test::TestBmp;
using test::WriteTestBmp;

constexpr std::uint32_t Black = 0xFF000000u;

/// n distinct colours (0xRRGGBB); the odd step makes them distinct mod 2^24.
std::vector<std::uint32_t> TestColours(std::size_t n)
{
    std::vector<std::uint32_t> c;
    for (std::size_t k = 0; k < n; ++k) c.push_back(static_cast<std::uint32_t>(0x102030 + k * 0x0F1D37) & 0xFFFFFFu);
    return c;
}

/// n indices cycling through 0..mod-1 in a scrambled order.
std::vector<std::uint32_t> Indices(std::size_t n, std::uint32_t mod)
{
    std::vector<std::uint32_t> v;
    for (std::size_t i = 0; i < n; ++i) v.push_back(static_cast<std::uint32_t>((i * 5 + i / 3) % mod));
    return v;
}

/// What a table image should decode to (every index inside the table).
std::vector<std::uint32_t> ThroughTable(const TestBmp& b)
{
    std::vector<std::uint32_t> out;
    for (const auto i : b.raw) out.push_back(Black | (b.table.at(i) & 0xFFFFFFu));
    return out;
}

TestBmp Indexed(std::uint32_t bpp, std::int32_t w, std::int32_t h, std::size_t tableSize, std::uint32_t coloursUsed = 0)
{
    TestBmp b;
    b.bpp = bpp;
    b.width = w;
    b.height = h;
    b.table = TestColours(tableSize);
    b.coloursUsed = coloursUsed;
    b.raw = Indices(static_cast<std::size_t>(w) * static_cast<std::size_t>(std::abs(h)),
                    static_cast<std::uint32_t>(tableSize));
    return b;
}

TestBmp Direct(std::uint32_t bpp, std::int32_t w, std::int32_t h, std::vector<std::uint32_t> raw,
               std::array<std::uint32_t, 3> masks = {}, bool bitFields = false)
{
    TestBmp b;
    b.bpp = bpp;
    b.width = w;
    b.height = h;
    b.raw = std::move(raw);
    b.masks = masks;
    b.compression = bitFields ? 3 : 0;
    return b;
}

TestBmp Core(TestBmp b)
{
    b.headerSize = 12;
    return b;
}

struct DecodeCase {
    std::string name;
    TestBmp bmp;
    std::vector<std::uint32_t> expected; ///< empty: the table colours of the indices
};

std::vector<DecodeCase> DecodeCases()
{
    constexpr std::array<std::uint32_t, 3> m565{0xF800, 0x07E0, 0x001F};
    constexpr std::array<std::uint32_t, 3> m444{0x0F00, 0x00F0, 0x000F};
    constexpr std::array<std::uint32_t, 3> m101010{0x3FF00000, 0x000FFC00, 0x000003FF};

    auto oneBit = Indexed(1, 11, 2, 2);
    oneBit.table = {0xEE102030, 0x01F0E0D0}; // the fourth byte of an entry is unused
    auto noImageSize = Indexed(8, 6, 2, 256);
    noImageSize.writeImageSize = false;
    auto trailing = Indexed(8, 3, 2, 4, 4);
    trailing.extraImageBytes = 2;
    auto hint24 = Direct(24, 2, 1, {0x00FF00, 0x0000FF});
    hint24.table = TestColours(2);
    hint24.coloursUsed = 2;
    auto noImageSize24 = Direct(24, 1, 3, {0x112233, 0x445566, 0x778899});
    noImageSize24.writeImageSize = false;
    auto beyond4 = Indexed(4, 3, 2, 3, 3);
    beyond4.raw = {0, 1, 2, 3, 15, 7};
    auto beyond8 = Indexed(8, 2, 1, 1, 1);
    beyond8.raw = {0, 255};
    auto beyond1 = Indexed(1, 2, 1, 1, 1);
    beyond1.raw = {1, 0};
    const auto t3 = TestColours(3);
    const auto t1 = TestColours(1);

    return {
        {"1 bit, odd width, unused fourth byte", oneBit, {}},
        {"1 bit, 33 wide", Indexed(1, 33, 3, 2), {}},
        {"4 bits", Indexed(4, 5, 3, 16), {}},
        {"4 bits, 5 colours used", Indexed(4, 5, 3, 5, 5), {}},
        {"8 bits, full table", Indexed(8, 3, 3, 256), {}},
        {"8 bits, 3 colours used, width 1", Indexed(8, 1, 4, 3, 3), {}},
        {"8 bits, image size 0", noImageSize, {}},
        {"8 bits, image size with 2 trailing bytes", trailing, {}},
        {"16 bits 5-5-5",
         Direct(16, 3, 3, {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x4210, 0x0421, 0x8000, 0x0000, 0xFC00}),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF848484, 0xFF080808, Black, Black, 0xFFFF0000}},
        {"16 bits, 5-6-5 bit fields", Direct(16, 3, 2, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x8410, 0x0821}, m565, true),
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF848284, 0xFF080408}},
        {"16 bits, 4-4-4 bit fields", Direct(16, 2, 2, {0xF0F0, 0x0F00, 0x0888, 0xF123}, m444, true),
         {0xFF00FF00, 0xFFFF0000, 0xFF888888, 0xFF112233}},
        {"24 bits, odd width", Direct(24, 3, 2, {0x123456, 0xABCDEF, 0x000000, 0xFFFFFF, 0x010203, 0x808080}),
         {0xFF123456, 0xFFABCDEF, Black, 0xFFFFFFFF, 0xFF010203, 0xFF808080}},
        {"24 bits, image size 0, width 1", noImageSize24, {0xFF112233, 0xFF445566, 0xFF778899}},
        {"24 bits with a colour table hint", hint24, {0xFF00FF00, 0xFF0000FF}},
        {"32 bits, fourth byte unused", Direct(32, 3, 1, {0xFF123456, 0x00ABCDEF, 0x7F000001}),
         {0xFF123456, 0xFFABCDEF, 0xFF000001}},
        {"32 bits, 10-bit bit fields",
         Direct(32, 3, 1, {0x3FF80001, 0x000FFFFC, 0xC0000000}, m101010, true),
         {0xFFFF8000, 0xFF00FFFF, Black}},
        {"32 bits, bit fields without blue",
         Direct(32, 2, 1, {0x12345678, 0xFFFFFFFF}, {0xFF000000, 0x00FF0000, 0}, true),
         {0xFF123400, 0xFFFFFF00}},
        {"32 bits, bit fields red lowest", Direct(32, 1, 1, {0x00563412}, {0xFF, 0xFF00, 0xFF0000}, true),
         {0xFF123456}},
        {"core header, 1 bit", Core(Indexed(1, 9, 2, 2)), {}},
        {"core header, 4 bits", Core(Indexed(4, 3, 3, 16)), {}},
        {"core header, 8 bits", Core(Indexed(8, 2, 2, 256)), {}},
        {"core header, 24 bits", Core(Direct(24, 3, 2, {1, 2, 3, 0xFF0000, 0x00FF00, 0x0000FF})),
         {0xFF000001, 0xFF000002, 0xFF000003, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
        {"top-down, 1 bit", Indexed(1, 5, -3, 2), {}},
        {"top-down, 8 bits", Indexed(8, 3, -2, 4, 4), {}},
        {"top-down, 24 bits", Direct(24, 2, -2, {0x010101, 0x020202, 0x030303, 0x040404}),
         {0xFF010101, 0xFF020202, 0xFF030303, 0xFF040404}},
        {"top-down, 5-6-5 bit fields", Direct(16, 1, -2, {0xF800, 0x001F}, m565, true), {0xFFFF0000, 0xFF0000FF}},
        {"4 bits, indices beyond the table are black", beyond4, {Black | t3[0], Black | t3[1], Black | t3[2], Black, Black, Black}},
        {"8 bits, index 255 beyond a table of 1", beyond8, {Black | t1[0], Black}},
        {"1 bit, index 1 beyond a table of 1", beyond1, {Black, Black | t1[0]}},
    };
}

TEST(BmpDecode, EveryDepthAndFormDecodesPixelForPixel)
{
    const auto next = WriteTestBmp(Indexed(8, 1, 1, 1, 1));
    for (const auto& c : DecodeCases()) {
        SCOPED_TRACE(c.name);
        const auto bytes = WriteTestBmp(c.bmp);
        const auto expected = c.expected.empty() ? ThroughTable(c.bmp) : c.expected;
        ASSERT_EQ(MeasureBmp(bytes), bytes.size());

        // The next frame starts right after the image: measuring stops there.
        auto stream = bytes;
        stream.insert(stream.end(), next.begin(), next.end());
        EXPECT_EQ(MeasureBmp(stream), bytes.size());

        Bitmap out;
        out.Transparent = true;
        ASSERT_TRUE(DecodeBmp(stream, out));
        EXPECT_EQ(out.Width, c.bmp.width);
        EXPECT_EQ(out.Height, std::abs(c.bmp.height));
        EXPECT_EQ(out.Pixels, expected);
        EXPECT_EQ(out.Bytes, bytes);
        EXPECT_TRUE(out.Transparent);
    }
}

TEST(BmpDecode, EveryTruncationIsRefusedAndLeavesTheBitmap)
{
    const Bitmap before = MakeBitmap(1, 1, {0x123456}, true);
    for (const auto& c : DecodeCases()) {
        SCOPED_TRACE(c.name);
        const auto bytes = WriteTestBmp(c.bmp);
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            const auto prefix = std::span<const std::uint8_t>(bytes).first(cut);
            ASSERT_FALSE(MeasureBmp(prefix)) << "cut at " << cut;
            Bitmap out = before;
            ASSERT_FALSE(DecodeBmp(prefix, out)) << "cut at " << cut;
            ASSERT_EQ(out, before) << "cut at " << cut;
        }
    }
}

// ---- Damaged and tolerated headers ----

// Offsets in the file header and the 40-byte information header.
constexpr std::size_t AtTotalSize = 2, AtReserved = 6, AtPixelOffset = 10, AtHeaderSize = 14, AtWidth = 18,
                      AtHeight = 22, AtPlanes = 26, AtBpp = 28, AtCompression = 30, AtImageSize = 34,
                      AtColoursUsed = 46, AtColoursImportant = 50;

TestBmp Base8() { return Indexed(8, 2, 2, 4, 4); }
TestBmp Base565() { return Direct(16, 2, 2, {0xF800, 0x07E0, 0x001F, 0xFFFF}, {0xF800, 0x07E0, 0x001F}, true); }

std::function<std::vector<std::uint8_t>()> Patched(TestBmp b, std::size_t at, std::uint32_t value, int width = 4)
{
    return [=] {
        auto bytes = WriteTestBmp(b);
        PatchLe(bytes, at, value, width);
        return bytes;
    };
}

std::function<std::vector<std::uint8_t>()> Written(TestBmp b)
{
    return [=] { return WriteTestBmp(b); };
}

template <class F> TestBmp With(TestBmp b, F change)
{
    change(b);
    return b;
}

struct DamageCase {
    std::string name;
    std::function<std::vector<std::uint8_t>()> make;
};

TEST(BmpDecode, DamagedHeadersAreRefused)
{
    const auto intMin = static_cast<std::uint32_t>(INT_MIN);
    const std::vector<DamageCase> cases = {
        {"signature BA", Patched(Base8(), 1, 'A', 1)},
        {"signature bm", Patched(Base8(), 0, 'b' | ('m' << 8), 2)},
        {"header size 0", Patched(Base8(), AtHeaderSize, 0)},
        {"header size 39", Patched(Base8(), AtHeaderSize, 39)},
        {"header size 41", Patched(Base8(), AtHeaderSize, 41)},
        {"header size 108", Patched(Base8(), AtHeaderSize, 108)},
        {"header size 0xFFFFFFFF", Patched(Base8(), AtHeaderSize, 0xFFFFFFFF)},
        {"run-length 8", Patched(Base8(), AtCompression, 1)},
        {"run-length 4", Patched(Base8(), AtCompression, 2)},
        {"bit fields at 8 bits", Patched(Base8(), AtCompression, 3)},
        {"embedded JPEG", Patched(Base8(), AtCompression, 4)},
        {"embedded PNG", Patched(Base8(), AtCompression, 5)},
        {"compression 0x80000000", Patched(Base8(), AtCompression, 0x80000000)},
        {"alpha bit fields at 16 bits", Patched(Base565(), AtCompression, 6)},
        {"bit fields at 24 bits", Written(Direct(24, 1, 1, {0}, {0xFF0000, 0xFF00, 0xFF}, true))},
        {"width 0", Patched(Base8(), AtWidth, 0)},
        {"width -2", Patched(Base8(), AtWidth, static_cast<std::uint32_t>(-2))},
        {"width INT_MIN", Patched(Base8(), AtWidth, intMin)},
        {"width INT_MAX", Patched(Base8(), AtWidth, INT_MAX)},
        {"height 0", Patched(Base8(), AtHeight, 0)},
        {"height INT_MIN", Patched(Base8(), AtHeight, intMin)},
        {"height INT_MAX", Patched(Base8(), AtHeight, INT_MAX)},
        {"height -INT_MAX", Patched(Base8(), AtHeight, static_cast<std::uint32_t>(-INT_MAX))},
        {"depth 0", Patched(Base8(), AtBpp, 0, 2)},
        {"depth 2", Patched(Base8(), AtBpp, 2, 2)},
        {"depth 15", Patched(Base8(), AtBpp, 15, 2)},
        {"depth 48", Patched(Base8(), AtBpp, 48, 2)},
        {"depth 0xFFFF", Patched(Base8(), AtBpp, 0xFFFF, 2)},
        {"257 colours used at 8 bits", Written(Indexed(8, 17, 16, 257, 257))},
        {"17 colours used at 4 bits", Written(Indexed(4, 5, 4, 17, 17))},
        {"3 colours used at 1 bit", Written(Indexed(1, 3, 1, 3, 3))},
        {"colours used 0xFFFFFFFF", Patched(Base8(), AtColoursUsed, 0xFFFFFFFF)},
        {"colours used 0xFFFFFFFF at 32 bits", Patched(Direct(32, 1, 1, {0}), AtColoursUsed, 0xFFFFFFFF)},
        {"image size one byte short of the rows", Patched(Base8(), AtImageSize, 7)},
        {"image size 0xFFFFFFFF", Patched(Base8(), AtImageSize, 0xFFFFFFFF)},
        {"rows one byte short", [] { auto b = WriteTestBmp(Base8()); b.pop_back(); return b; }},
        {"core header at 16 bits", Written(Core(Direct(16, 1, 1, {0})))},
        {"core header at 32 bits", Written(Core(Direct(32, 1, 1, {0})))},
        {"core header width 0", Patched(Core(Indexed(1, 1, 1, 2)), AtWidth, 0, 2)},
        {"core header height 0", Patched(Core(Indexed(1, 1, 1, 2)), 20, 0, 2)},
        {"red mask with a hole", Written(With(Base565(), [](TestBmp& b) { b.masks[0] = 0xF801; }))},
        {"green mask beyond 16 bits", Written(With(Base565(), [](TestBmp& b) { b.masks[1] = 0x1F0000; }))},
        {"blue mask split at 32 bits",
         Written(Direct(32, 1, 1, {0}, {0xFF0000, 0xFF00, 0xF000000F}, true))},
    };
    const Bitmap before = MakeBitmap(2, 1, {0xABCDEF, 0x123456}, false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = c.make();
        EXPECT_FALSE(MeasureBmp(bytes));
        Bitmap out = before;
        EXPECT_FALSE(DecodeBmp(bytes, out));
        EXPECT_EQ(out, before);
    }
}

// Fields that say nothing about where the image ends or what its pixels are.
TEST(BmpDecode, FieldsNotReliedOnAreTolerated)
{
    const std::vector<DamageCase> cases = {
        {"undamaged", Written(Base8())},
        {"total size 0", Patched(Base8(), AtTotalSize, 0)},
        {"total size huge", Patched(Base8(), AtTotalSize, 0xFFFFFFFF)},
        {"reserved words set", Patched(Base8(), AtReserved, 0xDEADBEEF)},
        {"pixel offset wrong", Patched(Base8(), AtPixelOffset, 3)},
        {"planes 0", Patched(Base8(), AtPlanes, 0, 2)},
        {"colours important 9999", Patched(Base8(), AtColoursImportant, 9999)},
    };
    const auto expected = ThroughTable(Base8());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = c.make();
        EXPECT_EQ(MeasureBmp(bytes), bytes.size());
        Bitmap out;
        ASSERT_TRUE(DecodeBmp(bytes, out));
        EXPECT_EQ(out.Pixels, expected);
        EXPECT_EQ(out.Bytes, bytes);
    }
}

// A 1-bit image of any size with all its rows present, so that only the size
// bounds can refuse it.
std::vector<std::uint8_t> OneBitOfSize(std::int32_t w, std::int32_t h)
{
    auto b = Indexed(1, 1, 1, 2);
    b.writeImageSize = false;
    auto bytes = WriteTestBmp(b);
    PatchLe(bytes, AtWidth, static_cast<std::uint32_t>(w));
    PatchLe(bytes, AtHeight, static_cast<std::uint32_t>(h));
    bytes.resize(14 + 40 + 8 + test::TestRowBytes(1, w) * static_cast<std::size_t>(std::abs(h)), 0);
    return bytes;
}

TEST(BmpMeasure, SizeBoundsHoldWithAllRowsPresent)
{
    struct Case {
        std::int32_t w, h;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {MaxBmpSide, 1, true},      {MaxBmpSide + 1, 1, false}, {1, MaxBmpSide, true},
        {1, -MaxBmpSide, true},     {1, MaxBmpSide + 1, false}, {1, -MaxBmpSide - 1, false},
        {4096, 4096, true},         {4097, 4096, false},        {MaxBmpSide, 1024, true},
        {MaxBmpSide, -1025, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const auto bytes = OneBitOfSize(c.w, c.h);
        if (c.accepted)
            EXPECT_EQ(MeasureBmp(bytes), bytes.size());
        else
            EXPECT_FALSE(MeasureBmp(bytes));
    }
}

} // namespace
} // namespace brakkon
