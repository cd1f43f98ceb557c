#include "game/GateEdits.h"

#include "game/Geometry.h"

#include <algorithm>

namespace brakkon {

std::unique_ptr<GateType> NewGate(const GameType& game, std::int32_t index)
{
    auto gate = std::make_unique<GateType>();
    gate->Cells.resize(static_cast<std::size_t>(std::max(game.Cols, 0)));
    for (std::int32_t col = 0; col < game.Cols; ++col)
        for (std::int32_t row = 0; row < game.Rows; ++row)
            gate->Cells[static_cast<std::size_t>(col)].push_back(std::make_unique<CellType>(NewCell(col, row)));
    gate->GateNo = 1;
    gate->Lives1 = 3;
    gate->Lives2 = 3;
    gate->EnemiesLeft = 0;
    gate->PlayTime = 0;
    gate->Tank = 5;
    gate->LargeTank = 2;
    gate->ZJC = 3;
    gate->KC = 3;
    gate->Total = 20;
    gate->NextGate = index + 1;
    return gate;
}

void DropTile(CellType& cell, std::int32_t code)
{
    if (code >= TileLevelUp && code <= TileShield) {
        cell.Bonus = static_cast<std::uint8_t>(code);
        cell.TopImage = code;
    } else if (code >= TileWallFirst && code <= TileWallLast) {
        cell.Hardness = code - TileWallFirst;
        cell.Block = BlockWall;
        cell.WallImage = code;
    } else if (code >= TileBarrierFirst && code <= TileBarrierLast) {
        cell.Block = BlockBarrier;
        cell.WallImage = code;
    } else if (code >= TileCoverFirst && code <= TileCoverLast) {
        cell.Bonus = BonusNone; // a cover hides nothing to take
        cell.TopImage = code;
    } else if (code >= TileGroundFirst) {
        cell.WallImage = code; // a floor picture: a wall under it still blocks
    }
}

void ClearCell(CellType& cell)
{
    cell.Bonus = BonusNone;
    cell.Block = BlockOpen;
    cell.TopImage = TileNone;
    cell.WallImage = TileNone;
}

CellType* CellAtPoint(const GameType& game, GateType& gate, int x, int y)
{
    if (x < 0 || y < 0) return nullptr;
    const int col = x / FieldCellWidth, row = y / FieldCellHeight;
    if (col >= game.Cols || row >= game.Rows) return nullptr;
    return CellAt(gate, col, row);
}

} // namespace brakkon
