// The Game Editor's rules for building a stored gate: what "AddGate" makes,
// what a tile dropped on a cell does to it, what a click with
// "ClickClearCell" clears, and which cell lies under a point of the field.
// The editor's windows only find the gate and the tile and call these.
#pragma once

#include "game/Records.h"

#include <cstdint>
#include <memory>

namespace brakkon {

/// A stored gate as "AddGate" makes it at `index` of the game's gates: a full
/// map of new cells (NewCell), three lives each, the usual quotas of twenty
/// enemies, and the gate after it to follow.
[[nodiscard]] std::unique_ptr<GateType> NewGate(const GameType& game, std::int32_t index);

/// What a tile of the tile set dropped on a cell makes of it; every field
/// not named stays. A bonus lies on top; a wall blocks with the hardness of
/// its kind; a barrier stops tanks only; a cover takes any bonus away; a
/// ground is a floor picture, under which a wall still blocks. The base and
/// codes outside the table change nothing.
void DropTile(CellType& cell, std::int32_t code);

/// A cell cleared by a click: no bonus, open, no top and no wall picture;
/// the ground and the hardness stay.
void ClearCell(CellType& cell);

/// The cell of `gate` under field pixel (x, y); null outside the map.
[[nodiscard]] CellType* CellAtPoint(const GameType& game, GateType& gate, int x, int y);

} // namespace brakkon
