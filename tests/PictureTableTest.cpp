// Pictures written by ImageMagick in every form the table of PictureCases.h
// lists, decoded by our reader (BMP) and libpng (PNG) to exactly the pixels
// ImageMagick reads from them, alpha included.
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

} // namespace
} // namespace brakkon
