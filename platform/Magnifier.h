// Magnifier: shows a tree of widgets magnified by a whole number, pixel for
// pixel (nearest neighbour), centred on black.
//
// The tree (`content`, a child of the same window) keeps its own size and
// place but is hidden while the magnifier is started: the magnifier renders it
// off-screen on a short timer (and at once after a mouse event), finds the
// pixels that changed since the last frame and magnifies only those. The
// mouse is handed on to the content's widgets at the unscaled point, with
// enter and leave as the pointer crosses them, so clicks and hovering land
// where they land unscaled; so are drags and drops, to the widget under the
// point that takes drops. Keys never pass through it. Owned by its parent
// window; does not own the content.
#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace brakkon {

class Magnifier : public QWidget {
    Q_OBJECT
public:
    Magnifier(QWidget* content, QWidget* window);

    /// Hides the content and shows it magnified `scale` times, or less when
    /// the window is too small for that.
    void Start(int scale);
    /// Shows the content itself again.
    void Stop();
    /// The scale shown now (1 when stopped).
    [[nodiscard]] int Scale() const { return shown_; }
    /// Where the content's top-left corner lies in the window.
    [[nodiscard]] QPoint Origin() const;
    /// Renders the content now and shows what changed.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void Fit();
    void Magnify(const QRect& rect);
    [[nodiscard]] QPointF ContentPoint(const QPointF& position) const;
    void Forward(QMouseEvent& event);
    void ForwardDrag(QDropEvent& event);
    void Hover(QWidget* now, const QPoint& at);
    [[nodiscard]] QWidget* ContentAt(const QPoint& at) const;

    QWidget* content_;
    int wanted_ = 1;
    int shown_ = 1;
    QImage frame_;      ///< the content rendered unscaled, last frame
    QImage next_;       ///< the frame being rendered
    QImage magnified_;  ///< frame_ magnified shown_ times
    QTimer timer_;
    QPointer<QWidget> hovered_; ///< the content's widget under the pointer
    QPointer<QWidget> pressed_; ///< the widget that took the press: it gets the release
};

} // namespace brakkon
