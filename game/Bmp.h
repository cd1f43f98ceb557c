// The BMP codec: measures, decodes and encodes Windows BMP file images
// without any GUI library. The image library stores each frame as a complete
// BMP file image with nothing around it that tells its length, so the reader
// finds the end of an image from its own headers.
//
// Reading (BmpRead.cpp) accepts uncompressed images with a 40-byte or a
// 12-byte (core) information header; writing (BmpWrite.cpp) always produces
// a 40-byte header. Both refuse images larger than the bounds below, so that
// a damaged header can never ask for more memory than a real picture needs.
#pragma once

#include "Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brakkon {

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

/// A bitmap made from pixels: encoded, with its bytes and pixels set. The
/// pixels are stored opaque (top byte 0xFF), as decoding the bytes gives them.
/// Bytes stay empty when EncodeBmp refuses the size.
[[nodiscard]] Bitmap MakeBitmap(std::int32_t width, std::int32_t height,
                                std::vector<std::uint32_t> pixels, bool transparent);

} // namespace brakkon
