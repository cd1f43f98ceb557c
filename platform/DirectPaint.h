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
// exposed and its backing store of the window's size (no resize pending),
// and nothing over the region but the widget's overlay labels, which its
// paint draws itself. A child of another kind, a sibling stacked above it
// or above one of its parents, and whatever lies beyond a parent's edge
// are left to an ordinary repaint, which draws them as Qt would.
//
// The backing store is the only copy of the window's picture: Qt's own later
// paints draw the widgets as they are then, and the painter function draws
// the widget as it is now, so neither can put older pixels over newer ones.
#pragma once

#include <QRegion>

#include <functional>

class QPainter;
class QWidget;

namespace brakkon {

/// Draws the given region of a widget (in its pixels) with the painter.
using RegionPainter = std::function<void(QPainter&, const QRegion&)>;

/// Shows `region` of `widget` (in its pixels) on the screen now: straight
/// into the window's backing store where that is safe, by `repaint` elsewhere.
void PaintNow(QWidget& widget, const QRegion& region, const RegionPainter& paint);

/// The part of `region` (in the widget's pixels) that a straight paint must
/// leave to a repaint: all of it while the window cannot take one.
[[nodiscard]] QRegion NotStraight(const QWidget& widget, const QRegion& region);

} // namespace brakkon
