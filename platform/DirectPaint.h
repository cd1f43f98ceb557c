// Showing a widget's changed pixels without a trip through the widget stack.
//
// A repaint of a widget costs a paint event, a painter on the window's
// surface, a walk over the widget's children and siblings, and the window's
// repaint manager around it all. For a widget that knows how to draw any
// region of itself (the field from its canvas, the magnifier from its
// picture), PaintNow draws the region straight into the top-level window's
// backing store with one painter and flushes it: what the widget's own paint
// would have drawn there, drawn by the same function.
//
// It does so only where that is the whole picture: the window shown,
// exposed and its backing store of the window's size (no resize pending).
// The widget's overlay labels are drawn by its own paint; any other child
// over the region is drawn over it by the child's own paint in the same
// painter, as the widget stack would. A sibling stacked above the widget or
// above one of its parents, whatever lies beyond a parent's edge, and a
// child with a native window of its own are left to an ordinary repaint,
// which draws them as Qt would.
//
// The backing store is the only copy of the window's picture: Qt's own later
// paints draw the widgets as they are then, and the painter function draws
// the widget as it is now, so neither can put older pixels over newer ones.
#pragma once

#include <QRegion>

#include <functional>
#include <vector>

class QPainter;
class QWidget;

namespace brakkon {

/// Draws the given region of a widget (in its pixels) with the painter.
using RegionPainter = std::function<void(QPainter&, const QRegion&)>;

/// Shows `region` of `widget` (in its pixels) on the screen now: straight
/// into the window's backing store where that is safe, by `repaint` elsewhere.
void PaintNow(QWidget& widget, const QRegion& region, const RegionPainter& paint);

/// The part of `region` (in the widget's pixels) that a straight paint must
/// leave to a repaint: all of it while the window cannot take one. With
/// `drawnOver`, the shown children over the region that are not overlay
/// labels go there, to be drawn over the straight paint, instead of being
/// left to a repaint.
[[nodiscard]] QRegion NotStraight(const QWidget& widget, const QRegion& region,
                                  std::vector<QWidget*>* drawnOver = nullptr);

} // namespace brakkon
