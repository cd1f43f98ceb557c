#include "Drawing.h"

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

} // namespace brakkon
