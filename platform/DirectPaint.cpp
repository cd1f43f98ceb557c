#include "platform/DirectPaint.h"

#include "platform/OverlayLabel.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>

namespace brakkon {
namespace {

/// The window shows what its backing store holds, and the store is the
/// window's size: a resize not yet taken by Qt leaves it to Qt.
bool StoreReady(const QWidget& widget)
{
    const QWidget* top = widget.window();
    if (!widget.isVisible() || !widget.updatesEnabled() || top->testAttribute(Qt::WA_TranslucentBackground))
        return false;
    const QWindow* handle = top->windowHandle();
    const QBackingStore* store = top->backingStore();
    return handle != nullptr && handle->isExposed() && store != nullptr && store->size() == top->size();
}

bool Shown(const QObject* object)
{
    if (!object->isWidgetType()) return false;
    const auto* w = static_cast<const QWidget*>(object);
    return !w->isHidden() && !w->isWindow();
}

} // namespace

QRegion NotStraight(const QWidget& widget, const QRegion& region)
{
    if (region.isEmpty() || !StoreReady(widget)) return region;
    const QRect bounds = region.boundingRect();
    QRegion blocked;
    for (const QObject* child : widget.children()) {
        if (!Shown(child) || qobject_cast<const OverlayLabel*>(child) != nullptr) continue;
        const QRect place = static_cast<const QWidget*>(child)->geometry();
        if (place.intersects(bounds)) blocked += place;
    }
    // Up to the window: the siblings stacked above the widget and above each
    // of its parents, and what lies past a parent's edge. `offset` is where
    // the widget's origin lies in the parent's pixels.
    QPoint offset;
    for (const QWidget* w = &widget; !w->isWindow(); w = w->parentWidget()) {
        if (w->testAttribute(Qt::WA_NativeWindow)) return region; // a surface of its own
        const QWidget* parent = w->parentWidget();
        offset += w->pos();
        blocked += region - QRegion(parent->rect().translated(-offset));
        const QObjectList& siblings = parent->children();
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
            if (!Shown(siblings[i])) continue;
            const QRect place = static_cast<const QWidget*>(siblings[i])->geometry().translated(-offset);
            if (place.intersects(bounds)) blocked += place;
        }
    }
    return region.intersected(blocked);
}

void PaintNow(QWidget& widget, const QRegion& region, const RegionPainter& paint)
{
    if (region.isEmpty()) return;
    const QRegion left = NotStraight(widget, region);
    if (const QRegion straight = region - left; !straight.isEmpty()) {
        QWidget* top = widget.window();
        const QPoint origin = widget.mapTo(top, QPoint());
        const QRegion inWindow = straight.translated(origin);
        QBackingStore* store = top->backingStore();
        store->beginPaint(inWindow);
        {
            QPainter painter(store->paintDevice());
            painter.translate(origin);
            paint(painter, straight);
        }
        store->endPaint();
        store->flush(inWindow, top->windowHandle());
    }
    if (!left.isEmpty()) widget.repaint(left);
}

} // namespace brakkon
