// A small PNG writer: 8-bit RGBA, one IDAT chunk of uncompressed ("stored")
// deflate blocks, so it needs no compression library. Used for the desktop
// icon and for the pictures of "brakkon-data render". Reading PNG pictures
// (the `picture` lines of pictures files) goes through libpng.
#pragma once

#include "game/PictureImport.h"

#include <cstdint>
#include <span>
#include <vector>

namespace brakkon {

/// The PNG file image of width x height pixels (0xAARRGGBB, top row first).
[[nodiscard]] std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height,
                                                  const std::vector<std::uint32_t>& pixels);

/// CRC-32 as PNG chunks use it (polynomial 0xEDB88320).
[[nodiscard]] std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

/// Adler-32 as zlib streams end with it.
[[nodiscard]] std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

/// Decodes a PNG file image of any colour type and depth to 8-bit RGBA;
/// refuses damage and sizes beyond the picture bounds. A PngDecoder.
[[nodiscard]] PictureResult DecodePng(std::span<const std::uint8_t> bytes);

} // namespace brakkon
