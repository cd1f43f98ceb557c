// Pieces shared by the two BMP readers, the one for the frames of "Game.dat"
// (BmpRead.cpp) and the one for pictures from drawing programs
// (PictureBmp.cpp), beside their one header reader (BmpHeader.h):
// little-endian fields and the colour channels of 16- and 32-bit pixels.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <span>

namespace brakkon::bmp {

inline std::uint32_t Le16(std::span<const std::uint8_t> d, std::size_t at)
{
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8);
}

inline std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t at)
{
    return Le16(d, at) | (Le16(d, at + 2) << 16);
}

/// One colour channel of a 16- or 32-bit pixel, as its mask selects it,
/// scaled to 8 bits. Narrow channels go through a table that spreads
/// 0..2^n-1 over 0..255, rounding to the nearest (the reader of "Game.dat")
/// or repeating the bits (v << 3 | v >> 2 for 5 bits, as drawing programs
/// read them); wide ones keep their top 8 bits.
class Channel {
public:
    enum class Scaling { Nearest, RepeatBits };

    explicit Channel(std::uint32_t mask, Scaling scaling = Scaling::Nearest)
    {
        if (mask == 0) return; // a missing channel reads as 0
        shift_ = std::countr_zero(mask);
        bits_ = std::popcount(mask);
        mask_ = mask;
        if (bits_ >= 8) return;
        const std::uint32_t top = (1u << bits_) - 1;
        for (std::uint32_t v = 0; v <= top; ++v) {
            std::uint32_t scaled = (v * 255 + top / 2) / top;
            if (scaling == Scaling::RepeatBits) {
                scaled = 0;
                for (int s = 8 - bits_; s > -bits_; s -= bits_) scaled |= s >= 0 ? v << s : v >> -s;
            }
            table_[v] = static_cast<std::uint8_t>(scaled);
        }
    }

    [[nodiscard]] bool Present() const { return mask_ != 0; }

    [[nodiscard]] std::uint32_t Of(std::uint32_t pixel) const
    {
        if (bits_ >= 8) return (pixel >> (shift_ + bits_ - 8)) & 0xFFu;
        return table_[(pixel & mask_) >> shift_];
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
    std::array<std::uint8_t, 128> table_{};
};

/// True for 0 and for one unbroken run of set bits inside the pixel's bits.
inline bool UsableMask(std::uint32_t mask, std::uint32_t bpp)
{
    if (mask == 0) return true;
    if (bpp < 32 && (mask >> bpp) != 0) return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

} // namespace brakkon::bmp
