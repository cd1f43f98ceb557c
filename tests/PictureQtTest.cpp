// The Game Editor's pictures through Qt: the PNG files of the picture table
// decoded by Qt's reader to ImageMagick's pixels, and a GIMP-style version 5
// BMP with alpha and a PNG of the same drawing loaded as the same frame.
#include "FileIo.h"
#include "PictureCases.h"
#include "PictureFiles.h"
#include "TestSupport.h"

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

Picture DecodeWithQt(const std::filesystem::path& file)
{
    const auto bytes = ReadFileBytes(file);
    PictureResult r = DecodePngWithQt(bytes.value_or(std::vector<std::uint8_t>{}));
    if (!r.Decoded) ADD_FAILURE() << file << ": " << r.Problem;
    return r.Decoded.value_or(Picture{});
}

class QtPngPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(QtPngPictures, DecodeToImageMagicksPixels)
{
    const PictureCase& c = GetParam();
    test::ExpectPixels(DecodeWithQt(test::CommittedFile(c)), test::CommittedPixels(c));
    if (!test::HaveImageMagick()) return;
    const test::TempFolder folder("qt-pictures");
    const auto fresh = test::MakeWithImageMagick(c, folder);
    test::ExpectPixels(DecodeWithQt(fresh), test::ImageMagickPixels(fresh));
}

INSTANTIATE_TEST_SUITE_P(Table, QtPngPictures, ::testing::ValuesIn(PngCases()), test::CaseName);

TEST(EditorPictures, AVersion5BmpWithAlphaAndAPngOfOneDrawingLoadAsOneFrame)
{
    const LoadedFrame bmp = LoadPictureFile(test::PicturesDir / "bmp5_alpha.bmp");
    const LoadedFrame png = LoadPictureFile(test::PicturesDir / "png32.png");
    ASSERT_TRUE(bmp.Frame) << bmp.Message;
    ASSERT_TRUE(png.Frame) << png.Message;
    EXPECT_EQ(*bmp.Frame, *png.Frame);

    // The drawing's bottom-left pixel is clear: fuchsia, which it does not
    // show, is the key, and every clear pixel shows it.
    const Bitmap& frame = *png.Frame;
    EXPECT_TRUE(frame.Transparent);
    EXPECT_EQ(frame.TransparentColour(), 0xFFFF00FFu);
    const auto drawn = test::CommittedPixels({"bmp5_alpha", "", "BMP", "bmp"});
    ASSERT_EQ(drawn.size(), frame.Pixels.size());
    for (std::size_t i = 0; i < drawn.size(); ++i)
        ASSERT_EQ(frame.Pixels[i], (drawn[i] >> 24) == 0 ? 0xFFFF00FFu : (drawn[i] | 0xFF000000u)) << i;
}

TEST(EditorPictures, ADamagedPngIsRefusedWithOneMessageNamingIt)
{
    const test::TempFolder folder("qt-pictures");
    auto bytes = ReadFileBytes(test::PicturesDir / "png32.png").value();
    bytes.resize(bytes.size() / 2);
    const auto cut = folder / "cut.png";
    ASSERT_TRUE(WriteFileAtomically(cut, bytes));
    const LoadedFrame r = LoadPictureFile(cut);
    EXPECT_FALSE(r.Frame);
    EXPECT_EQ(r.Message.rfind("The picture \"" + cut.string() + "\" cannot be loaded: it is a damaged PNG picture", 0),
              0u)
        << r.Message;
}

} // namespace
} // namespace brakkon
