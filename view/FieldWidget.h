// Image1: the widget that shows the field canvas unscaled at its top-left.
//
// Paints only the part of the canvas that Qt asks for, so a repaint of the
// changed region after a tick copies only that region, and over it whatever
// the window draws on the field in the same paint (the labels over it). Shows a canvas it does
// not own. The Game Editor's field editing hooks onto its drag-over, drop and
// mouse-down events through FieldEditHandlers.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QDragMoveEvent;
class QDropEvent;
class QMouseEvent;
class QPainter;

namespace brakkon {

/// What the field editing does on the field; unset handlers do nothing.
struct FieldEditHandlers {
    std::function<void(QDragMoveEvent&)> Image1DragOver;
    std::function<void(QDropEvent&)> Image1DragDrop;
    std::function<void(QMouseEvent&)> Image1MouseDown;
};

class FieldWidget : public QWidget {
    Q_OBJECT
public:
    FieldWidget(const QImage& canvas, QWidget* parent);

    /// Installs the editing handlers; drops are accepted while a drop handler is set.
    void SetEditHandlers(FieldEditHandlers handlers);
    /// What is drawn over the canvas in each paint, given the painted region.
    void SetOverlay(std::function<void(QPainter&, const QRegion&)> overlay) { overlay_ = std::move(overlay); }
    /// Draws the `region` of the field (in its pixels) as its paint does:
    /// the canvas, the overlay over it.
    void Paint(QPainter& painter, const QRegion& region) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& canvas_;
    FieldEditHandlers handlers_;
    std::function<void(QPainter&, const QRegion&)> overlay_;
};

} // namespace brakkon
