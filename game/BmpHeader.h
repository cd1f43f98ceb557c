// The one reader of BMP headers, shared by the reader of "Game.dat" frames
// (BmpRead.cpp) and the reader of pictures from drawing programs
// (PictureBmp.cpp): the file header and the information header, whichever of
// the known forms it has, read into plain fields. What each reader accepts of
// them (depths, compressions, where the rows start) is its own business.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace brakkon {

/// The fields of a BMP file's two headers.
struct BmpHeader {
    std::uint32_t HeaderSize = 0; ///< 12 (core), 40 (info), 52, 56, 108 or 124
    std::int64_t Width = 0;
    std::int64_t Height = 0;      ///< |height|
    bool TopDown = false;         ///< the height was negative: the top row comes first
    std::uint32_t Bpp = 0;
    std::uint32_t Compression = 0;  ///< 0 in a core header
    std::uint64_t ImageSize = 0;    ///< 0 in a core header
    std::uint64_t ColoursUsed = 0;  ///< 0 in a core header
    std::array<std::uint32_t, 4> Masks{}; ///< red, green, blue, alpha as far as the header holds them
    std::uint64_t PixelOffset = 0;  ///< where the file header says the rows start
    std::uint64_t HeadersEnd = 0;   ///< one past the information header

    [[nodiscard]] bool Core() const { return HeaderSize == 12; }
    /// Bytes of one uncompressed row, padded to four.
    [[nodiscard]] std::uint64_t RowBytes() const
    {
        return (static_cast<std::uint64_t>(Width) * Bpp + 31) / 32 * 4;
    }
};

/// Reads both headers of the BMP file image that starts at data[0]. Empty on
/// success, else what is wrong: it does not start as a BMP file, its header
/// size is not a known one, or the bytes end inside the header.
[[nodiscard]] std::string ReadBmpHeader(std::span<const std::uint8_t> data, BmpHeader& out);

} // namespace brakkon
