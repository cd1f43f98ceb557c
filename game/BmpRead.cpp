// Reading BMP images: the header walk that finds an image's layout and end,
// and the row decoders for every supported depth. Every size is computed in
// 64 bits from 32-bit fields, so no sum or product here can overflow, and
// every read is checked against the end found by the walk before it happens.
#include "game/Bmp.h"
#include "game/BmpHeader.h"
#include "game/BmpParts.h"

#include <array>
#include <new>

namespace brakkon {
namespace {

using bmp::Channel;
using bmp::Le32;
using bmp::UsableMask;

constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t CompressionNone = 0;
constexpr std::uint32_t CompressionBitFields = 3;
constexpr std::size_t MaskBytes = 12;
constexpr std::uint32_t Opaque = 0xFF000000u;

/// Where the parts of one image lie, found by walking its headers.
struct Layout {
    std::int32_t Width = 0;
    std::int32_t Height = 0;     ///< |height|
    bool TopDown = false;        ///< negative height: the top row comes first
    std::uint32_t Bpp = 0;
    std::array<std::uint32_t, 3> Masks{}; ///< red, green, blue for 16 and 32 bits
    bool DefaultMasks = true;     ///< 16 bits 5-5-5 or 32 bits blue-green-red-unused
    std::size_t TableOffset = 0;
    std::size_t TableEntries = 0;
    std::size_t EntrySize = 4;    ///< 3 after a core header
    std::size_t PixelOffset = 0;
    std::size_t RowBytes = 0;
    std::size_t End = 0;          ///< one past the last byte of the image
};

bool SupportedDepth(std::uint32_t bpp, bool core)
{
    if (core) return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24;
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

std::optional<Layout> Walk(std::span<const std::uint8_t> data)
{
    const std::uint64_t size = data.size();
    BmpHeader h;
    if (!ReadBmpHeader(data, h).empty()) return std::nullopt;
    if (h.HeaderSize != InfoHeaderSize && h.HeaderSize != CoreHeaderSize) return std::nullopt;

    Layout l;
    l.Bpp = h.Bpp;
    if (h.Core()) l.EntrySize = 3;
    const std::uint32_t compression = h.Compression;
    const std::uint64_t imageSize = h.ImageSize;
    const std::uint64_t coloursUsed = h.ColoursUsed;
    const std::int64_t width = h.Width;
    const std::int64_t height = h.Height;

    if (!SupportedDepth(l.Bpp, h.Core())) return std::nullopt;
    const bool bitFields = compression == CompressionBitFields;
    if (compression != CompressionNone && !(bitFields && (l.Bpp == 16 || l.Bpp == 32))) return std::nullopt;

    l.TopDown = h.TopDown;
    if (width <= 0 || height == 0 || width > MaxBmpSide || height > MaxBmpSide) return std::nullopt;
    if (width * height > MaxBmpPixels) return std::nullopt;
    l.Width = static_cast<std::int32_t>(width);
    l.Height = static_cast<std::int32_t>(height);

    std::uint64_t pos = h.HeadersEnd;
    if (l.Bpp == 16) l.Masks = {0x7C00u, 0x03E0u, 0x001Fu};
    if (l.Bpp == 32) l.Masks = {0xFF0000u, 0x00FF00u, 0x0000FFu};
    if (bitFields) {
        if (size < pos + MaskBytes) return std::nullopt;
        for (std::size_t i = 0; i < 3; ++i) {
            l.Masks[i] = Le32(data, static_cast<std::size_t>(pos) + 4 * i);
            if (!UsableMask(l.Masks[i], l.Bpp)) return std::nullopt;
        }
        l.DefaultMasks = false;
        pos += MaskBytes;
    }

    // A table longer than the depth can index is damage; above 8 bits a
    // table may be present (a hint for display) and is skipped.
    const std::uint64_t depthColours = std::uint64_t{1} << l.Bpp;
    if (coloursUsed > depthColours) return std::nullopt;
    const std::uint64_t entries = coloursUsed != 0 ? coloursUsed : (l.Bpp <= 8 ? depthColours : 0);
    l.TableOffset = static_cast<std::size_t>(pos);
    l.TableEntries = static_cast<std::size_t>(entries);
    pos += entries * l.EntrySize;

    const std::uint64_t rowBytes = h.RowBytes();
    const std::uint64_t rowsBytes = rowBytes * static_cast<std::uint64_t>(height);
    if (imageSize != 0 && imageSize < rowsBytes) return std::nullopt;
    const std::uint64_t pixelBytes = imageSize != 0 ? imageSize : rowsBytes;
    if (pos > size || pixelBytes > size - pos) return std::nullopt;
    l.PixelOffset = static_cast<std::size_t>(pos);
    l.RowBytes = static_cast<std::size_t>(rowBytes);
    l.End = static_cast<std::size_t>(pos + pixelBytes);
    return l;
}

using Palette = std::array<std::uint32_t, 256>;

/// The colour table as 0xFFRRGGBB; indices past its end read as black.
Palette ReadPalette(std::span<const std::uint8_t> data, const Layout& l)
{
    Palette palette;
    palette.fill(Opaque);
    if (l.Bpp > 8) return palette;
    for (std::size_t i = 0; i < l.TableEntries; ++i) {
        const std::size_t at = l.TableOffset + i * l.EntrySize;
        palette[i] = Opaque | (static_cast<std::uint32_t>(data[at + 2]) << 16) |
                     (static_cast<std::uint32_t>(data[at + 1]) << 8) | data[at];
    }
    return palette;
}

void DecodeIndexedRow(const std::uint8_t* row, std::uint32_t* dst, std::int32_t width, std::uint32_t bpp,
                      const Palette& palette)
{
    switch (bpp) {
    case 1:
        for (std::int32_t x = 0; x < width; ++x) dst[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (std::int32_t x = 0; x < width; ++x) dst[x] = palette[(row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 0xF];
        break;
    default:
        for (std::int32_t x = 0; x < width; ++x) dst[x] = palette[row[x]];
        break;
    }
}

/// 16- and 32-bit pixels through their channel masks.
void DecodeMaskedRow(const std::uint8_t* row, std::uint32_t* dst, std::int32_t width, std::uint32_t bpp,
                     const std::array<Channel, 3>& c)
{
    const std::size_t step = bpp / 8;
    for (std::int32_t x = 0; x < width; ++x, row += step) {
        std::uint32_t v = row[0] | (static_cast<std::uint32_t>(row[1]) << 8);
        if (step == 4) v |= (static_cast<std::uint32_t>(row[2]) << 16) | (static_cast<std::uint32_t>(row[3]) << 24);
        dst[x] = Opaque | (c[0].Of(v) << 16) | (c[1].Of(v) << 8) | c[2].Of(v);
    }
}

void DecodeDirectRow(const std::uint8_t* row, std::uint32_t* dst, std::int32_t width, std::size_t step)
{
    // 24 bits, and 32 bits without masks: blue, green, red (and an unused byte).
    for (std::int32_t x = 0; x < width; ++x, row += step)
        dst[x] = Opaque | (static_cast<std::uint32_t>(row[2]) << 16) | (static_cast<std::uint32_t>(row[1]) << 8) | row[0];
}

} // namespace

std::optional<std::size_t> MeasureBmp(std::span<const std::uint8_t> data)
{
    const auto layout = Walk(data);
    if (!layout) return std::nullopt;
    return layout->End;
}

bool DecodeBmp(std::span<const std::uint8_t> data, Bitmap& out)
{
    const auto found = Walk(data);
    if (!found) return false;
    const Layout& l = *found;
    try {
        const Palette palette = ReadPalette(data, l);
        const std::array<Channel, 3> channels{Channel(l.Masks[0]), Channel(l.Masks[1]), Channel(l.Masks[2])};
        const auto width = static_cast<std::size_t>(l.Width);
        const auto height = static_cast<std::size_t>(l.Height);
        std::vector<std::uint32_t> pixels(width * height);
        for (std::size_t y = 0; y < height; ++y) {
            const std::size_t fileRow = l.TopDown ? y : height - 1 - y;
            const std::uint8_t* row = data.data() + l.PixelOffset + fileRow * l.RowBytes;
            std::uint32_t* dst = pixels.data() + y * width;
            if (l.Bpp <= 8)
                DecodeIndexedRow(row, dst, l.Width, l.Bpp, palette);
            else if (l.Bpp == 24 || (l.Bpp == 32 && l.DefaultMasks))
                DecodeDirectRow(row, dst, l.Width, l.Bpp / 8);
            else
                DecodeMaskedRow(row, dst, l.Width, l.Bpp, channels);
        }
        std::vector<std::uint8_t> bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(l.End));
        out.Width = l.Width;
        out.Height = l.Height;
        out.Pixels = std::move(pixels);
        out.Bytes = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace brakkon
