// PNG files through libpng: the writer of the desktop icons and of the
// pictures of "brakkon-data render" (8-bit RGBA, compressed), and the reader
// of the `picture` lines of pictures files and of the Game Editor's pictures.
#pragma once

#include "game/PictureImport.h"

#include <cstdint>
#include <span>
#include <vector>

namespace brakkon {

/// The PNG file image of width x height pixels (0xAARRGGBB, top row first);
/// empty when the size does not match the pixels or libpng fails.
[[nodiscard]] std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height,
                                                  const std::vector<std::uint32_t>& pixels);

/// Decodes a PNG file image of any colour type and depth to 8-bit RGBA;
/// refuses damage and sizes beyond the picture bounds. A PngDecoder.
[[nodiscard]] PictureResult DecodePng(std::span<const std::uint8_t> bytes);

} // namespace brakkon
