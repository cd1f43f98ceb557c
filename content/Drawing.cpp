#include "content/Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brakkon {

std::optional<std::uint32_t> ParseColour(std::string_view word)
{
    for (const auto& c : StandardColours)
        if (c.Name == word) return c.Argb;
    if (word.size() != 7 || word[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const char h = word[i];
        std::uint32_t digit = 0;
        if (h >= '0' && h <= '9')
            digit = static_cast<std::uint32_t>(h - '0');
        else if (h >= 'a' && h <= 'f')
            digit = static_cast<std::uint32_t>(h - 'a' + 10);
        else if (h >= 'A' && h <= 'F')
            digit = static_cast<std::uint32_t>(h - 'A' + 10);
        else
            return std::nullopt;
        rgb = rgb * 16 + digit;
    }
    return 0xFF000000u | rgb;
}

std::string ColourWord(std::uint32_t argb)
{
    for (const auto& c : StandardColours)
        if (c.Argb == argb) return std::string(c.Name);
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(argb & 0xFFFFFFu));
    return text;
}

Legend::Legend()
{
    for (const auto& c : StandardColours) Set(c.Letter, c.Argb);
    Set(KeyChar, KeyColour);
}

bool Legend::Assignable(char c)
{
    return c > ' ' && c < 0x7F && c != KeepChar && c != '#';
}

std::optional<std::uint32_t> Legend::Find(char c) const
{
    if (!Assignable(c)) return std::nullopt;
    return colours_[Slot(c)];
}

Drawing Rotated(const Drawing& d, Turn turn)
{
    Drawing out;
    const bool quarter = turn != Turn::Half;
    out.Width = quarter ? d.Height : d.Width;
    out.Height = quarter ? d.Width : d.Height;
    out.Pixels.resize(d.Pixels.size());
    for (std::int32_t y = 0; y < out.Height; ++y)
        for (std::int32_t x = 0; x < out.Width; ++x) {
            std::uint32_t colour = 0;
            switch (turn) {
            case Turn::Right: colour = d.At(y, d.Height - 1 - x); break; // the top row becomes the right column
            case Turn::Left: colour = d.At(d.Width - 1 - y, x); break;   // the top row becomes the left column
            case Turn::Half: colour = d.At(d.Width - 1 - x, d.Height - 1 - y); break;
            }
            out.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.Width) + static_cast<std::size_t>(x)] =
                colour;
        }
    return out;
}

Drawing Mirrored(const Drawing& d, bool acrossVertical)
{
    Drawing out = d;
    for (std::int32_t y = 0; y < d.Height; ++y)
        for (std::int32_t x = 0; x < d.Width; ++x)
            out.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.Width) + static_cast<std::size_t>(x)] =
                acrossVertical ? d.At(d.Width - 1 - x, y) : d.At(x, d.Height - 1 - y);
    return out;
}

Drawing Recoloured(const Drawing& d, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs)
{
    Drawing out = d;
    for (auto& pixel : out.Pixels)
        for (const auto& [from, to] : pairs)
            if (pixel == from) {
                pixel = to;
                break;
            }
    return out;
}

Drawing FacingDirection(const Drawing& facingUp, std::int32_t direction)
{
    switch (direction) {
    case 0: return Rotated(facingUp, Turn::Left);
    case 1: return Rotated(facingUp, Turn::Right);
    case 3: return Rotated(facingUp, Turn::Half);
    default: return facingUp;
    }
}

namespace {

/// How much of source pixel `i` (of `from`) falls inside target pixel `j`
/// (of `to`), measured in units of 1 / (from * to) so that it stays whole.
std::int64_t Overlap(std::int64_t i, std::int64_t j, std::int64_t from, std::int64_t to)
{
    const std::int64_t lo = std::max(i * to, j * from);
    const std::int64_t hi = std::min((i + 1) * to, (j + 1) * from);
    return std::max<std::int64_t>(0, hi - lo);
}

} // namespace

Drawing Scaled(const Drawing& d, std::int32_t width, std::int32_t height)
{
    Drawing out;
    out.Width = width;
    out.Height = height;
    out.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            // The source pixels that target (x, y) covers, whole or in part.
            const std::int32_t x0 = static_cast<std::int32_t>(std::int64_t{x} * d.Width / width);
            const std::int32_t x1 = static_cast<std::int32_t>(((std::int64_t{x} + 1) * d.Width + width - 1) / width);
            const std::int32_t y0 = static_cast<std::int32_t>(std::int64_t{y} * d.Height / height);
            const std::int32_t y1 = static_cast<std::int32_t>(((std::int64_t{y} + 1) * d.Height + height - 1) / height);
            double alpha = 0, red = 0, green = 0, blue = 0, area = 0;
            for (std::int32_t sy = y0; sy < y1; ++sy)
                for (std::int32_t sx = x0; sx < x1; ++sx) {
                    const auto w =
                        static_cast<double>(Overlap(sx, x, d.Width, width) * Overlap(sy, y, d.Height, height));
                    const std::uint32_t p = d.At(sx, sy);
                    const double a = w * static_cast<double>(p >> 24);
                    alpha += a;
                    red += a * static_cast<double>((p >> 16) & 0xFF);
                    green += a * static_cast<double>((p >> 8) & 0xFF);
                    blue += a * static_cast<double>(p & 0xFF);
                    area += w;
                }
            if (alpha <= 0) continue; // wholly see-through
            const auto channel = [](double v) {
                return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0)));
            };
            out.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                channel(alpha / area) << 24 | channel(red / alpha) << 16 | channel(green / alpha) << 8 |
                channel(blue / alpha);
        }
    return out;
}

} // namespace brakkon
