// Pictures written by ImageMagick in every form the table of PictureCases.h
// lists, decoded by our reader (BMP) and libpng (PNG) to exactly the pixels
// ImageMagick reads from them, alpha included.
#include "PictureCases.h"
#include "Png.h"
#include "TestSupport.h"

#include <cstdlib>

namespace brakkon {
namespace {

using test::PictureCase;

Picture Decode(const std::filesystem::path& file)
{
    const auto bytes = ReadFileBytes(file);
    if (!bytes) ADD_FAILURE() << "cannot read " << file;
    PictureResult r = DecodePicture(bytes.value_or(std::vector<std::uint8_t>{}), DecodePng);
    if (!r.Decoded) ADD_FAILURE() << file << ": " << r.Problem;
    return r.Decoded.value_or(Picture{});
}

class ImageMagickPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ImageMagickPictures, TheCommittedCopyDecodesToItsDump)
{
    const PictureCase& c = GetParam();
    const auto expected = test::CommittedPixels(c);
    test::ExpectPixels(Decode(test::CommittedFile(c)), expected);
    if (test::HaveImageMagick()) { // the stand-in is what ImageMagick reads
        EXPECT_EQ(test::ImageMagickPixels(test::CommittedFile(c)), expected);
    }
}

TEST_P(ImageMagickPictures, AFreshlyMadeFileDecodesToImageMagicksDump)
{
    if (!test::HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const PictureCase& c = GetParam();
    const test::TempFolder folder("pictures");
    const auto file = test::MakeWithImageMagick(c, folder);
    const auto expected = test::ImageMagickPixels(file);
    test::ExpectPixels(Decode(file), expected);

    // BRAKKON_KEEP_PICTURES=DIR refreshes the committed set from this run.
    if (const char* keep = std::getenv("BRAKKON_KEEP_PICTURES")) {
        std::filesystem::copy_file(file, std::filesystem::path(keep) / file.filename(),
                                   std::filesystem::copy_options::overwrite_existing);
        const auto rgba = test::CommandOutput("convert " + test::ShellQuoted(file) + " -depth 8 rgba:-");
        ASSERT_TRUE(rgba && WriteFileAtomically(std::filesystem::path(keep) / (std::string(c.name) + ".rgba"), *rgba));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ImageMagickPictures, ::testing::ValuesIn(test::PictureCases), test::CaseName);

} // namespace
} // namespace brakkon
