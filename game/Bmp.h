// The BMP codec: measures, decodes and encodes Windows BMP file images
// without any GUI library. The image library stores each frame as a complete
// BMP file image with nothing around it that tells its length, so the reader
// finds the end of an image from its own headers.
#pragma once

#include "Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brakkon {

/// Length in bytes of the BMP image that starts at data[0], found from its
/// headers only: 14-byte file header, 40-byte (or 12-byte core) information
/// header, three colour masks for bit fields, the colour table, then the pixel
/// rows (the image-size field, or |height| rows of the computed row length).
/// Empty when the headers are damaged or the image runs past the data.
[[nodiscard]] std::optional<std::size_t> MeasureBmp(std::span<const std::uint8_t> data);

/// Decodes one uncompressed BMP image of 1, 4, 8, 16, 24 or 32 bits per pixel
/// (16 and 32 also with bit fields). On success `out` gets Width, Height,
/// Pixels and Bytes (a copy of exactly the measured image); Transparent is left
/// as it was. Compressed or malformed images are refused and `out` is unchanged.
[[nodiscard]] bool DecodeBmp(std::span<const std::uint8_t> data, Bitmap& out);

/// Encodes pixels (0xFFRRGGBB, top row first) as an uncompressed BMP image with
/// a 40-byte header: 4 bits with a palette when they use at most 16 colours,
/// 8 bits when at most 256, else 24 bits.
[[nodiscard]] std::vector<std::uint8_t> EncodeBmp(std::int32_t width, std::int32_t height,
                                                  const std::vector<std::uint32_t>& pixels);

/// A bitmap made from pixels: encoded, with its bytes and pixels set.
[[nodiscard]] Bitmap MakeBitmap(std::int32_t width, std::int32_t height,
                                std::vector<std::uint32_t> pixels, bool transparent);

} // namespace brakkon
