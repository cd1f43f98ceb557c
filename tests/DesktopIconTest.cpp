// The desktop icons: one 32 x 32 drawing scaled to every hicolor size. The
// scaling is checked on pictures small enough to count by hand, then the
// icons the build made are checked against their drawing.
#include "content/Drawing.h"
#include "game/FileIo.h"
#include "content/Png.h"

#include <gtest/gtest.h>

#include <string>

namespace brakkon {
namespace {

constexpr std::uint32_t Clear = 0x00000000;
constexpr std::uint32_t White = 0xFFFFFFFF;
constexpr std::uint32_t Red = 0xFFFF0000;
constexpr std::uint32_t Blue = 0xFF0000FF;
constexpr std::uint32_t Black = 0xFF000000;
constexpr std::uint32_t Grey200 = 0xFFC8C8C8;

struct ScaleCase {
    std::string Name;
    Drawing From;
    std::int32_t Width;
    std::int32_t Height;
    std::vector<std::uint32_t> Expected;
};

class ScaledDrawing : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaledDrawing, EachPixelIsTheMeanOfWhatItCovers)
{
    const ScaleCase& c = GetParam();
    const Drawing out = Scaled(c.From, c.Width, c.Height);
    EXPECT_EQ(out.Width, c.Width);
    EXPECT_EQ(out.Height, c.Height);
    EXPECT_EQ(out.Pixels, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Drawing, ScaledDrawing,
    ::testing::Values(
        // A see-through pixel lends its alpha but not its (black) colour.
        ScaleCase{"HalfSeeThroughKeepsItsColour", {2, 2, {White, Clear, White, Clear}}, 1, 1, {0x80FFFFFF}},
        ScaleCase{"WhollySeeThroughStaysEmpty", {2, 2, {Clear, 0x00FF00FF, Clear, Clear}}, 1, 1, {Clear}},
        ScaleCase{"TwoColoursMeetHalfway", {2, 1, {Red, Blue}}, 1, 1, {0xFF800080}},
        ScaleCase{"WholeMultipleRepeatsEachPixel", {2, 1, {Red, Blue}}, 4, 2,
                  {Red, Red, Blue, Blue, Red, Red, Blue, Blue}},
        // 4 -> 3: the middle pixel covers half of the second and third.
        ScaleCase{"ThreeQuartersWeighsByArea", {4, 1, {Black, Grey200, Black, Black}}, 3, 1,
                  {0xFF323232, 0xFF646464, Black}}),
    [](const ::testing::TestParamInfo<ScaleCase>& info) { return info.param.Name; });

Drawing ReadIcon(std::int32_t size)
{
    const std::string path = std::string(BRAKKON_ICON_DIR) + "/" + std::to_string(size) + "x" +
                             std::to_string(size) + "/apps/brakkon.png";
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        ADD_FAILURE() << "no icon " << path;
        return {};
    }
    const PictureResult png = DecodePng(*bytes);
    if (!png.Decoded) {
        ADD_FAILURE() << path << ": " << png.Problem;
        return {};
    }
    return {png.Decoded->Width, png.Decoded->Height, png.Decoded->Pixels};
}

TEST(DesktopIcons, EverySizeIsTheTankScaledWithItsBackgroundSeeThrough)
{
    const Drawing icon32 = ReadIcon(32);
    ASSERT_EQ(icon32.Width, 32);
    ASSERT_EQ(icon32.Height, 32);
    EXPECT_EQ(icon32.At(0, 0), Clear); // the key colour became see-through
    EXPECT_EQ(icon32.At(16, 16) >> 24, 0xFFu);
    for (const std::int32_t size : {16, 24, 48, 64, 128, 256}) {
        const Drawing icon = ReadIcon(size);
        EXPECT_EQ(icon.Width, size);
        EXPECT_EQ(icon.Height, size);
        if (size % 32 == 0 && icon.Width == size) { // whole multiples: every pixel repeated, none blurred
            for (std::int32_t y = 0; y < size; ++y)
                for (std::int32_t x = 0; x < size; ++x) {
                    ASSERT_EQ(icon.At(x, y), icon32.At(x * 32 / size, y * 32 / size))
                        << size << " at " << x << "," << y;
                }
        }
        for (const std::uint32_t p : icon.Pixels) {
            if (p >> 24 != 0) {
                ASSERT_NE(p & 0xFFFFFF, KeyColour & 0xFFFFFF) << size; // no key colour left
            }
        }
    }
}

} // namespace
} // namespace brakkon
