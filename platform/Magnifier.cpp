#include "platform/Magnifier.h"

#include "platform/DirectPaint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace brakkon {
namespace {

/// `widget` and its parents up to `top`, nearest first.
std::vector<QWidget*> Chain(QWidget* widget, const QWidget* top)
{
    std::vector<QWidget*> chain;
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        chain.push_back(w);
        if (w == top) break;
    }
    return chain;
}

bool Contains(const std::vector<QWidget*>& chain, const QWidget* w)
{
    return std::find(chain.begin(), chain.end(), w) != chain.end();
}

} // namespace

Magnifier::Magnifier(QWidget* content, QWidget* window) : QWidget(window), content_(content)
{
    setObjectName(QStringLiteral("Magnifier"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAcceptDrops(true);
    hide();
    window->installEventFilter(this); // follows the window's size
}

void Magnifier::Start(int scale)
{
    wanted_ = std::max(scale, 1);
    content_->hide();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    Fit();
}

void Magnifier::Stop()
{
    Hover(nullptr, {});
    hide();
    content_->show();
    shown_ = 1;
    frame_ = magnified_ = QImage();
    looks_.clear();
}

QPoint Magnifier::Origin() const
{
    const QSize picture = content_->size() * shown_;
    return {(width() - picture.width()) / 2, (height() - picture.height()) / 2};
}

bool Magnifier::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) {
        setGeometry(parentWidget()->rect());
        Fit();
    }
    return QWidget::eventFilter(watched, event);
}

/// The largest scale up to the wanted one that the window holds.
void Magnifier::Fit()
{
    const QSize size = content_->size();
    int scale = wanted_;
    while (scale > 1 && (size.width() * scale > width() || size.height() * scale > height())) --scale;
    shown_ = scale;
    magnified_ = QImage(size * scale, QImage::Format_RGB32);
    magnified_.fill(Qt::black);
    Refresh();
    update();
}

void Magnifier::Refresh()
{
    const QSize size = content_->size();
    if (frame_.size() != size) frame_ = QImage(size, QImage::Format_RGB32);
    looks_.clear(); // taken afresh from every widget
    for (QWidget* widget : content_->findChildren<QWidget*>()) looks_.push_back(LookOf(widget));
    repaint(Render(QRegion(content_->rect())));
}

void Magnifier::Show(const QRegion& changed)
{
    if (frame_.isNull()) return; // not started
    const QRegion region = Render(changed + ChangedLooks());
    PaintNow(*this, region, [this](QPainter& painter, const QRegion& part) { Draw(painter, part); });
}

Magnifier::Look Magnifier::LookOf(QWidget* widget) const
{
    Look look;
    look.Widget = widget;
    if (widget->isVisibleTo(content_)) look.Place = QRect(widget->mapTo(content_, QPoint()), widget->size());
    look.Colour = widget->palette().color(widget->foregroundRole()).rgba();
    look.Hovered = widget->testAttribute(Qt::WA_UnderMouse);
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        look.Text = label->text();
        look.Picture = label->pixmap().cacheKey();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        look.Down = button->isDown();
    }
    return look;
}

QRegion Magnifier::ChangedLooks()
{
    QRegion changed;
    for (Look& was : looks_) {
        if (was.Widget.isNull()) continue;
        Look now = LookOf(was.Widget);
        if (now.Same(was)) continue;
        changed += was.Place;
        changed += now.Place;
        was = std::move(now);
    }
    return changed;
}

QRegion Magnifier::Render(const QRegion& wanted)
{
    const QRegion region = wanted.intersected(content_->rect()); // a label may reach past the panel's edge
    if (region.isEmpty()) return {};
    {
        // The window's own background, as it lies under the content unscaled.
        QPainter painter(&frame_);
        const QColor window = parentWidget()->palette().color(QPalette::Window);
        for (const QRect& rect : region) painter.fillRect(rect, window);
    }
    content_->render(&frame_, region.boundingRect().topLeft(), region, QWidget::DrawChildren);
    QRegion shown;
    for (const QRect& rect : region) {
        Magnify(rect);
        shown += QRect(Origin() + rect.topLeft() * shown_, rect.size() * shown_);
    }
    return shown;
}

void Magnifier::Magnify(const QRect& rect)
{
    const int s = shown_;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(frame_.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(magnified_.scanLine(y * s));
        for (int x = rect.left(); x <= rect.right(); ++x)
            for (int k = 0; k < s; ++k) to[x * s + k] = from[x];
        const std::size_t bytes = static_cast<std::size_t>(rect.width() * s) * sizeof(QRgb);
        for (int k = 1; k < s; ++k) std::memcpy(magnified_.scanLine(y * s + k) + rect.left() * s * 4, to + rect.left() * s, bytes);
    }
}

bool Magnifier::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    // The tooltip of the content's widget under the point, where it would
    // show unscaled under the pointer.
    auto* help = static_cast<QHelpEvent*>(event);
    const QPointF scaled = ContentPoint(help->pos());
    const QPoint at(static_cast<int>(std::floor(scaled.x())), static_cast<int>(std::floor(scaled.y())));
    for (QWidget* w = ContentAt(at); w != nullptr; w = w == content_ ? nullptr : w->parentWidget()) {
        if (w->toolTip().isEmpty()) continue;
        QHelpEvent copy(QEvent::ToolTip, w->mapFrom(content_, at), help->globalPos());
        return QApplication::sendEvent(w, &copy);
    }
    event->ignore();
    return true;
}

void Magnifier::paintEvent(QPaintEvent* event)
{
    // A widget that changed since the last frame (no frame ran since: the
    // tests drive the window by hand) is shown as it is now.
    if (!frame_.isNull())
        if (const QRegion late = Render(ChangedLooks()) - event->region(); !late.isEmpty()) update(late);
    QPainter painter(this);
    Draw(painter, event->region());
}

void Magnifier::Draw(QPainter& painter, const QRegion& region) const
{
    const QRect picture(Origin(), magnified_.size());
    for (const QRect& rect : region - picture) painter.fillRect(rect, Qt::black);
    for (const QRect& rect : region & picture) painter.drawImage(rect.topLeft(), magnified_, rect.translated(-picture.topLeft()));
}

QWidget* Magnifier::ContentAt(const QPoint& at) const
{
    if (!content_->rect().contains(at)) return nullptr;
    QWidget* child = content_->childAt(at);
    return child != nullptr ? child : content_;
}

void Magnifier::mousePressEvent(QMouseEvent* event) { Forward(*event); }
void Magnifier::mouseReleaseEvent(QMouseEvent* event) { Forward(*event); }
void Magnifier::mouseDoubleClickEvent(QMouseEvent* event) { Forward(*event); }
void Magnifier::mouseMoveEvent(QMouseEvent* event) { Forward(*event); }

void Magnifier::leaveEvent(QEvent* event)
{
    Hover(nullptr, {});
    QWidget::leaveEvent(event);
}

QPointF Magnifier::ContentPoint(const QPointF& position) const { return (position - QPointF(Origin())) / shown_; }

void Magnifier::Forward(QMouseEvent& event)
{
    const QPointF scaled = ContentPoint(event.position());
    const QPoint at(static_cast<int>(std::floor(scaled.x())), static_cast<int>(std::floor(scaled.y())));
    QWidget* under = ContentAt(at);
    if (pressed_ == nullptr) Hover(under, at); // a held button keeps the pointer with its widget, as unscaled
    QWidget* target = pressed_ != nullptr ? pressed_.data() : under;
    if (event.type() == QEvent::MouseButtonPress && pressed_ == nullptr) pressed_ = target;
    if (event.type() == QEvent::MouseButtonRelease && event.buttons() == Qt::NoButton) pressed_ = nullptr;
    if (target != nullptr) {
        const QPointF local = QPointF(target->mapFrom(content_, at)) + (scaled - QPointF(at));
        QMouseEvent copy(event.type(), local, local, event.globalPosition(), event.button(), event.buttons(), event.modifiers());
        QApplication::sendEvent(target, &copy);
    }
    if (pressed_ == nullptr && event.type() == QEvent::MouseButtonRelease) Hover(ContentAt(at), at);
    Show({});
}

void Magnifier::dragEnterEvent(QDragEnterEvent* event) { ForwardDrag(*event); }
void Magnifier::dragMoveEvent(QDragMoveEvent* event) { ForwardDrag(*event); }
void Magnifier::dropEvent(QDropEvent* event) { ForwardDrag(*event); }

void Magnifier::ForwardDrag(QDropEvent& event)
{
    const QPointF scaled = ContentPoint(event.position());
    const QPoint at(static_cast<int>(std::floor(scaled.x())), static_cast<int>(std::floor(scaled.y())));
    QWidget* target = ContentAt(at);
    while (target != nullptr && !target->acceptDrops()) target = target == content_ ? nullptr : target->parentWidget();
    if (target == nullptr) {
        event.ignore();
        return;
    }
    const QPointF local = QPointF(target->mapFrom(content_, at)) + (scaled - QPointF(at));
    const QEvent::Type type = event.type() == QEvent::DragEnter ? QEvent::DragMove : event.type();
    std::unique_ptr<QDropEvent> copy;
    if (type == QEvent::Drop)
        copy = std::make_unique<QDropEvent>(local, event.possibleActions(), event.mimeData(), event.buttons(), event.modifiers());
    else
        copy = std::make_unique<QDragMoveEvent>(local.toPoint(), event.possibleActions(), event.mimeData(), event.buttons(), event.modifiers());
    copy->setDropAction(event.dropAction());
    copy->setAccepted(false);
    // Straight to the widget: Qt would hand a move or a drop back to the
    // magnifier, the drag's target since it took the enter.
    static_cast<QObject*>(target)->event(copy.get());
    event.setDropAction(copy->dropAction());
    // The enter is taken whatever the point, so that the moves that follow
    // reach the widgets that take drops elsewhere.
    event.setAccepted(copy->isAccepted() || event.type() == QEvent::DragEnter);
    if (type == QEvent::Drop) Show({});
}

void Magnifier::Hover(QWidget* now, const QPoint& at)
{
    if (now == hovered_) return;
    const std::vector<QWidget*> left = hovered_ ? Chain(hovered_, content_) : std::vector<QWidget*>{};
    const std::vector<QWidget*> entered = now ? Chain(now, content_) : std::vector<QWidget*>{};
    hovered_ = now;
    for (QWidget* w : left) {
        if (Contains(entered, w)) continue;
        w->setAttribute(Qt::WA_UnderMouse, false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
        QWidget* w = *it;
        if (Contains(left, w)) continue;
        w->setAttribute(Qt::WA_UnderMouse, true);
        const QPointF local(w->mapFrom(content_, at));
        QEnterEvent enter(local, local, mapToGlobal(local));
        QApplication::sendEvent(w, &enter);
    }
}

} // namespace brakkon
