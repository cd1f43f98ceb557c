// The picture files of the picture reader's tests: pictures/source.png (23 x 9,
// an odd width; clear, half-clear and opaque columns; a block of one colour
// for runs) written by ImageMagick in the forms drawing programs use. Each
// case is made afresh with convert when ImageMagick is installed, and is
// committed in pictures/ with ImageMagick's own reading of it, which stands
// in when it is not: `convert source.png OPTIONS FORMAT:NAME.EXT` and
// `convert NAME.EXT -depth 8 rgba:NAME.rgba`. Not here: 16-bit pixels with
// alpha, which ImageMagick 6 scales without repeating the bits (an opaque
// ARGB1555 pixel reads as alpha 128); PictureFrameTest covers them.
#pragma once

#include "game/FileIo.h"
#include "game/PictureImport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

namespace brakkon::test {

struct PictureCase {
    const char* name;
    const char* options; ///< convert's options between the source and the output
    const char* format;  ///< the output's format prefix
    const char* ext;
};

inline void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

inline const PictureCase PictureCases[] = {
    {"bmp2", "-alpha off", "BMP2", "bmp"},                                // core header, 24 bits
    {"bmp2_4bit", "-alpha off -colors 16", "BMP2", "bmp"},                // core header, 3-byte table
    {"bmp3", "-alpha off", "BMP3", "bmp"},                                // info header, 24 bits
    {"bmp3_alpha", "-define bmp3:alpha=true", "BMP3", "bmp"},             // 32 bits, alpha in the 4th byte
    {"bmp3_4bit", "-alpha off -colors 16", "BMP3", "bmp"},                //
    {"bmp3_rle8", "-alpha off -colors 100 -compress RLE", "BMP3", "bmp"}, //
    {"bmp4_monochrome", "-monochrome", "BMP", "bmp"},                     // version 4 header, 1 bit
    {"bmp5", "-alpha off", "BMP", "bmp"},                                 // version 5 header, 24 bits
    {"bmp5_alpha", "", "BMP", "bmp"},                                     // 32 bits, bit fields with alpha
    {"bmp5_rle8", "-alpha off -colors 100 -compress RLE", "BMP", "bmp"},  //
    {"bmp5_rgb565", "-alpha off -define bmp:subtype=RGB565", "BMP", "bmp"},
    {"png24", "-alpha off", "PNG24", "png"},
    {"png32", "", "PNG32", "png"},
    {"png8", "-colors 100", "PNG8", "png"}, // a colour table with transparency
    {"png_grey", "-colorspace gray -alpha off", "PNG", "png"},
};

inline const std::filesystem::path PicturesDir = BRAKKON_TEST_PICTURES;

inline bool HaveImageMagick()
{
    static const bool have = std::system("convert -version >/dev/null 2>&1") == 0;
    return have;
}

/// Bytes R, G, B, A per pixel (a committed dump, or convert's output of a
/// command) as 0xAARRGGBB; empty when the file or the command fails.
inline std::vector<std::uint32_t> RgbaPixels(const std::filesystem::path& file, const std::string& command = {})
{
    std::optional<std::vector<std::uint8_t>> rgba;
    if (command.empty()) {
        rgba = ReadFileBytes(file);
    } else if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
        rgba.emplace();
        for (int c; (c = std::fgetc(pipe)) != EOF;) rgba->push_back(static_cast<std::uint8_t>(c));
        if (::pclose(pipe) != 0) rgba.reset();
    }
    std::vector<std::uint32_t> pixels;
    for (std::size_t i = 0; rgba && i + 3 < rgba->size(); i += 4)
        pixels.push_back((std::uint32_t{(*rgba)[i + 3]} << 24) | (std::uint32_t{(*rgba)[i]} << 16) |
                         (std::uint32_t{(*rgba)[i + 1]} << 8) | (*rgba)[i + 2]);
    return pixels;
}

inline std::vector<std::uint32_t> ImageMagickPixels(const std::filesystem::path& file)
{
    return RgbaPixels(file, "convert '" + file.string() + "' -depth 8 rgba:-");
}

inline std::filesystem::path CommittedFile(const PictureCase& c)
{
    return PicturesDir / (std::string(c.name) + "." + c.ext);
}

inline std::vector<std::uint32_t> CommittedPixels(const PictureCase& c)
{
    return RgbaPixels(PicturesDir / (std::string(c.name) + ".rgba"));
}

/// Makes the case's file from the source picture with ImageMagick.
inline std::filesystem::path MakeWithImageMagick(const PictureCase& c, const TempFolder& folder)
{
    const auto out = folder / (std::string(c.name) + "." + c.ext);
    const std::string command = "convert '" + (PicturesDir / "source.png").string() + "' " + c.options + " " +
                                c.format + ":'" + out.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return out;
}

/// The decoded pixels against the expected ones, naming the first that differs.
inline void ExpectPixels(const Picture& decoded, const std::vector<std::uint32_t>& expected)
{
    ASSERT_EQ(decoded.Width * decoded.Height, 23 * 9);
    ASSERT_EQ(decoded.Pixels.size(), expected.size());
    const auto [a, b] = std::mismatch(decoded.Pixels.begin(), decoded.Pixels.end(), expected.begin());
    EXPECT_TRUE(a == decoded.Pixels.end()) << "pixel " << (a - decoded.Pixels.begin()) << " is " << std::hex << *a
                                           << ", ImageMagick reads " << *b;
}

} // namespace brakkon::test
