// Gate files ("brakkon-gate 1"): a gate's quotas, total, next gate and ground
// tile, then its 19 x 14 map, one character per cell, with a legend that
// gives each character the cell fields the Game Editor would set for that
// tile. Cells and sprites that the map cannot express are stated one by one
// below it, so any stored gate can be written and read back whole. The
// format is described in data/README.md.
#pragma once

#include "game/RecordFields.h"
#include "game/Records.h"
#include "content/TextSource.h"

#include <array>
#include <string>
#include <vector>

namespace brakkon {

constexpr std::string_view GateKind = "brakkon-gate";
constexpr std::int32_t GateVersion = 1;

/// The running totals GateNo, PlayTime, Lives1, Lives2 and EnemiesLeft as a
/// new gate of the editor has them; a gate file leaves out those that agree.
constexpr std::array<std::int32_t, GateRunningFieldCount> NewGateRunningTotals = {1, 0, 3, 3, 0};

/// What a map character stands for: the content fields of a cell (Bonus to
/// GroundImage) as its tile sets them. The cell's place and Dirty mark stay at
/// their defaults, and so does its GroundImage unless OwnGround: the map and
/// the gate's ground tile fill them in.
struct CellContent {
    CellType Cell;
    bool OwnGround = false;

    friend bool operator==(const CellContent&, const CellContent&) = default;
};

/// The standard legend: '.' open ground, 'B' base, '*' '+' 'S' bonuses,
/// '#' '%' '@' walls of hardness 0 1 2, '~' '=' ':' barriers, 'T' 'b' 'N'
/// covers, '0'..'9' floor tiles 13..22 laid over the ground.
struct LegendEntry {
    char Char;
    CellContent Content;
    const char* Meaning;
};
[[nodiscard]] const std::vector<LegendEntry>& StandardGateLegend();

/// Reads a gate file into fresh records and hands them to `gate` only when
/// the whole file was read. Fails with "FILE:LINE: ..." on the first fault.
[[nodiscard]] TextResult ReadGateText(const TextSource& source, GateType& gate);

/// The text of a gate file that reads back to exactly this gate. Fails only
/// for a gate whose map is not 19 columns of 14 cells.
[[nodiscard]] TextResult WriteGateText(const GateType& gate, std::string& text);

/// The cell a map character makes at (col, row) in a gate of ground `ground`.
[[nodiscard]] CellType MakeCell(const CellContent& content, std::int32_t ground, std::int32_t col, std::int32_t row);

} // namespace brakkon
