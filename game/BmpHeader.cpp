#include "game/BmpHeader.h"

#include "game/BmpParts.h"

#include <algorithm>

namespace brakkon {

namespace {

constexpr std::uint64_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::array<std::uint32_t, 6> KnownHeaderSizes = {CoreHeaderSize, InfoHeaderSize, 52, 56, 108, 124};

} // namespace

std::string ReadBmpHeader(std::span<const std::uint8_t> d, BmpHeader& out)
{
    using bmp::Le16;
    using bmp::Le32;
    const std::uint64_t size = d.size();
    if (size < FileHeaderSize + 4 || d[0] != 'B' || d[1] != 'M') return "it does not start as a BMP file does";
    BmpHeader h;
    h.HeaderSize = Le32(d, 14);
    if (std::find(KnownHeaderSizes.begin(), KnownHeaderSizes.end(), h.HeaderSize) == KnownHeaderSizes.end())
        return "its header of " + std::to_string(h.HeaderSize) + " bytes is not a known BMP header";
    if (size < FileHeaderSize + h.HeaderSize) return "the file ends inside its header";

    // The planes field is not read: it says nothing about the layout.
    if (h.Core()) {
        h.Width = Le16(d, 18); // unsigned in a core header: always bottom-up
        h.Height = Le16(d, 20);
        h.Bpp = Le16(d, 24);
    } else {
        h.Width = static_cast<std::int32_t>(Le32(d, 18));
        h.Height = static_cast<std::int32_t>(Le32(d, 22));
        h.Bpp = Le16(d, 28);
        h.Compression = Le32(d, 30);
        h.ImageSize = Le32(d, 34);
        h.ColoursUsed = Le32(d, 46);
        for (std::size_t i = 0; i < h.Masks.size() && InfoHeaderSize + 4 * i < h.HeaderSize; ++i)
            h.Masks[i] = Le32(d, 54 + 4 * i);
    }
    h.TopDown = h.Height < 0;
    if (h.Height < 0) h.Height = -h.Height; // int64: even INT32_MIN negates safely
    h.PixelOffset = Le32(d, 10);
    h.HeadersEnd = FileHeaderSize + h.HeaderSize;
    out = h;
    return {};
}

} // namespace brakkon
