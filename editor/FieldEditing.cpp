// Building a stored gate's map on the main window's field: a tile dragged
// from the frame view and dropped on a cell sets that cell by the tile's
// code, and with "ClickClearCell" pressed a click clears a cell. Each edit
// changes the stored gate selected in the gate list, never the working gate,
// and then shows that gate again, so the field shows the map as it now is.
#include "editor/ImagesUnit.h"

#include "game/Geometry.h"

#include <QDragMoveEvent>

namespace brakkon {
namespace {

/// The field's cells are 32 pixels a side, whatever the game data says.
constexpr int EditCellSize = 32;

/// The cell of `gate` under field pixel (x, y); null outside the map.
CellType* CellAtPoint(const GameType& game, GateType& gate, int x, int y)
{
    if (x < 0 || y < 0) return nullptr;
    const int col = x / EditCellSize, row = y / EditCellSize;
    if (col >= game.Cols || row >= game.Rows) return nullptr;
    return CellAt(gate, col, row);
}

/// What a dropped tile makes of a cell; every field not named stays.
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

} // namespace

void TImagesForm::Image1DragOver(QDragMoveEvent& event)
{
    // A file or a text of another program would edit the gate shown and
    // restart it: only the frame view's tiles are taken.
    if (!FromFrameView(event.mimeData())) return event.ignore();
    // As a copy: a move would take the frame out of the frame view.
    event.setDropAction(Qt::CopyAction);
    event.accept();
}

void TImagesForm::Image1DragDrop(int X, int Y)
{
    const auto frame = SelectedFrame();
    const auto node = SelectedNode();
    const auto gate = SelectedGate();
    if (!frame || !node || !gate) return;
    // Only tiles of the tile set, and never the base.
    if (node->Group != GroupTiles || node->Image != 0 || *frame == TileBase) return;
    CellType* cell = CellAtPoint(state_.Game, *state_.Game.Gates[static_cast<std::size_t>(*gate)], X, Y);
    if (cell == nullptr) return;
    DropTile(*cell, *frame);
    ShowGate(*gate);
}

void TImagesForm::Image1MouseDown(int X, int Y)
{
    const auto gate = SelectedGate();
    if (!main_.FieldEditing() || !gate || !ClickClearCell->isChecked()) return;
    CellType* cell = CellAtPoint(state_.Game, *state_.Game.Gates[static_cast<std::size_t>(*gate)], X, Y);
    if (cell == nullptr) return;
    // The ground and the hardness stay.
    cell->Bonus = BonusNone;
    cell->Block = BlockOpen;
    cell->TopImage = TileNone;
    cell->WallImage = TileNone;
    ShowGate(*gate);
}

} // namespace brakkon
