#include "platform/DirectPaint.h"

#include "platform/OverlayLabel.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <vector>

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

QRegion NotStraight(const QWidget& widget, const QRegion& region, std::vector<QWidget*>* drawnOver)
{
    if (drawnOver != nullptr) drawnOver->clear();
    if (region.isEmpty() || !StoreReady(widget)) return region;
    const QRect bounds = region.boundingRect();
    QRegion blocked;
    for (QObject* child : widget.children()) {
        if (!Shown(child)) continue;
        auto* over = static_cast<QWidget*>(child);
        if (!over->geometry().intersects(bounds) || qobject_cast<const OverlayLabel*>(child) != nullptr) continue;
        // A child with a surface of its own is not in the window's store.
        if (drawnOver != nullptr && !over->testAttribute(Qt::WA_NativeWindow))
            drawnOver->push_back(over);
        else
            blocked += over->geometry();
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
    static std::vector<QWidget*> over; // kept: the frame allocates nothing here
    const QRegion left = NotStraight(widget, region, &over);
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
            // A child over the region ("[Menu]", an editor's widget) is drawn
            // over the widget's pixels by its own paint, in the same painter,
            // as the widget stack draws it. Clipped to the region: outside it
            // the child would blend over its own older pixels.
            for (QWidget* child : over) {
                const QRegion part = straight.intersected(child->geometry());
                if (part.isEmpty()) continue;
                painter.save();
                painter.setClipRegion(part);
                // A part is drawn with its top-left corner at the offset given.
                child->render(&painter, part.boundingRect().topLeft(), part.translated(-child->pos()),
                              QWidget::DrawChildren);
                painter.restore();
            }
        }
        store->endPaint();
        store->flush(inWindow, top->windowHandle());
    }
    if (!left.isEmpty()) widget.repaint(left);
}

} // namespace brakkon
