// The picture files of the picture reader's tests: pictures/source.png (23 x 9,
// an odd width; transparent, half-transparent and opaque columns; a block of
// one colour for runs) written by ImageMagick in the forms drawing programs
// use. Each case is made afresh with ImageMagick's convert when it is
// installed, and is also committed in pictures/ with ImageMagick's own dump
// of its pixels (NAME.rgba, `convert FILE -depth 8 rgba:-`), which stands in
// when ImageMagick is not there. Not here: 16-bit pixels with alpha, which
// ImageMagick 6 reads without repeating the bits (an opaque ARGB4444 pixel as
// alpha 240, ARGB1555 as 128); PictureFrameTest covers them.
#pragma once

#include "FileIo.h"
#include "PictureImport.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brakkon::test {

struct PictureCase {
    const char* name;
    const char* options; ///< convert's options between the source and the output
    const char* format;  ///< the output's format prefix: "BMP3", "PNG32", ...
    const char* ext;
};

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

inline void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }

inline std::string ShellQuoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

/// Standard output of a shell command; empty when it fails.
inline std::optional<std::vector<std::uint8_t>> CommandOutput(const std::string& command)
{
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::vector<std::uint8_t> out;
    std::uint8_t buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.insert(out.end(), buffer, buffer + n);
    if (::pclose(pipe) != 0) return std::nullopt;
    return out;
}

inline bool HaveImageMagick()
{
    static const bool have = std::system("convert -version >/dev/null 2>&1") == 0;
    return have;
}

/// Bytes R, G, B, A per pixel as 0xAARRGGBB.
inline std::vector<std::uint32_t> FromRgba(const std::optional<std::vector<std::uint8_t>>& rgba)
{
    std::vector<std::uint32_t> pixels;
    if (rgba)
        for (std::size_t i = 0; i + 3 < rgba->size(); i += 4)
            pixels.push_back((std::uint32_t{(*rgba)[i + 3]} << 24) | (std::uint32_t{(*rgba)[i]} << 16) |
                             (std::uint32_t{(*rgba)[i + 1]} << 8) | (*rgba)[i + 2]);
    return pixels;
}

/// ImageMagick's reading of a file.
inline std::vector<std::uint32_t> ImageMagickPixels(const std::filesystem::path& file)
{
    return FromRgba(CommandOutput("convert " + ShellQuoted(file) + " -depth 8 rgba:-"));
}

inline std::filesystem::path CommittedFile(const PictureCase& c)
{
    return PicturesDir / (std::string(c.name) + "." + c.ext);
}

inline std::vector<std::uint32_t> CommittedPixels(const PictureCase& c)
{
    return FromRgba(ReadFileBytes(PicturesDir / (std::string(c.name) + ".rgba")));
}

/// Makes the case's file from the source picture with ImageMagick.
inline std::filesystem::path MakeWithImageMagick(const PictureCase& c, const TempFolder& folder)
{
    const std::filesystem::path out = folder / (std::string(c.name) + "." + c.ext);
    const auto made = CommandOutput("convert " + ShellQuoted(PicturesDir / "source.png") + " " + c.options + " " +
                                    c.format + ":" + ShellQuoted(out));
    EXPECT_TRUE(made) << "convert could not make " << out;
    return out;
}

/// The decoded picture against the expected pixels: the size and the first
/// pixel that differs, so that a failure names a place.
inline void ExpectPixels(const Picture& decoded, const std::vector<std::uint32_t>& expected)
{
    ASSERT_EQ(decoded.Width, 23);
    ASSERT_EQ(decoded.Height, 9);
    ASSERT_EQ(decoded.Pixels.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(decoded.Pixels[i], expected[i]) << std::hex << "pixel (" << std::dec << i % 23 << ", " << i / 23
                                                  << ") is " << std::hex << decoded.Pixels[i] << ", ImageMagick reads "
                                                  << expected[i];
}

} // namespace brakkon::test
