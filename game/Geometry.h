// Geometry and dirty marking of the play field: rectangle tests, guarded cell
// look-ups, the spreading of Dirty marks over overlapping sprites, and the
// animation-frame step.
//
// Everything here works on the working gate of MainState and allocates
// nothing. The movers (Movers.h) and the drawing step call these; the marking
// only ever sets Dirty flags.
#pragma once

#include "game/MainState.h"

namespace brakkon {

/// An inclusive pixel rectangle.
struct Rect {
    std::int32_t Left = 0;   ///< first column of pixels
    std::int32_t Top = 0;    ///< first row of pixels
    std::int32_t Right = 0;  ///< last column, included
    std::int32_t Bottom = 0; ///< last row, included
};

[[nodiscard]] constexpr Rect RectOf(const SpriteType& s) { return {s.Left, s.Top, s.Right, s.Bottom}; }
[[nodiscard]] constexpr Rect RectOf(const CellType& c) { return {c.Left, c.Top, c.Right, c.Bottom}; }

/// True when (x, y) lies in r, edges included.
[[nodiscard]] constexpr bool PointInRect(const Rect& r, std::int32_t x, std::int32_t y)
{
    return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

/// True when one of b's corners lies in a (the four corners are tested in the
/// order top-left, bottom-right, bottom-left, top-right; the answer does not
/// depend on it). For one-cell boxes: the two share a pixel.
[[nodiscard]] constexpr bool CornerInRect(const Rect& a, const Rect& b)
{
    // The corners are every pairing of b's two x and two y values, so some
    // corner lies in a exactly when one x and one y of b lie in a's ranges.
    // Evaluated without branches: the dirty marking runs this for every
    // sprite against every cell it marks.
    const bool x = ((a.Left <= b.Left) & (b.Left <= a.Right)) | ((a.Left <= b.Right) & (b.Right <= a.Right));
    const bool y = ((a.Top <= b.Top) & (b.Top <= a.Bottom)) | ((a.Top <= b.Bottom) & (b.Bottom <= a.Bottom));
    return x & y;
}

/// True when a's centre lies strictly inside b's box.
[[nodiscard]] bool CentreInside(const SpriteType& a, const SpriteType& b);

/// The cell at (col, row) of `gate`, or null when the map has no such cell.
[[nodiscard]] CellType* CellAt(GateType& gate, std::int32_t col, std::int32_t row);
[[nodiscard]] const CellType* CellAt(const GateType& gate, std::int32_t col, std::int32_t row);

/// True when the cell exists and is open (Block 0). A cell the map does not
/// have is shut.
[[nodiscard]] bool CellOpen(const GateType& gate, std::int32_t col, std::int32_t row);

/// Places the sprite aligned on (col, row): offsets 0, rectangle from the cell.
void PlaceOnCell(const GameType& game, SpriteType& s, std::int32_t col, std::int32_t row);

/// Marks an active sprite Dirty, and with it every active sprite later in the
/// list (from its Index + 1 on) that overlaps it and is not yet Dirty, and so
/// on along chains of overlaps. Inactive sprites are left alone.
void MarkSprite(MainState& state, SpriteType& s);

/// Marks the cell Dirty and every active, not yet Dirty sprite that overlaps it.
void MarkCell(MainState& state, CellType& c);

/// Steps the sprite's animation frame, wrapping to 0 after the image's last
/// frame; nothing when the library lacks its group or direction.
void NextFrame(const MainState& state, SpriteType& s);

} // namespace brakkon
