// Reading BMP pictures as drawing programs write them: the header walk that
// finds the depth, the compression, the colour masks and where the colour
// table and the rows lie, then the row decoders and the RLE4/RLE8 expander.
// Sizes are computed in 64 bits from 32-bit fields and every read is checked
// against the end of the bytes before it happens. Unlike the reader of
// "Game.dat" frames this one trusts the file header's pixel offset (version 5
// headers may be followed by a colour profile) and keeps the alpha channel.
#include "game/Bmp.h"
#include "game/BmpHeader.h"
#include "game/BmpParts.h"
#include "game/PictureImport.h"

#include <algorithm>
#include <new>

namespace brakkon {
namespace {

using bmp::Channel;
using bmp::Le32;

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

constexpr std::uint32_t Opaque = 0xFF000000u;

/// What the headers say.
struct Header {
    std::int64_t Width = 0;
    std::int64_t Height = 0; ///< |height|
    bool TopDown = false;
    std::uint32_t Bpp = 0;
    std::uint32_t Compression = Rgb;
    std::array<std::uint32_t, 4> Masks{}; ///< red, green, blue, alpha (16 and 32 bits)
    std::uint64_t TableOffset = 0;
    std::uint64_t TableEntries = 0;
    std::uint64_t EntrySize = 4; ///< 3 after a core header
    std::uint64_t PixelOffset = 0;
    std::uint64_t PixelBytes = 0; ///< bytes of row data from PixelOffset
};

bool Is(std::uint32_t value, std::initializer_list<std::uint32_t> allowed)
{
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

/// Checks the depth against the compression and finds the masks; empty when
/// they fit together, else the problem.
std::string ReadFormat(std::span<const std::uint8_t> d, std::uint32_t headerSize, Header& h, std::uint64_t& pos)
{
    const std::string depth = std::to_string(h.Bpp) + " bits per pixel";
    switch (h.Compression) {
    case Rgb:
        if (!Is(h.Bpp, {1, 4, 8, 16, 24, 32}) || (headerSize == CoreHeaderSize && !Is(h.Bpp, {1, 4, 8, 24})))
            return depth + " is not a depth of BMP pictures";
        if (h.Bpp == 16) h.Masks = {0x7C00u, 0x03E0u, 0x001Fu, 0};
        if (h.Bpp == 32) h.Masks = {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFF000000u}; // alpha unless all 0
        return {};
    case Rle8:
    case Rle4:
        if (h.Bpp != (h.Compression == Rle8 ? 8u : 4u))
            return std::string(h.Compression == Rle8 ? "RLE8" : "RLE4") + " compression with " + depth;
        return {};
    case BitFields:
    case AlphaBitFields: {
        if (!Is(h.Bpp, {16, 32})) return "bit fields with " + depth;
        if (headerSize == InfoHeaderSize) { // the masks follow the header
            const std::size_t count = h.Compression == BitFields ? 3 : 4;
            if (d.size() < pos + 4 * count) return "the file ends inside its colour masks";
            for (std::size_t i = 0; i < count; ++i) h.Masks[i] = Le32(d, static_cast<std::size_t>(pos) + 4 * i);
            pos += 4 * count;
        }
        for (const std::uint32_t m : h.Masks)
            if (!bmp::UsableMask(m, h.Bpp)) return "a colour mask is not one run of bits inside the pixel";
        if ((h.Masks[0] | h.Masks[1] | h.Masks[2]) == 0) return "its colour masks select no colour";
        return {};
    }
    case Jpeg: return "it holds a JPEG picture inside the BMP file, which is not read";
    case Png: return "it holds a PNG picture inside the BMP file, which is not read";
    default: return "its compression " + std::to_string(h.Compression) + " is not known";
    }
}

std::string ReadHeader(std::span<const std::uint8_t> d, Header& h)
{
    const std::uint64_t size = d.size();
    BmpHeader read;
    if (std::string problem = ReadBmpHeader(d, read); !problem.empty()) return problem;
    h.Width = read.Width;
    h.Height = read.Height;
    h.TopDown = read.TopDown;
    h.Bpp = read.Bpp;
    h.Compression = read.Compression;
    h.Masks = read.Masks;
    if (read.Core()) h.EntrySize = 3;
    std::uint64_t pos = read.HeadersEnd;
    if (std::string problem = ReadFormat(d, read.HeaderSize, h, pos); !problem.empty()) return problem;
    if (std::string problem = PictureSizeProblem(h.Width, h.Height); !problem.empty()) return problem;

    // The rows start where the file header says, unless that points into the
    // headers (a writer that left it 0); then right after the colour table.
    const std::uint64_t depthColours = h.Bpp <= 8 ? std::uint64_t{1} << h.Bpp : 0;
    const std::uint64_t entries = read.ColoursUsed != 0 ? std::min(read.ColoursUsed, depthColours) : depthColours;
    const std::uint64_t offset = read.PixelOffset;
    h.TableOffset = pos;
    h.PixelOffset = offset >= pos ? offset : pos + entries * h.EntrySize;
    if (h.PixelOffset > size) return "its picture data would start beyond the end of the file";
    h.TableEntries = std::min(entries, (h.PixelOffset - pos) / h.EntrySize);

    const std::uint64_t available = size - h.PixelOffset;
    if (h.Compression == Rle8 || h.Compression == Rle4) {
        h.PixelBytes = read.ImageSize != 0 ? std::min(read.ImageSize, available) : available;
        return {};
    }
    h.PixelBytes = read.RowBytes() * static_cast<std::uint64_t>(h.Height);
    if (h.PixelBytes > available) return "the file ends inside its picture data";
    return {};
}

using Palette = std::array<std::uint32_t, 256>;

/// The colour table; indices past its end read as black.
Palette ReadPalette(std::span<const std::uint8_t> d, const Header& h)
{
    Palette palette;
    palette.fill(Opaque);
    for (std::size_t i = 0; i < h.TableEntries; ++i) {
        const std::size_t at = static_cast<std::size_t>(h.TableOffset + i * h.EntrySize);
        palette[i] = Opaque | (static_cast<std::uint32_t>(d[at + 2]) << 16) |
                     (static_cast<std::uint32_t>(d[at + 1]) << 8) | d[at];
    }
    return palette;
}

/// Expands RLE8 or RLE4 data into one colour index per pixel, rows in file
/// order. Pixels that a delta or an early end of line skips keep index 0;
/// runs that go past the end of a row are cut there.
std::string ExpandRle(std::span<const std::uint8_t> data, const Header& h, std::vector<std::uint8_t>& indices)
{
    const bool four = h.Compression == Rle4;
    const auto width = static_cast<std::uint64_t>(h.Width);
    const auto height = static_cast<std::uint64_t>(h.Height);
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::size_t pos = 0;
    const auto put = [&](std::uint64_t count, auto indexAt) {
        const std::uint64_t inside = x < width ? std::min(count, width - x) : 0;
        std::uint8_t* row = indices.data() + y * width;
        for (std::uint64_t i = 0; i < inside; ++i) row[x + i] = indexAt(i);
        x += count;
    };
    while (y < height) {
        if (data.size() - pos < 2) return "its compressed picture data ends before the picture does";
        const std::uint8_t count = data[pos];
        const std::uint8_t value = data[pos + 1];
        pos += 2;
        if (count > 0) { // a run of one index (RLE4: two alternating indices)
            put(count, [&](std::uint64_t i) -> std::uint8_t {
                return four ? ((i & 1) != 0 ? value & 0xF : value >> 4) : value;
            });
        } else if (value == 0) { // end of a row
            x = 0;
            ++y;
        } else if (value == 1) { // end of the picture
            break;
        } else if (value == 2) { // a delta: move right and up
            if (data.size() - pos < 2) return "its compressed picture data ends inside a delta";
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else { // `value` indices as they stand, padded to an even number of bytes
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            const std::size_t padded = bytes + (bytes & 1);
            if (data.size() - pos < padded) return "its compressed picture data ends inside a literal run";
            const std::uint8_t* literal = data.data() + pos;
            put(value, [&](std::uint64_t i) -> std::uint8_t {
                return four ? ((i & 1) != 0 ? literal[i / 2] & 0xF : literal[i / 2] >> 4) : literal[i];
            });
            pos += padded;
        }
    }
    return {};
}

std::uint8_t IndexAt(const std::uint8_t* row, std::uint64_t x, std::uint32_t bpp)
{
    switch (bpp) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) != 0 ? 0 : 4)) & 0xF;
    default: return row[x];
    }
}

/// Uncompressed rows into pixels; alpha only where a mask gives it.
void DecodeRows(std::span<const std::uint8_t> d, const Header& h, const Palette& palette, Picture& out)
{
    constexpr auto repeat = Channel::Scaling::RepeatBits;
    const std::array<Channel, 4> c{Channel(h.Masks[0], repeat), Channel(h.Masks[1], repeat),
                                   Channel(h.Masks[2], repeat), Channel(h.Masks[3], repeat)};
    const auto width = static_cast<std::uint64_t>(h.Width);
    const std::uint64_t rowBytes = (width * h.Bpp + 31) / 32 * 4;
    for (std::uint64_t fileRow = 0; fileRow < static_cast<std::uint64_t>(h.Height); ++fileRow) {
        const std::uint8_t* row = d.data() + h.PixelOffset + fileRow * rowBytes;
        const std::uint64_t y = h.TopDown ? fileRow : static_cast<std::uint64_t>(h.Height) - 1 - fileRow;
        std::uint32_t* dst = out.Pixels.data() + y * width;
        for (std::uint64_t x = 0; x < width; ++x) {
            if (h.Bpp <= 8) {
                dst[x] = palette[IndexAt(row, x, h.Bpp)];
            } else if (h.Bpp == 24) {
                const std::uint8_t* p = row + 3 * x;
                dst[x] = Opaque | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
                         p[0];
            } else {
                const std::uint8_t* p = row + (h.Bpp / 8) * x;
                std::uint32_t v = p[0] | (static_cast<std::uint32_t>(p[1]) << 8);
                if (h.Bpp == 32)
                    v |= (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
                const std::uint32_t alpha = c[3].Present() ? c[3].Of(v) : 0xFFu;
                dst[x] = (alpha << 24) | (c[0].Of(v) << 16) | (c[1].Of(v) << 8) | c[2].Of(v);
            }
        }
    }
    // Many programs leave the fourth byte of 32-bit pixels 0: no picture is
    // meant to be wholly invisible, so an alpha channel of only 0 is no alpha.
    const auto clear = [](std::uint32_t p) { return (p >> 24) == 0; };
    if (c[3].Present() && std::all_of(out.Pixels.begin(), out.Pixels.end(), clear))
        for (auto& p : out.Pixels) p |= Opaque;
}

} // namespace

PictureResult DecodeBmpPicture(std::span<const std::uint8_t> bytes)
{
    Header h;
    if (std::string problem = ReadHeader(bytes, h); !problem.empty()) return {std::nullopt, std::move(problem)};
    try {
        const Palette palette = ReadPalette(bytes, h);
        Picture picture;
        picture.Width = static_cast<std::int32_t>(h.Width);
        picture.Height = static_cast<std::int32_t>(h.Height);
        const auto count = static_cast<std::size_t>(h.Width * h.Height);
        picture.Pixels.resize(count);
        if (h.Compression == Rle8 || h.Compression == Rle4) {
            std::vector<std::uint8_t> indices(count, 0);
            const auto data =
                bytes.subspan(static_cast<std::size_t>(h.PixelOffset), static_cast<std::size_t>(h.PixelBytes));
            if (std::string problem = ExpandRle(data, h, indices); !problem.empty())
                return {std::nullopt, std::move(problem)};
            const auto width = static_cast<std::size_t>(h.Width);
            for (std::size_t fileRow = 0; fileRow < static_cast<std::size_t>(h.Height); ++fileRow) {
                const std::size_t y = h.TopDown ? fileRow : static_cast<std::size_t>(h.Height) - 1 - fileRow;
                for (std::size_t x = 0; x < width; ++x)
                    picture.Pixels[y * width + x] = palette[indices[fileRow * width + x]];
            }
        } else {
            DecodeRows(bytes, h, palette, picture);
        }
        return {std::move(picture), {}};
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "there is not enough memory for it"};
    }
}

} // namespace brakkon
