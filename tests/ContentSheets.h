// Pictures of the game content for people to look at: the whole image library
// as one sheet and gates composed from their cells and sprites in the three
// layers of the field (ground and walls, sprites, covers and bonuses), written
// as PNG files. Drawing follows the game: a transparent frame leaves out the
// colour of its bottom-left pixel.
#pragma once

#include "Records.h"

#include <filesystem>

namespace brakkon::test {

/// An RGBA picture (0xAARRGGBB, top row first).
struct Canvas {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Pixels;

    Canvas(std::int32_t w, std::int32_t h, std::uint32_t fill)
        : Width(w), Height(h), Pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill)
    {
    }
    [[nodiscard]] std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    }
};

/// Draws a frame at (x, y), each pixel as a scale x scale block.
void DrawFrame(Canvas& canvas, const Bitmap& frame, std::int32_t x, std::int32_t y, std::int32_t scale = 1);

/// Every frame of every group: one row per group (group 0's tiles, then each
/// sprite group with its four directions side by side), on a chequered
/// background that shows what is transparent.
[[nodiscard]] Canvas LibrarySheet(const std::vector<ImageGroup>& images, std::int32_t scale);

/// The field of a gate as the game draws it: every cell's ground and wall,
/// then the sprites in list order, then every cell's top picture.
[[nodiscard]] Canvas ComposeField(const std::vector<ImageGroup>& images, const GateType& gate);

/// Writes the canvas as a PNG file; true on success.
[[nodiscard]] bool WritePng(const std::filesystem::path& path, const Canvas& canvas);

} // namespace brakkon::test
