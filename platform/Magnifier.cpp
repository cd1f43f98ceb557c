#include "platform/Magnifier.h"

#include <QApplication>
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

constexpr int FrameInterval = 16; ///< milliseconds, as the game's own tick

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
    timer_.setInterval(FrameInterval);
    connect(&timer_, &QTimer::timeout, this, &Magnifier::Refresh);
}

void Magnifier::Start(int scale)
{
    wanted_ = std::max(scale, 1);
    content_->hide();
    setGeometry(parentWidget()->rect());
    show();
    raise();
    Fit();
    timer_.start();
}

void Magnifier::Stop()
{
    timer_.stop();
    Hover(nullptr, {});
    hide();
    content_->show();
    shown_ = 1;
    frame_ = magnified_ = QImage();
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
    frame_ = QImage(); // everything is magnified afresh
    magnified_ = QImage(size * scale, QImage::Format_RGB32);
    magnified_.fill(Qt::black);
    Refresh();
    update();
}

void Magnifier::Refresh()
{
    const QSize size = content_->size();
    if (next_.size() != size) next_ = QImage(size, QImage::Format_RGB32);
    // The window's own background, as it lies under the content unscaled.
    next_.fill(parentWidget()->palette().color(QPalette::Window));
    content_->render(&next_, QPoint(), QRegion(), QWidget::DrawChildren);
    const bool whole = frame_.size() != size;
    std::swap(frame_, next_);
    const std::size_t rowBytes = static_cast<std::size_t>(size.width()) * sizeof(QRgb);
    // Changed rows in runs; each run is magnified as one rectangle.
    int runTop = -1;
    int left = size.width();
    int right = -1;
    for (int y = 0; y <= size.height(); ++y) {
        bool changed = false;
        if (y < size.height()) {
            const auto* now = reinterpret_cast<const QRgb*>(frame_.constScanLine(y));
            const auto* was = whole ? nullptr : reinterpret_cast<const QRgb*>(next_.constScanLine(y));
            if (was == nullptr) {
                changed = true;
                left = 0;
                right = size.width() - 1;
            } else if (std::memcmp(now, was, rowBytes) != 0) {
                changed = true;
                int x0 = 0;
                while (now[x0] == was[x0]) ++x0;
                int x1 = size.width() - 1;
                while (now[x1] == was[x1]) --x1;
                left = std::min(left, x0);
                right = std::max(right, x1);
            }
        }
        if (changed && runTop < 0) runTop = y;
        if (!changed && runTop >= 0) {
            const QRect run(left, runTop, right - left + 1, y - runTop);
            Magnify(run);
            update(QRect(Origin() + run.topLeft() * shown_, run.size() * shown_));
            runTop = -1;
            left = size.width();
            right = -1;
        }
    }
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

void Magnifier::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect picture(Origin(), magnified_.size());
    for (const QRect& rect : event->region() - picture) painter.fillRect(rect, Qt::black);
    for (const QRect& rect : event->region() & picture) painter.drawImage(rect.topLeft(), magnified_, rect.translated(-picture.topLeft()));
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
    Refresh();
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
    if (type == QEvent::Drop) Refresh();
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
