// The Game Editor's pictures from drawing programs: the one step from a
// picture file to a frame for "Add" and "ChangeImage". BMP files go through our own reader (PictureImport.h,
// covered by the fuzzer), PNG files through Qt's image reader; either way the
// frame starts transparent with its bottom-left pixel's colour as key.
#pragma once

#include "game/PictureImport.h"

namespace brakkon {

/// Decodes PNG bytes with Qt's reader, any colour type and depth, to 8-bit
/// ARGB; refuses damage and sizes beyond the picture bounds. A PngDecoder.
[[nodiscard]] PictureResult DecodePngWithQt(std::span<const std::uint8_t> bytes);

/// Reads a BMP or PNG file as a frame, or gives the one message that names
/// the file and says why there is none.
[[nodiscard]] LoadedFrame LoadPictureFile(const std::filesystem::path& path);

} // namespace brakkon
