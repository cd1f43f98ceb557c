// Pictures from drawing programs made into frames of the image library. The
// Game Editor's "Add" and "ChangeImage" and the `picture` lines of the
// content's pictures files read files that authors draw in any program, not
// the plain BMP images "Game.dat" holds, so this reader takes what those
// programs write: BMP with a core, info, version 4 or version 5 header, 1 to
// 32 bits, RLE4 and RLE8, bit fields and top-down rows (PictureBmp.cpp), and
// PNG through the decoder the caller supplies (libpng's, content/Png.h),
// since neither the game's BMP codec nor this file knows PNG.
//
// What is read becomes a frame as "Game.dat" stores it (PictureFrame.cpp):
// an uncompressed BMP image with a 40-byte header, 4 bits when every pixel is
// one of the 16 standard colours, else 24 bits; transparent, with the colour
// of its bottom-left pixel as key. A pixel with alpha 0 takes the key colour,
// so a sprite drawn on a transparent background shows only the sprite. When
// the bottom-left pixel itself has alpha 0 its colour means nothing, so the
// key becomes a colour that no visible pixel has: fuchsia (the key of our own
// pictures) unless the picture shows fuchsia, else the first standard colour
// it does not show, else the lowest free colour. A pixel that is only partly
// transparent keeps its colour and is drawn fully.
#pragma once

#include "game/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brakkon {

/// A decoded picture with its alpha: Width x Height pixels 0xAARRGGBB
/// (not premultiplied), top row first.
struct Picture {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Pixels;
};

/// A picture, or what is wrong with the bytes (a phrase without the file's
/// name, such as "the header of 64 bytes is not a known BMP header").
struct PictureResult {
    std::optional<Picture> Decoded;
    std::string Problem;
};

/// Decodes PNG bytes: DecodePng of content/Png.h.
using PngDecoder = PictureResult (*)(std::span<const std::uint8_t> bytes);

/// The largest picture file read, in bytes.
constexpr std::uintmax_t MaxPictureFileBytes = std::uintmax_t{128} << 20;

/// What is wrong with a picture of width x height pixels: not a size at all,
/// or beyond MaxBmpSide and MaxBmpPixels; empty when it may be read.
[[nodiscard]] std::string PictureSizeProblem(std::int64_t width, std::int64_t height);

/// The eight bytes every PNG file starts with.
[[nodiscard]] bool IsPng(std::span<const std::uint8_t> bytes);

/// Decodes a BMP picture (see above). Refuses damage, compressions other
/// than none, RLE4, RLE8 and bit fields, and sizes beyond MaxBmpSide and
/// MaxBmpPixels, with a problem that says which.
[[nodiscard]] PictureResult DecodeBmpPicture(std::span<const std::uint8_t> bytes);

/// BMP or PNG by the first bytes; anything else is refused.
[[nodiscard]] PictureResult DecodePicture(std::span<const std::uint8_t> bytes, PngDecoder png);

/// The frame a picture becomes (see above); Transparent is set. Bytes stay
/// empty only for a picture beyond the codec's bounds.
[[nodiscard]] Bitmap FrameFromPicture(const Picture& picture);

/// A frame read from a file, or the one message that says why there is none.
struct LoadedFrame {
    std::optional<Bitmap> Frame; ///< set on success
    std::string Message;         ///< set on failure; names the file
};

/// Reads a picture file and makes it a frame.
[[nodiscard]] LoadedFrame ReadPictureFrame(const std::filesystem::path& path, PngDecoder png);

} // namespace brakkon
