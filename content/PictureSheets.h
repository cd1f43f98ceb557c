// Pictures of the game's content for people to look at, written as PNG files
// by "brakkon-data render": the whole image library as one sheet, and a gate
// composed from its cells and sprites in the three layers of the field
// (ground and walls, sprites, covers and bonuses). Drawing follows the game:
// a transparent frame leaves out the colour of its bottom-left pixel.
#pragma once

#include "content/Drawing.h"
#include "game/Records.h"
#include "content/TextSource.h"

#include <filesystem>
#include <memory>

namespace brakkon {

/// Draws a frame at (x, y) of the canvas, each pixel as a scale x scale
/// block; what falls outside the canvas is left out.
void DrawFrame(Drawing& canvas, const Bitmap& frame, std::int32_t x, std::int32_t y, std::int32_t scale = 1);

/// Every frame of every group: one row per group (group 0's tiles, then each
/// sprite group with its four directions side by side), on a chequered
/// backing that shows what is transparent.
[[nodiscard]] Drawing LibrarySheet(const std::vector<ImageGroup>& images, std::int32_t scale);

/// The field of a gate as the game draws it: every cell's ground and wall,
/// then the active sprites in list order, then every cell's top picture.
[[nodiscard]] Drawing ComposeField(const std::vector<ImageGroup>& images, const GateType& gate);

/// Stored gate `index` of the game with tanks and shells put on it for a
/// look at them: the players at their start cells, the four enemy kinds on
/// open cells facing the four ways, an enemy under the first cover, and a
/// shell of each level in flight or bursting.
[[nodiscard]] std::unique_ptr<GateType> StagedGate(const GameType& game, std::size_t index);

/// Writes the picture as a PNG file, making its folder when needed.
[[nodiscard]] TextResult WritePngFile(const std::filesystem::path& path, const Drawing& picture);

} // namespace brakkon
