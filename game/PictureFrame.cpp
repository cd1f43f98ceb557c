// From a picture file to a frame: the file read within bounds, BMP or PNG
// told apart by their first bytes, the key colour chosen and the alpha
// channel folded into it, and the frame encoded as "Game.dat" stores it.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "game/PictureImport.h"

#include <algorithm>
#include <array>
#include <new>
#include <system_error>

namespace brakkon {
namespace {

constexpr std::array<std::uint8_t, 8> PngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t Rgb = 0x00FFFFFFu;
constexpr std::uint32_t Opaque = 0xFF000000u;
constexpr std::uint32_t Fuchsia = 0xFFFF00FFu;

bool Visible(std::uint32_t pixel) { return (pixel >> 24) != 0; }

/// The key for a picture whose bottom-left pixel is invisible: a colour that
/// no visible pixel has, preferring fuchsia and then the standard colours,
/// so that a picture in standard colours stays one.
std::uint32_t FreeKey(const std::vector<std::uint32_t>& pixels)
{
    std::array<bool, StandardPalette.size()> shown{};
    for (const std::uint32_t p : pixels)
        if (Visible(p))
            for (std::size_t i = 0; i < StandardPalette.size(); ++i)
                if ((p & Rgb) == (StandardPalette[i] & Rgb)) shown[i] = true;
    if (!shown[13]) return Fuchsia; // 13: fuchsia's place in the table
    for (std::size_t i = 0; i < StandardPalette.size(); ++i)
        if (!shown[i]) return StandardPalette[i];
    // All sixteen are shown: some colour is free, since there are fewer
    // visible pixels than colours.
    std::vector<bool> used(std::size_t{1} << 24);
    for (const std::uint32_t p : pixels)
        if (Visible(p)) used[p & Rgb] = true;
    std::uint32_t c = 0;
    while (used[c]) ++c;
    return Opaque | c;
}

std::string Named(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

} // namespace

std::string PictureSizeProblem(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return "its size of " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels is not the size of a picture";
    if (width > MaxBmpSide || height > MaxBmpSide || width * height > MaxBmpPixels)
        return "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels; at most " +
               std::to_string(MaxBmpSide) + " on a side and " + std::to_string(MaxBmpPixels) + " in all are read";
    return {};
}

bool IsPng(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= PngSignature.size() && std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin());
}

PictureResult DecodePicture(std::span<const std::uint8_t> bytes, PngDecoder png)
{
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmpPicture(bytes);
    if (IsPng(bytes)) {
        PictureResult r = png(bytes);
        if (r.Decoded)
            if (std::string problem = PictureSizeProblem(r.Decoded->Width, r.Decoded->Height); !problem.empty())
                return {std::nullopt, std::move(problem)};
        return r;
    }
    return {std::nullopt, "it is neither a BMP nor a PNG picture"};
}

Bitmap FrameFromPicture(const Picture& picture)
{
    Bitmap frame;
    frame.Width = picture.Width;
    frame.Height = picture.Height;
    frame.Transparent = true;
    if (picture.Pixels.empty()) return frame;
    const std::uint32_t bottomLeft =
        picture.Pixels[static_cast<std::size_t>(picture.Height - 1) * static_cast<std::size_t>(picture.Width)];
    const std::uint32_t key = Visible(bottomLeft) ? (Opaque | bottomLeft) : FreeKey(picture.Pixels);
    frame.Pixels.reserve(picture.Pixels.size());
    for (const std::uint32_t p : picture.Pixels) frame.Pixels.push_back(Visible(p) ? (Opaque | p) : key);
    frame.Bytes = EncodeFrameBmp(frame.Width, frame.Height, frame.Pixels);
    return frame;
}

LoadedFrame ReadPictureFrame(const std::filesystem::path& path, PngDecoder png)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > MaxPictureFileBytes)
        return {std::nullopt, "The picture " + Named(path) + " cannot be loaded: the file is larger than " +
                                  std::to_string(MaxPictureFileBytes >> 20) + " MiB."};
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return {std::nullopt, "The picture file " + Named(path) + " cannot be read."};
    try {
        PictureResult decoded = DecodePicture(*bytes, png);
        if (!decoded.Decoded)
            return {std::nullopt, "The picture " + Named(path) + " cannot be loaded: " + decoded.Problem + "."};
        return {FrameFromPicture(*decoded.Decoded), {}};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "The picture " + Named(path) + " cannot be loaded: there is not enough memory for it."};
    }
}

} // namespace brakkon
