// The Game Editor's pictures through Qt: the PNG files of the picture table
// decoded by Qt's reader to ImageMagick's pixels, and a GIMP-style version 5
// BMP with alpha and a PNG of the same drawing loaded as the same frame.
#include "game/FileIo.h"
#include "tests/PictureCases.h"
#include "platform/PictureFiles.h"
#include "tests/TestSupport.h"

#include <algorithm>
#include <iterator>

namespace brakkon {
namespace {

using test::PictureCase;

std::vector<PictureCase> PngCases()
{
    std::vector<PictureCase> cases;
    std::copy_if(std::begin(test::PictureCases), std::end(test::PictureCases), std::back_inserter(cases),
                 [](const PictureCase& c) { return std::string(c.ext) == "png"; });
    return cases;
}

class QtPngPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(QtPngPictures, DecodeToImageMagicksPixels)
{
    const auto file = test::CommittedFile(GetParam());
    PictureResult r = DecodePngWithQt(ReadFileBytes(file).value_or(std::vector<std::uint8_t>{}));
    ASSERT_TRUE(r.Decoded) << r.Problem;
    test::ExpectPixels(*r.Decoded, test::CommittedPixels(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Table, QtPngPictures, ::testing::ValuesIn(PngCases()), test::CaseName);

TEST(EditorPictures, AVersion5BmpWithAlphaAndAPngOfOneDrawingLoadAsOneFrame)
{
    const LoadedFrame bmp = LoadPictureFile(test::PicturesDir / "bmp5_alpha.bmp");
    const LoadedFrame png = LoadPictureFile(test::PicturesDir / "png32.png");
    ASSERT_TRUE(bmp.Frame) << bmp.Message;
    ASSERT_TRUE(png.Frame) << png.Message;
    EXPECT_EQ(*bmp.Frame, *png.Frame);

    // The drawing's bottom-left pixel is clear: fuchsia, which it does not show, is the key.
    EXPECT_TRUE(png.Frame->Transparent);
    EXPECT_EQ(png.Frame->TransparentColour(), 0xFFFF00FFu);
}

TEST(EditorPictures, ADamagedPngIsRefusedWithOneMessageNamingIt)
{
    const test::TempFolder folder("qt-pictures");
    const auto bytes = ReadFileBytes(test::PicturesDir / "png32.png").value();
    ASSERT_TRUE(WriteFileAtomically(folder / "cut.png", std::span(bytes).first(bytes.size() / 2)));
    const LoadedFrame r = LoadPictureFile(folder / "cut.png");
    EXPECT_FALSE(r.Frame);
    const std::string start = "The picture \"" + (folder / "cut.png").string() + "\" cannot be loaded: it is a damaged PNG";
    EXPECT_EQ(r.Message.rfind(start, 0), 0u) << r.Message;
}

} // namespace
} // namespace brakkon
