#include "view/FieldWidget.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace brakkon {

FieldWidget::FieldWidget(const QImage& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
{
    // Every pixel comes from the canvas: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void FieldWidget::SetEditHandlers(FieldEditHandlers handlers)
{
    handlers_ = std::move(handlers);
    setAcceptDrops(static_cast<bool>(handlers_.Image1DragDrop));
}

void FieldWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    Paint(painter, event->region());
}

void FieldWidget::Paint(QPainter& painter, const QRegion& region) const
{
    for (const QRect& rect : region) painter.drawImage(rect.topLeft(), canvas_, rect);
    if (overlay_) overlay_(painter, region);
}

void FieldWidget::dragEnterEvent(QDragEnterEvent* event)
{
    if (handlers_.Image1DragOver) handlers_.Image1DragOver(*event);
}

void FieldWidget::dragMoveEvent(QDragMoveEvent* event)
{
    if (handlers_.Image1DragOver) handlers_.Image1DragOver(*event);
}

void FieldWidget::dropEvent(QDropEvent* event)
{
    if (handlers_.Image1DragDrop) handlers_.Image1DragDrop(*event);
}

void FieldWidget::mousePressEvent(QMouseEvent* event)
{
    if (handlers_.Image1MouseDown)
        handlers_.Image1MouseDown(*event);
    else
        QWidget::mousePressEvent(event);
}

} // namespace brakkon
