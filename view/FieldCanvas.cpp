#include "FieldCanvas.h"

#include <algorithm>

namespace brakkon {
namespace {

const QColor Black(0, 0, 0);

} // namespace

FieldCanvas::FieldCanvas(const GameType& game) : game_(game), image_(CanvasWidth, CanvasHeight, QImage::Format_RGB32)
{
    image_.fill(Black);
    frames_.Rebuild(game_.Images);
    // One painter for the canvas's life: opening one per tick would allocate.
    painter_.begin(&image_);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

FieldCanvas::~FieldCanvas() { painter_.end(); }

void FieldCanvas::LibraryChanged() { frames_.Rebuild(game_.Images); }

void FieldCanvas::DrawField(const GateType* gate)
{
    painter_.fillRect(image_.rect(), Black);
    Touch(0, 0, CanvasWidth, CanvasHeight);
    if (gate == nullptr) return;
    for (const CellColumn& column : gate->Cells)
        for (const auto& cell : column) DrawCell(*cell);
    for (const auto& sprite : gate->Sprites) DrawSprite(*sprite);
    for (const CellColumn& column : gate->Cells)
        for (const auto& cell : column) DrawCellTop(*cell);
}

void FieldCanvas::PaintChanges(const GateType& gate)
{
    for (const CellColumn& column : gate.Cells)
        for (const auto& cell : column)
            if (cell->Dirty) DrawCell(*cell);
    for (const auto& sprite : gate.Sprites)
        if (sprite->Dirty) DrawSprite(*sprite);
    for (const CellColumn& column : gate.Cells)
        for (const auto& cell : column)
            if (cell->Dirty) DrawCellTop(*cell);
}

void FieldCanvas::DrawSprite(const SpriteType& sprite)
{
    if (!sprite.Active) return;
    const QImage* picture = frames_.Frame(sprite.ImageGroup, sprite.Direction, sprite.Frame);
    if (picture != nullptr)
        DrawPicture(picture, sprite.Left, sprite.Top);
    else
        FillBox(sprite.Left, sprite.Top, sprite.Right, sprite.Bottom);
}

void FieldCanvas::DrawCell(const CellType& cell)
{
    const QImage* ground = cell.GroundImage >= 0 ? frames_.Tile(cell.GroundImage) : nullptr;
    if (ground == nullptr) {
        FillBox(cell.Left, cell.Top, cell.Right, cell.Bottom); // and no wall
        return;
    }
    DrawPicture(ground, cell.Left, cell.Top);
    if (cell.WallImage >= 0) DrawPicture(frames_.Tile(cell.WallImage), cell.Left, cell.Top);
}

void FieldCanvas::DrawCellTop(const CellType& cell)
{
    if (cell.TopImage >= 0) DrawPicture(frames_.Tile(cell.TopImage), cell.Left, cell.Top);
}

void FieldCanvas::DrawPicture(const QImage* picture, int left, int top)
{
    if (picture == nullptr || picture->isNull()) return;
    painter_.drawImage(left, top, *picture);
    Touch(left, top, picture->width(), picture->height());
}

void FieldCanvas::FillBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    // Right and bottom are inclusive in the records and exclusive in a fill,
    // so the box's last column and row are left as they were.
    const std::int64_t width = std::int64_t{right} - left;
    const std::int64_t height = std::int64_t{bottom} - top;
    if (width <= 0 || height <= 0) return;
    const QRect box = QRect(left, top, static_cast<int>(std::min<std::int64_t>(width, CanvasWidth)),
                            static_cast<int>(std::min<std::int64_t>(height, CanvasHeight)))
                          .intersected(image_.rect());
    if (box.isEmpty()) return;
    painter_.fillRect(box, Black);
    Touch(box.x(), box.y(), box.width(), box.height());
}

void FieldCanvas::Touch(int left, int top, int width, int height)
{
    // In 64 bits: a picture may lie anywhere a damaged record puts it.
    const auto right = static_cast<int>(std::min<std::int64_t>(std::int64_t{left} + width, CanvasWidth) - 1);
    const auto bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{top} + height, CanvasHeight) - 1);
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left > right || top > bottom) return;
    for (int row = top / FieldCellHeight; row <= bottom / FieldCellHeight; ++row) {
        Span& span = changed_[static_cast<std::size_t>(row)];
        span.First = std::min(span.First, left);
        span.Last = std::max(span.Last, right);
    }
}

QRegion FieldCanvas::TakeChangedRegion()
{
    QRegion region;
    for (std::size_t row = 0; row < changed_.size(); ++row) {
        Span& span = changed_[row];
        if (span.First > span.Last) continue;
        const int top = static_cast<int>(row) * FieldCellHeight;
        const int height = std::min(FieldCellHeight, CanvasHeight - top);
        region += QRect(span.First, top, span.Last - span.First + 1, height);
        span = Span{};
    }
    return region;
}

} // namespace brakkon
