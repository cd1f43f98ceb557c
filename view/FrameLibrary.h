// The image library of the game as pictures ready to draw: every frame of
// Game.Images converted once to a QImage, opaque frames as RGB32, transparent
// ones as premultiplied ARGB with their key colour see-through and cut to
// the box of their visible pixels (a shell is a few pixels of a 32 x 32
// frame, and blending the rest would cost most of a tick's drawing).
//
// Owned by the field canvas. Rebuilt whenever the library changes (a loaded
// "Game.dat", the Game Editor's changes); between rebuilds drawing only looks
// frames up, so no tick converts or allocates anything.
#pragma once

#include "game/Records.h"

#include <QImage>

#include <filesystem>

#include <vector>

namespace brakkon {

/// A frame ready to draw: transparent frames are cut down to the box of their
/// visible pixels, which lies at Offset inside the frame.
struct FramePicture {
    QImage Image;  ///< null when nothing of the frame is visible
    QPoint Offset; ///< top-left of Image inside the frame
};

class FrameLibrary {
public:
    /// Converts every frame of `images`.
    void Rebuild(const std::vector<ImageGroup>& images);

    /// The frame Images[group][image][frame]; null when any index lies
    /// outside the library.
    [[nodiscard]] const FramePicture* Frame(std::int32_t group, std::int32_t image, std::int32_t frame) const;

    /// Tile `code`: frame `code` of image 0 of group 0; null when the library
    /// has no such tile.
    [[nodiscard]] const FramePicture* Tile(std::int32_t code) const { return Frame(0, 0, code); }

private:
    std::vector<std::vector<std::vector<FramePicture>>> frames_;
};

/// A frame as a picture: transparent frames leave out their key colour, the
/// bottom-left pixel's, or white for a monochrome picture.
[[nodiscard]] QImage FrameImage(const Bitmap& bitmap);

/// The frame as drawn: a transparent one cut to its visible pixels.
[[nodiscard]] FramePicture CutFrame(const Bitmap& bitmap);

/// A transparent picture from a BMP file (the status line's icons); a null
/// image when the file cannot be read or is no picture the codec reads.
[[nodiscard]] QImage LoadTransparentPicture(const std::filesystem::path& path);

/// True when the stored BMP image has one bit per pixel.
[[nodiscard]] bool IsMonochrome(const Bitmap& bitmap);

} // namespace brakkon
