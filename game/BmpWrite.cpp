// Writing BMP images: uncompressed, a 40-byte header, bottom-up rows, every
// size and offset field filled in; the depth is the smallest that holds the
// pixels' colours (4, 8 or 24 bits), or for frames made from outside
// pictures 4 bits with the standard colours, else 24.
#include "game/Bmp.h"

#include <unordered_map>

namespace brakkon {
namespace {

constexpr std::uint32_t HeaderBytes = 14 + 40;
constexpr std::size_t MaxTableColours = 256;
constexpr std::uint32_t Rgb = 0x00FFFFFFu;

/// A colour table with the index of each colour; Overflow (and no colours)
/// when the pixels need colours the table does not hold: 24 bits then.
struct ColourTable {
    std::vector<std::uint32_t> Colours;
    std::unordered_map<std::uint32_t, std::uint8_t> Index;
    bool Overflow = false;
};

/// The distinct colours of the pixels in order of first use.
ColourTable CollectColours(const std::vector<std::uint32_t>& pixels)
{
    ColourTable t;
    std::uint32_t last = 0;
    bool haveLast = false;
    for (const std::uint32_t p : pixels) {
        const std::uint32_t c = p & Rgb;
        if (haveLast && c == last) continue; // runs of one colour are common
        last = c;
        haveLast = true;
        if (t.Index.contains(c)) continue;
        if (t.Colours.size() == MaxTableColours) {
            t.Overflow = true;
            t.Colours.clear();
            t.Index.clear();
            return t;
        }
        t.Index.emplace(c, static_cast<std::uint8_t>(t.Colours.size()));
        t.Colours.push_back(c);
    }
    return t;
}

void Put16(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFFu);
    Put16(b, v >> 16);
}

/// The 16 standard colours as a table, when every pixel is one of them.
ColourTable StandardTable(const std::vector<std::uint32_t>& pixels)
{
    ColourTable t;
    for (const std::uint32_t c : StandardPalette) {
        t.Index.emplace(c & Rgb, static_cast<std::uint8_t>(t.Colours.size()));
        t.Colours.push_back(c & Rgb);
    }
    for (const std::uint32_t p : pixels)
        if (!t.Index.contains(p & Rgb)) return {{}, {}, true};
    return t;
}

bool FitsBounds(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || width > MaxBmpSide || height > MaxBmpSide) return false;
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    return static_cast<std::int64_t>(count) <= MaxBmpPixels && pixels.size() == count;
}

/// The image with 4 bits when the table has at most 16 colours, 8 bits up to
/// 256, 24 bits when it overflowed; the size is within bounds.
std::vector<std::uint8_t> WriteBmp(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels,
                                   const ColourTable& table)
{
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    const std::uint32_t bpp = table.Overflow ? 24 : (table.Colours.size() <= 16 ? 4 : 8);
    const std::size_t entries = bpp == 4 ? 16 : table.Colours.size(); // 0 at 24 bits
    const std::size_t rowBytes = (w * bpp + 31) / 32 * 4;
    // At most 16M pixels of 3 bytes: every size below fits in 32 bits.
    const auto imageSize = static_cast<std::uint32_t>(rowBytes * h);
    const auto pixelOffset = static_cast<std::uint32_t>(HeaderBytes + entries * 4);

    std::vector<std::uint8_t> b;
    b.reserve(pixelOffset + imageSize);
    b.push_back('B');
    b.push_back('M');
    Put32(b, pixelOffset + imageSize);
    Put32(b, 0); // two reserved words
    Put32(b, pixelOffset);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height)); // positive: bottom row first
    Put16(b, 1);                                  // planes
    Put16(b, bpp);
    Put32(b, 0); // no compression
    Put32(b, imageSize);
    Put32(b, 0); // horizontal and vertical resolution: unspecified
    Put32(b, 0);
    Put32(b, bpp == 8 ? static_cast<std::uint32_t>(entries) : 0); // 4 bits: the full 16 entries
    Put32(b, 0);                                                  // all colours important
    for (std::size_t i = 0; i < entries; ++i) Put32(b, i < table.Colours.size() ? table.Colours[i] : 0);

    b.resize(pixelOffset + imageSize, 0); // rows start zeroed, so padding is 0
    for (std::size_t fileRow = 0; fileRow < h; ++fileRow) {
        const std::uint32_t* src = pixels.data() + (h - 1 - fileRow) * w;
        std::uint8_t* row = b.data() + pixelOffset + fileRow * rowBytes;
        if (bpp == 24) {
            for (std::size_t x = 0; x < w; ++x, row += 3) {
                row[0] = static_cast<std::uint8_t>(src[x]);
                row[1] = static_cast<std::uint8_t>(src[x] >> 8);
                row[2] = static_cast<std::uint8_t>(src[x] >> 16);
            }
        } else if (bpp == 8) {
            for (std::size_t x = 0; x < w; ++x) row[x] = table.Index.at(src[x] & Rgb);
        } else {
            for (std::size_t x = 0; x < w; ++x)
                row[x / 2] |= static_cast<std::uint8_t>(table.Index.at(src[x] & Rgb) << ((x % 2 == 0) ? 4 : 0));
        }
    }
    return b;
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels)
{
    if (!FitsBounds(width, height, pixels)) return {};
    return WriteBmp(width, height, pixels, CollectColours(pixels));
}

std::vector<std::uint8_t> EncodeFrameBmp(std::int32_t width, std::int32_t height,
                                         const std::vector<std::uint32_t>& pixels)
{
    if (!FitsBounds(width, height, pixels)) return {};
    return WriteBmp(width, height, pixels, StandardTable(pixels));
}

Bitmap MakeBitmap(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels, bool transparent)
{
    for (auto& p : pixels) p |= 0xFF000000u;
    Bitmap b;
    b.Bytes = EncodeBmp(width, height, pixels);
    b.Width = width;
    b.Height = height;
    b.Pixels = std::move(pixels);
    b.Transparent = transparent;
    return b;
}

} // namespace brakkon
