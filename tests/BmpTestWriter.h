// A BMP writer for the tests only, independent of the codec under test: it
// writes whatever header fields a case asks for (also unusual and damaged
// ones) and packs raw pixel values (colour indices or packed pixels) by depth.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace brakkon::test {

/// What to write. Rows are given top row first; a positive height writes them
/// bottom-up, as the format does.
struct TestBmp {
    std::uint32_t headerSize = 40;           ///< 40, or 12 for a core header
    std::uint32_t bpp = 8;
    std::int32_t width = 1;
    std::int32_t height = 1;                 ///< negative: top row first in the file
    std::uint32_t compression = 0;
    std::array<std::uint32_t, 3> masks{};    ///< written when compression is 3
    std::vector<std::uint32_t> table;        ///< 0xRRGGBB entries, written as they are
    std::uint32_t coloursUsed = 0;
    bool writeImageSize = true;              ///< else the image-size field is 0
    std::uint32_t extraImageBytes = 0;       ///< bytes after the rows, counted in the image size
    std::vector<std::uint32_t> raw;          ///< width x |height| values, top row first
};

inline void PutLe(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void PatchLe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes = 4)
{
    for (int i = 0; i < bytes; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t GetLe(const std::vector<std::uint8_t>& b, std::size_t at, int bytes = 4)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint32_t>(b[at + static_cast<std::size_t>(i)]) << (8 * i);
    return v;
}

inline std::size_t TestRowBytes(std::uint32_t bpp, std::int32_t width)
{
    return (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
}

inline std::vector<std::uint8_t> WriteTestBmp(const TestBmp& s)
{
    const bool core = s.headerSize == 12;
    const std::size_t rows = static_cast<std::size_t>(std::abs(static_cast<long long>(s.height)));
    const std::size_t rowBytes = TestRowBytes(s.bpp, s.width);
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t pixelOffset =
        14 + s.headerSize + (s.compression == 3 ? 12 : 0) + s.table.size() * entrySize;
    const std::size_t imageBytes = rows * rowBytes + s.extraImageBytes;

    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    PutLe(b, static_cast<std::uint32_t>(pixelOffset + imageBytes), 4);
    PutLe(b, 0, 4);
    PutLe(b, static_cast<std::uint32_t>(pixelOffset), 4);
    PutLe(b, s.headerSize, 4);
    if (core) {
        PutLe(b, static_cast<std::uint32_t>(s.width), 2);
        PutLe(b, static_cast<std::uint32_t>(s.height), 2);
        PutLe(b, 1, 2);
        PutLe(b, s.bpp, 2);
    } else {
        PutLe(b, static_cast<std::uint32_t>(s.width), 4);
        PutLe(b, static_cast<std::uint32_t>(s.height), 4);
        PutLe(b, 1, 2);
        PutLe(b, s.bpp, 2);
        PutLe(b, s.compression, 4);
        PutLe(b, s.writeImageSize ? static_cast<std::uint32_t>(imageBytes) : 0, 4);
        PutLe(b, 2835, 4);
        PutLe(b, 2835, 4);
        PutLe(b, s.coloursUsed, 4);
        PutLe(b, 0, 4);
        if (s.compression == 3)
            for (const auto m : s.masks) PutLe(b, m, 4);
    }
    for (const auto c : s.table) PutLe(b, c, static_cast<int>(entrySize));

    // Padding and the extra bytes are filled with a pattern the decoder must ignore.
    const std::size_t start = b.size();
    b.resize(start + imageBytes, 0xA5);
    for (std::size_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::size_t y = s.height < 0 ? fileRow : rows - 1 - fileRow;
        std::uint8_t* row = b.data() + start + fileRow * rowBytes;
        if (s.bpp < 8) std::fill(row, row + (static_cast<std::size_t>(s.width) * s.bpp + 7) / 8, 0);
        for (std::size_t x = 0; x < static_cast<std::size_t>(s.width); ++x) {
            const std::uint32_t v = s.raw.at(y * static_cast<std::size_t>(s.width) + x);
            switch (s.bpp) {
            case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 0xF) << (x % 2 == 0 ? 4 : 0)); break;
            default:
                for (std::size_t i = 0; i < s.bpp / 8; ++i) row[x * (s.bpp / 8) + i] = static_cast<std::uint8_t>(v >> (8 * i));
                break;
            }
        }
    }
    return b;
}

} // namespace brakkon::test
