#include "view/FieldCanvas.h"

#include <algorithm>

namespace brakkon {
namespace {

const QColor Black(0, 0, 0);

/// `top` drawn at the same corner covers every pixel of `under` with its own.
bool Hides(const FramePicture* top, const FramePicture& under)
{
    return top != nullptr && !top->Image.isNull() && top->Image.format() == QImage::Format_RGB32 &&
           QRect(top->Offset, top->Image.size()).contains(QRect(under.Offset, under.Image.size()));
}

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
    // The first pass remembers the marked cells for the third (a map of any
    // other size than the field's is walked twice).
    std::size_t marked = 0;
    bool overflow = false;
    for (const CellColumn& column : gate.Cells)
        for (const auto& cell : column) {
            if (!cell->Dirty) continue;
            DrawCell(*cell);
            if (marked < marked_.size())
                marked_[marked++] = cell.get();
            else
                overflow = true;
        }
    for (const auto& sprite : gate.Sprites)
        if (sprite->Dirty) DrawSprite(*sprite);
    if (overflow) {
        for (const CellColumn& column : gate.Cells)
            for (const auto& cell : column)
                if (cell->Dirty) DrawCellTop(*cell);
        return;
    }
    for (std::size_t i = 0; i < marked; ++i) DrawCellTop(*marked_[i]);
}

void FieldCanvas::DrawSprite(const SpriteType& sprite)
{
    if (!sprite.Active) return;
    const FramePicture* picture = frames_.Frame(sprite.ImageGroup, sprite.Direction, sprite.Frame);
    if (picture != nullptr)
        DrawPicture(picture, sprite.Left, sprite.Top);
    else
        FillBox(sprite.Left, sprite.Top, sprite.Right, sprite.Bottom);
}

void FieldCanvas::DrawCell(const CellType& cell)
{
    const FramePicture* ground = cell.GroundImage >= 0 ? frames_.Tile(cell.GroundImage) : nullptr;
    if (ground == nullptr) {
        FillBox(cell.Left, cell.Top, cell.Right, cell.Bottom); // and no wall
        return;
    }
    const FramePicture* wall = cell.WallImage >= 0 ? frames_.Tile(cell.WallImage) : nullptr;
    // A whole opaque wall hides its ground: the ground is not drawn first.
    if (!Hides(wall, *ground)) DrawPicture(ground, cell.Left, cell.Top);
    if (wall != nullptr) DrawPicture(wall, cell.Left, cell.Top);
}

void FieldCanvas::DrawCellTop(const CellType& cell)
{
    if (cell.TopImage >= 0) DrawPicture(frames_.Tile(cell.TopImage), cell.Left, cell.Top);
}

void FieldCanvas::DrawPicture(const FramePicture* picture, std::int32_t left, std::int32_t top)
{
    if (picture == nullptr || picture->Image.isNull()) return;
    // In 64 bits: a record read from a file may put a picture anywhere, and
    // one wholly off the canvas is not drawn at all.
    const std::int64_t x = std::int64_t{left} + picture->Offset.x();
    const std::int64_t y = std::int64_t{top} + picture->Offset.y();
    const int width = picture->Image.width();
    const int height = picture->Image.height();
    if (x >= CanvasWidth || y >= CanvasHeight || x + width <= 0 || y + height <= 0) return;
    painter_.drawImage(static_cast<int>(x), static_cast<int>(y), picture->Image);
    Touch(static_cast<int>(x), static_cast<int>(y), width, height);
}

void FieldCanvas::FillBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    // Right and bottom are inclusive in the records and exclusive in a fill,
    // so the box's last column and row are left as they were. The box is cut
    // to the canvas before anything is added to its edges.
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(right, CanvasWidth);
    const int y1 = std::min(bottom, CanvasHeight);
    if (x1 <= x0 || y1 <= y0) return;
    painter_.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), Black);
    Touch(x0, y0, x1 - x0, y1 - y0);
}

void FieldCanvas::Touch(int left, int top, int width, int height)
{
    // In 64 bits: a picture may lie anywhere a damaged record puts it.
    const auto right = static_cast<int>(std::min<std::int64_t>(std::int64_t{left} + width, CanvasWidth) - 1);
    const auto bottom = static_cast<int>(std::min<std::int64_t>(std::int64_t{top} + height, CanvasHeight) - 1);
    left = std::max(left, 0);
    top = std::max(top, 0);
    if (left > right || top > bottom) return;
    const int firstCol = left / FieldCellWidth, lastCol = right / FieldCellWidth;
    const std::uint32_t columns = ((2u << lastCol) - 1u) & ~((1u << firstCol) - 1u);
    for (int row = top / FieldCellHeight; row <= bottom / FieldCellHeight; ++row)
        changed_[static_cast<std::size_t>(row)] |= columns;
}

QRegion FieldCanvas::TakeChangedRegion()
{
    // Built in one go, in the form a region keeps: bands top to bottom, each
    // band's runs of neighbouring cells left to right, a row with the same
    // runs as the band just above it merged into that band. A union per run
    // would allocate and merge at every rectangle, every frame.
    std::array<QRect, (FieldRows + 1) * ((FieldCols + 2) / 2)> rects; // a row has at most every other cell
    int count = 0;
    int bandStart = 0;
    int bandSize = 0; // 0: the row above changed nothing
    const QRect canvas = image_.rect();
    for (std::size_t row = 0; row < changed_.size(); ++row) {
        std::uint32_t columns = changed_[row];
        changed_[row] = 0;
        const int rowStart = count;
        for (int col = 0; columns != 0;) {
            if ((columns & 1u) == 0) {
                columns >>= 1;
                ++col;
                continue;
            }
            int run = 0;
            while ((columns & 1u) != 0) {
                columns >>= 1;
                ++run;
            }
            rects[static_cast<std::size_t>(count++)] =
                QRect(col * FieldCellWidth, static_cast<int>(row) * FieldCellHeight, run * FieldCellWidth, FieldCellHeight)
                    .intersected(canvas);
            col += run;
        }
        const int size = count - rowStart;
        const auto at = [&rects](int i) -> QRect& { return rects[static_cast<std::size_t>(i)]; };
        bool same = size != 0 && size == bandSize;
        for (int i = 0; same && i < size; ++i)
            same = at(bandStart + i).left() == at(rowStart + i).left() && at(bandStart + i).right() == at(rowStart + i).right();
        if (same) {
            for (int i = 0; i < size; ++i) at(bandStart + i).setBottom(at(rowStart + i).bottom());
            count = rowStart;
        } else {
            bandStart = rowStart;
            bandSize = size;
        }
    }
    QRegion region;
    region.setRects(rects.data(), count);
    return region;
}

} // namespace brakkon
