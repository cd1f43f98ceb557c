// Pictures as the text sources hold them: a grid of colours, the legend that
// turns the characters of a grid into colours, and the transformations with
// which one drawing serves several frames (turned to the four directions,
// recoloured for the other player, overlaid with extra detail).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

/// One of the 16 standard colours by its letter and name.
struct NamedColour {
    char Letter;           ///< its character in a grid
    std::string_view Name; ///< its name in "colour" lines
    std::uint32_t Argb;    ///< 0xFFRRGGBB
};

inline constexpr std::array<NamedColour, 16> StandardColours = {{
    {'k', "black", 0xFF000000},  {'m', "maroon", 0xFF800000}, {'g', "green", 0xFF008000},
    {'o', "olive", 0xFF808000},  {'n', "navy", 0xFF000080},   {'p', "purple", 0xFF800080},
    {'t', "teal", 0xFF008080},   {'s', "silver", 0xFFC0C0C0}, {'e', "grey", 0xFF808080},
    {'r', "red", 0xFFFF0000},    {'l', "lime", 0xFF00FF00},   {'y', "yellow", 0xFFFFFF00},
    {'b', "blue", 0xFF0000FF},   {'f', "fuchsia", 0xFFFF00FF}, {'a', "aqua", 0xFF00FFFF},
    {'w', "white", 0xFFFFFFFF},
}};

/// The character of the key colour (fuchsia) of transparent pictures.
constexpr char KeyChar = '.';
constexpr std::uint32_t KeyColour = 0xFFFF00FF;
/// The character of an overlay grid that keeps the pixel below.
constexpr char KeepChar = '-';
/// The largest width or height of a drawing, in pixels.
constexpr std::int32_t MaxDrawingSide = 1024;

/// A colour named in a source: a standard name or "#RRGGBB". Empty otherwise.
[[nodiscard]] std::optional<std::uint32_t> ParseColour(std::string_view word);

/// The word that names a colour in a source: its standard name or "#RRGGBB".
[[nodiscard]] std::string ColourWord(std::uint32_t argb);

/// Characters to colours: the 16 standard letters and '.', plus what a file
/// defines with "colour" lines.
class Legend {
public:
    Legend(); ///< the standard legend

    /// True when c may stand for a colour: printable, not blank, not '-' or '#'.
    [[nodiscard]] static bool Assignable(char c);
    void Set(char c, std::uint32_t argb) { colours_[Slot(c)] = argb; }
    [[nodiscard]] std::optional<std::uint32_t> Find(char c) const;

private:
    static std::size_t Slot(char c) { return static_cast<unsigned char>(c) & 0x7F; }
    std::array<std::optional<std::uint32_t>, 128> colours_{};
};

/// A picture: Width x Height colours (0xFFRRGGBB), top row first.
struct Drawing {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::vector<std::uint32_t> Pixels;

    [[nodiscard]] std::uint32_t At(std::int32_t x, std::int32_t y) const
    {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)];
    }
    friend bool operator==(const Drawing&, const Drawing&) = default;
};

/// Quarter turns: a drawing that faces up, turned right, faces right.
enum class Turn { Left, Right, Half };

[[nodiscard]] Drawing Rotated(const Drawing& drawing, Turn turn);
[[nodiscard]] Drawing Mirrored(const Drawing& drawing, bool acrossVertical);

/// Every pixel of a colour named in `pairs` (from, to) gets its partner
/// colour; all pairs apply at once, so two colours may swap.
[[nodiscard]] Drawing Recoloured(const Drawing& drawing, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs);

/// The drawing a frame facing `direction` (0 left, 1 right, 2 up, 3 down)
/// shows, made from one that faces up.
[[nodiscard]] Drawing FacingDirection(const Drawing& facingUp, std::int32_t direction);

/// The drawing resampled to width x height (each at least 1): every new pixel
/// is the area-weighted mean of the pixels it covers, with the colours
/// weighted by their alpha, so that see-through pixels lend no colour to an
/// edge. Whole multiples up keep every pixel sharp; the desktop icons come
/// from one 32 x 32 drawing this way.
[[nodiscard]] Drawing Scaled(const Drawing& drawing, std::int32_t width, std::int32_t height);

} // namespace brakkon
