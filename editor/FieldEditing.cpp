// Building a stored gate's map on the main window's field: a tile dragged
// from the frame view and dropped on a cell sets that cell by the tile's
// code, and with "ClickClearCell" pressed a click clears a cell. Each edit
// changes the stored gate selected in the gate list, never the working gate,
// and then shows that gate again, so the field shows the map as it now is.
#include "editor/ImagesUnit.h"

#include "game/GateEdits.h"

#include <QDragMoveEvent>

namespace brakkon {
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
    ClearCell(*cell);
    ShowGate(*gate);
}

} // namespace brakkon
