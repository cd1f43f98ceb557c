// The play field's canvas: the off-screen picture behind Image1 and the
// drawing of the working gate on it, in three layers (grounds and walls,
// sprites in list order, the tops that cover tanks).
//
// Owns the canvas image, the one painter that stays open on it for the
// canvas's life, and the frames converted for drawing. Reads the gate and the
// image library of a GameType it does not own. Everything drawn since the
// last TakeChangedRegion is remembered cell by cell, so that the screen gets
// only what changed; nothing is allocated while drawing.
#pragma once

#include "view/FrameLibrary.h"
#include "game/Records.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <array>

namespace brakkon {

/// The canvas: one column and one row of pixels beyond the 19 x 14 field of
/// 32-pixel cells, which stay black.
constexpr int CanvasWidth = FieldCols * FieldCellWidth + 1;
constexpr int CanvasHeight = FieldRows * FieldCellHeight + 1;

class FieldCanvas {
public:
    explicit FieldCanvas(const GameType& game);
    ~FieldCanvas();
    FieldCanvas(const FieldCanvas&) = delete;
    FieldCanvas& operator=(const FieldCanvas&) = delete;

    /// The library of the game changed: its frames are converted again.
    void LibraryChanged();

    /// Clears the whole canvas to black and, when there is a gate, draws all
    /// of it in the three layers.
    void DrawField(const GateType* gate);
    /// Draws, in the three layers, the cells and sprites marked Dirty.
    void PaintChanges(const GateType& gate);

    /// Draws an active sprite's picture at its top-left corner, or a black box
    /// when the library has no such picture.
    void DrawSprite(const SpriteType& sprite);
    /// Draws a cell's ground and wall, or a black cell without its wall when
    /// the ground is missing.
    void DrawCell(const CellType& cell);
    /// Draws a cell's top picture (a bonus icon or a cover), if any.
    void DrawCellTop(const CellType& cell);

    /// What was drawn since the last call (the whole canvas after DrawField).
    [[nodiscard]] QRegion TakeChangedRegion();

    [[nodiscard]] const QImage& Image() const { return image_; }

private:
    void DrawPicture(const FramePicture* picture, std::int32_t left, std::int32_t top);
    void FillBox(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    void Touch(int left, int top, int width, int height);

    const GameType& game_;
    FrameLibrary frames_;
    QImage image_;
    QPainter painter_;

    /// The cells drawn over, one bit per column in each row (the extra column
    /// and row of pixels beyond the field count as a twentieth and fifteenth).
    std::array<std::uint32_t, FieldRows + 1> changed_{};
    /// The cells whose tops the third pass draws, found by the first.
    std::array<const CellType*, FieldCols * FieldRows> marked_{};
};

} // namespace brakkon
