#include "platform/DirectPaint.h"

#include "platform/OverlayLabel.h"

#include <QBackingStore>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <optional>
#include <utility>
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

/// Hears whatever changes what lies over a widget or where: a widget shown,
/// hidden, moved, resized, restacked, made, removed, given to another parent
/// or a surface of its own. It watches the widgets a kept layout was read
/// from; the widgets live on the main thread, and so does this.
class LayoutWatch : public QObject {
public:
    unsigned Generation = 1;
    void Bump() { ++Generation; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ZOrderChange:
        case QEvent::ParentChange:
        case QEvent::ChildAdded:
        case QEvent::ChildRemoved:
        case QEvent::WinIdChange: Bump(); break;
        default: break;
        }
        return false;
    }
};

LayoutWatch& Watch()
{
    static auto* watch = new LayoutWatch; // for the run: the widgets it watches may outlive any owner
    return *watch;
}

/// What lies over a widget, read from its children, its parents and their
/// children, kept until one of them changes.
struct Layout {
    const QWidget* Widget = nullptr;
    unsigned Made = 0;
    bool OwnSurface = false; ///< it or a parent has a native window: all is repainted
    std::optional<QRect> Inside; ///< inside every parent, in the widget's pixels (none: a window)
    std::vector<std::pair<QWidget*, QRect>> Over; ///< shown children to draw over it (not labels, no surface)
    std::vector<QRect> Blocking; ///< children with a surface, and what is stacked above it or a parent
};

void Read(Layout& layout, const QWidget& widget)
{
    LayoutWatch& watch = Watch();
    layout.Made = watch.Generation;
    layout.OwnSurface = false;
    layout.Over.clear();
    layout.Blocking.clear();
    auto watched = [&watch](const QObject* object) { const_cast<QObject*>(object)->installEventFilter(&watch); };
    watched(&widget);
    QObject::connect(&widget, &QObject::destroyed, &watch, &LayoutWatch::Bump, Qt::UniqueConnection);
    for (QObject* child : widget.children()) {
        watched(child); // the hidden ones too: they may be shown
        if (!Shown(child) || qobject_cast<const OverlayLabel*>(child) != nullptr) continue;
        auto* over = static_cast<QWidget*>(child);
        if (over->testAttribute(Qt::WA_NativeWindow)) layout.Blocking.push_back(over->geometry());
        else layout.Over.emplace_back(over, over->geometry());
    }
    // Up to the window: the siblings stacked above the widget and above each
    // of its parents, and what lies past a parent's edge. `offset` is where
    // the widget's origin lies in the parent's pixels.
    QPoint offset;
    layout.Inside.reset();
    for (const QWidget* w = &widget; !w->isWindow(); w = w->parentWidget()) {
        if (w->testAttribute(Qt::WA_NativeWindow)) {
            layout.OwnSurface = true;
            return;
        }
        const QWidget* parent = w->parentWidget();
        offset += w->pos();
        const QRect parentArea = parent->rect().translated(-offset);
        layout.Inside = layout.Inside ? *layout.Inside & parentArea : parentArea;
        const QObjectList& siblings = parent->children();
        bool above = false;
        for (QObject* sibling : siblings) {
            watched(sibling); // the ones below too: they may be raised
            if (sibling == w) above = true;
            else if (above && Shown(sibling))
                layout.Blocking.push_back(static_cast<const QWidget*>(sibling)->geometry().translated(-offset));
        }
    }
}

/// Walking the children, the parents and their children every frame (a few
/// cache lines each, cold after the rest of the frame) cost more than the
/// frame's labels; they change seldom.
const Layout& LayoutOf(const QWidget& widget)
{
    static std::vector<Layout> layouts; // a widget or two: the field, the magnifier, a floor window
    const unsigned now = Watch().Generation;
    auto found = std::find_if(layouts.begin(), layouts.end(), [&](const Layout& l) { return l.Widget == &widget; });
    if (found == layouts.end()) {
        // A layout read before something changed is of no use any more (its widget may be gone).
        std::erase_if(layouts, [now](const Layout& l) { return l.Made != now; });
        found = layouts.insert(layouts.end(), Layout{});
        found->Widget = &widget;
    }
    if (found->Made != now) Read(*found, widget);
    return *found;
}

} // namespace

QRegion NotStraight(const QWidget& widget, const QRegion& region, std::vector<QWidget*>* drawnOver)
{
    if (drawnOver != nullptr) drawnOver->clear();
    if (region.isEmpty() || !StoreReady(widget)) return region;
    const Layout& layout = LayoutOf(widget);
    if (layout.OwnSurface) return region;
    const QRect bounds = region.boundingRect();
    QRegion blocked;
    if (layout.Inside && !layout.Inside->contains(bounds)) blocked = region - QRegion(*layout.Inside);
    for (const auto& [over, place] : layout.Over) {
        if (!place.intersects(bounds)) continue;
        if (drawnOver != nullptr) drawnOver->push_back(over);
        else blocked += place;
    }
    for (const QRect& place : layout.Blocking)
        if (place.intersects(bounds)) blocked += place;
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
