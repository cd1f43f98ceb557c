// A frame of the image library: a picture with its stored BMP bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace brakkon {

/// One bitmap of the library. Bytes is the complete BMP file image as it was
/// read from "Game.dat" or a BMP file (or as our encoder produced it), so a
/// frame is written back byte for byte; Pixels is its decoded form.
struct Bitmap {
    std::vector<std::uint8_t> Bytes;   ///< the BMP file image, "BM" first
    std::int32_t Width = 0;            ///< pixels
    std::int32_t Height = 0;           ///< pixels, always positive here
    std::vector<std::uint32_t> Pixels; ///< 0xFFRRGGBB, row-major, top row first
    bool Transparent = false;          ///< leave out the colour of the bottom-left pixel

    /// The colour left out when Transparent is set: the bottom-left pixel's.
    [[nodiscard]] std::uint32_t TransparentColour() const
    {
        if (Width <= 0 || Height <= 0 || Pixels.empty()) return 0;
        return Pixels[static_cast<std::size_t>(Height - 1) * static_cast<std::size_t>(Width)];
    }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

} // namespace brakkon
