// The BMP codec: measures, decodes and encodes Windows BMP file images
// without any GUI library. The image library stores each frame as a complete
// BMP file image with nothing around it that tells its length, so the reader
// finds the end of an image from its own headers.
//
// Reading (BmpRead.cpp) accepts uncompressed images with a 40-byte or a
// 12-byte (core) information header; writing (BmpWrite.cpp) always produces
// a 40-byte header. Pictures from drawing programs, in more BMP forms, are
// read by PictureImport.h. Both refuse images larger than the bounds below, so that
// a damaged header can never ask for more memory than a real picture needs.
#pragma once

#include "game/Bitmap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brakkon {

/// The 16 standard colours (0xFFRRGGBB) in the order of the standard 4-bit
/// colour table: black, maroon, green, olive, navy, purple, teal, silver,
/// grey, red, lime, yellow, blue, fuchsia, aqua, white.
inline constexpr std::array<std::uint32_t, 16> StandardPalette = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

/// Largest width or height, in pixels, that the codec reads or writes.
constexpr std::int32_t MaxBmpSide = 16384;
/// Largest pixel count (4096 x 4096, 64 MiB decoded) that the codec reads or writes.
constexpr std::int64_t MaxBmpPixels = std::int64_t{1} << 24;

/// Length in bytes of the BMP image that starts at data[0], found from its
/// headers only: 14-byte file header, 40-byte (or 12-byte core) information
/// header, three colour masks for bit fields, the colour table, then the pixel
/// rows (the image-size field, or |height| rows of the computed row length).
/// The total-size and pixel-offset fields of the file header are not used.
/// Empty when the headers are damaged or unsupported (compression other than
/// none or bit fields, a depth other than 1, 4, 8, 16, 24, 32, a size of 0 or
/// beyond the bounds above, a colour table longer than the depth allows, an
/// image-size field shorter than the rows, masks that are not contiguous runs
/// of bits inside the pixel) or when the image runs past the data.
[[nodiscard]] std::optional<std::size_t> MeasureBmp(std::span<const std::uint8_t> data);

/// Decodes the BMP image that starts at data[0] (anything after its measured
/// end is ignored): 1, 4 and 8 bits through the colour table, 16 bits as
/// 5-5-5, 24 bits, 32 bits as blue-green-red-unused, 16 and 32 also with bit
/// fields (each mask scaled to 8 bits). A colour index beyond the table gives
/// black. On success `out` gets Width, Height (positive), Pixels (0xFFRRGGBB,
/// top row first) and Bytes (a copy of exactly the measured image);
/// Transparent is left as it was. Whatever MeasureBmp refuses is refused and
/// `out` is unchanged; so is it when memory runs out.
[[nodiscard]] bool DecodeBmp(std::span<const std::uint8_t> data, Bitmap& out);

/// Encodes pixels (0xFFRRGGBB, top row first; the top byte is ignored) as an
/// uncompressed, bottom-up BMP image with a 40-byte header: 4 bits with a
/// 16-entry colour table when they use at most 16 colours, 8 bits with a table
/// of the colours used when at most 256, else 24 bits. Empty when the size is
/// not positive, beyond the bounds above, or does not match the pixel count.
[[nodiscard]] std::vector<std::uint8_t> EncodeBmp(std::int32_t width, std::int32_t height,
                                                  const std::vector<std::uint32_t>& pixels);

/// Encodes a frame made from an outside picture: 4 bits with the standard
/// colour table when every pixel is a standard colour, else 24 bits; an
/// uncompressed, bottom-up image with a 40-byte header. Empty as EncodeBmp.
[[nodiscard]] std::vector<std::uint8_t> EncodeFrameBmp(std::int32_t width, std::int32_t height,
                                                       const std::vector<std::uint32_t>& pixels);

/// A bitmap made from pixels: encoded, with its bytes and pixels set. The
/// pixels are stored opaque (top byte 0xFF), as decoding the bytes gives them.
/// Bytes stay empty when EncodeBmp refuses the size.
[[nodiscard]] Bitmap MakeBitmap(std::int32_t width, std::int32_t height,
                                std::vector<std::uint32_t> pixels, bool transparent);

} // namespace brakkon
