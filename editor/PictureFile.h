// The one step from a picture file to a frame of the image library. The Game
// Editor's "Add" and "ChangeImage" load every picture through it, so reading
// more kinds of picture is a change of this one function.
#pragma once

#include "Bitmap.h"

#include <filesystem>
#include <optional>
#include <string>

namespace brakkon {

/// A frame read from a file, or the message that says why there is none.
struct PictureFrame {
    std::optional<Bitmap> Frame; ///< set on success
    std::string Message;         ///< set on failure; names the file
};

/// Reads a BMP file as a frame. The frame keeps the file's BMP image byte for
/// byte (that is what "Game.dat" stores) and starts transparent, its
/// bottom-left pixel's colour left out when drawn. A file that cannot be read,
/// or is no BMP image the codec reads, gives a message and no frame.
[[nodiscard]] PictureFrame LoadPictureFrame(const std::filesystem::path& path);

} // namespace brakkon
