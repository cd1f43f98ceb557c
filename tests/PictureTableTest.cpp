// Pictures written by ImageMagick in every form the table of PictureCases.h
// lists, decoded by our reader (BMP) and libpng (PNG) to exactly the pixels
// ImageMagick reads from them, alpha included; and picture files loaded as
// frames the way the Game Editor loads them.
#include "tests/PictureCases.h"
#include "content/Png.h"
#include "tests/TestSupport.h"

namespace brakkon {
namespace {

using test::PictureCase;

Picture Decode(const std::filesystem::path& file)
{
    PictureResult r = DecodePicture(ReadFileBytes(file).value_or(std::vector<std::uint8_t>{}), DecodePng);
    if (!r.Decoded) ADD_FAILURE() << file << ": " << r.Problem;
    return r.Decoded.value_or(Picture{});
}

class ImageMagickPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ImageMagickPictures, TheCommittedCopyDecodesToItsDump)
{
    const auto expected = test::CommittedPixels(GetParam());
    test::ExpectPixels(Decode(test::CommittedFile(GetParam())), expected);
    if (test::HaveImageMagick()) { // the stand-in is what ImageMagick reads
        EXPECT_EQ(test::ImageMagickPixels(test::CommittedFile(GetParam())), expected);
    }
}

TEST_P(ImageMagickPictures, AFreshlyMadeFileDecodesToImageMagicksDump)
{
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const test::TempFolder folder("pictures");
    const auto file = test::MakeWithImageMagick(GetParam(), folder);
    test::ExpectPixels(Decode(file), test::ImageMagickPixels(file));
}

INSTANTIATE_TEST_SUITE_P(Table, ImageMagickPictures, ::testing::ValuesIn(test::PictureCases), test::CaseName);

// As the Game Editor's "Add" loads them: GIMP-style version 5 BMP with alpha
// and a PNG of the same drawing become the same frame.
TEST(EditorPictures, AVersion5BmpWithAlphaAndAPngOfOneDrawingLoadAsOneFrame)
{
    const LoadedFrame bmp = ReadPictureFrame(test::PicturesDir / "bmp5_alpha.bmp", DecodePng);
    const LoadedFrame png = ReadPictureFrame(test::PicturesDir / "png32.png", DecodePng);
    ASSERT_TRUE(bmp.Frame) << bmp.Message;
    ASSERT_TRUE(png.Frame) << png.Message;
    EXPECT_EQ(*bmp.Frame, *png.Frame);

    // The drawing's bottom-left pixel is clear: fuchsia, which it does not show, is the key.
    EXPECT_TRUE(png.Frame->Transparent);
    EXPECT_EQ(png.Frame->TransparentColour(), 0xFFFF00FFu);
}

TEST(EditorPictures, ADamagedPngIsRefusedWithOneMessageNamingIt)
{
    const test::TempFolder folder("editor-pictures");
    const auto bytes = ReadFileBytes(test::PicturesDir / "png32.png").value();
    ASSERT_TRUE(WriteFileAtomically(folder / "cut.png", std::span(bytes).first(bytes.size() / 2)));
    const LoadedFrame r = ReadPictureFrame(folder / "cut.png", DecodePng);
    EXPECT_FALSE(r.Frame);
    const std::string start = "The picture \"" + (folder / "cut.png").string() + "\" cannot be loaded: it is a damaged PNG";
    EXPECT_EQ(r.Message.rfind(start, 0), 0u) << r.Message;
}

} // namespace
} // namespace brakkon
