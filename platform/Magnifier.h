// Magnifier: shows a tree of widgets magnified by a whole number, pixel for
// pixel (nearest neighbour), centred on black.
//
// The tree (`content`, a child of the same window) keeps its own size and
// place but is hidden while the magnifier is started. Whoever changes the
// content's pictures says where (Show, in the frame that changed them); the
// magnifier renders only that region off-screen, together with the widgets
// whose look changed since the last Show (their text, colour, picture,
// place, visibility or hover), magnifies it and paints it at once, straight
// into the window's backing store when nothing lies over it (PaintNow). The
// mouse is handed on to the content's widgets at the unscaled point, with
// enter and leave as the pointer crosses them, so clicks and hovering land
// where they land unscaled; so are drags and drops, to the widget under the
// point that takes drops, and tooltips. Keys never pass through it. Owned by its parent
// window; does not own the content.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <vector>

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
    /// Shows the content's `changed` region (in its own pixels) and the
    /// widgets on it whose look changed, magnified, now.
    void Show(const QRegion& changed);
    /// Renders all of the content again and shows it.
    void Refresh();

protected:
    bool event(QEvent* event) override;
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
    /// What a widget on the content looks like, as far as it can change.
    struct Look {
        QPointer<QWidget> Widget;
        QRect Place; ///< in the content's pixels; empty while hidden
        QString Text;
        QRgb Colour = 0;
        qint64 Picture = 0;
        bool Hovered = false;
        bool Down = false;
        [[nodiscard]] bool Same(const Look& o) const
        {
            return Place == o.Place && Text == o.Text && Colour == o.Colour && Picture == o.Picture &&
                   Hovered == o.Hovered && Down == o.Down;
        }
    };

    [[nodiscard]] Look LookOf(QWidget* widget) const;
    /// Where widgets changed their look since the last call.
    [[nodiscard]] QRegion ChangedLooks();
    /// Renders the `wanted` region of the content and magnifies it; the
    /// region of the magnifier that must be painted again.
    [[nodiscard]] QRegion Render(const QRegion& wanted);
    void Fit();
    void Magnify(const QRect& rect);
    /// Draws the `region` of the magnifier: the picture, black around it.
    void Draw(QPainter& painter, const QRegion& region) const;
    [[nodiscard]] QPointF ContentPoint(const QPointF& position) const;
    void Forward(QMouseEvent& event);
    void ForwardDrag(QDropEvent& event);
    void Hover(QWidget* now, const QPoint& at);
    [[nodiscard]] QWidget* ContentAt(const QPoint& at) const;

    QWidget* content_;
    int wanted_ = 1;
    int shown_ = 1;
    QImage frame_;      ///< the content rendered unscaled
    QImage magnified_;  ///< frame_ magnified shown_ times
    std::vector<Look> looks_; ///< of every widget on the content, as last shown
    QPointer<QWidget> hovered_; ///< the content's widget under the pointer
    QPointer<QWidget> pressed_; ///< the widget that took the press: it gets the release
};

} // namespace brakkon
