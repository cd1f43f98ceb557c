#include "platform/OverlayLabel.h"

#include <QPainter>
#include <QPaintEvent>

namespace brakkon {

OverlayLabel* MakeOverlayLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                               const QColor& colour, int left, int top)
{
    auto* label = new OverlayLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void OverlayLabel::paintEvent(QPaintEvent* event)
{
    if (!pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    const QColor colour = palette().color(foregroundRole());
    if (renderedText_ != text() || renderedFont_ != font() || renderedColour_ != colour || renderedSize_ != area.size()) {
        renderedText_ = text();
        renderedFont_ = font();
        renderedColour_ = colour;
        renderedSize_ = area.size();
        RenderText();
    }
    QPainter painter(this);
    for (const QRect& rect : event->region()) {
        const QRect part = rect.intersected(area);
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), rendered_, part.translated(-area.topLeft()));
    }
}

void OverlayLabel::RenderText()
{
    rendered_ = QImage(renderedSize_, QImage::Format_ARGB32_Premultiplied);
    rendered_.fill(Qt::transparent);
    QPainter painter(&rendered_);
    painter.setFont(renderedFont_);
    painter.setPen(renderedColour_);
    const int flags = Qt::AlignLeft | Qt::AlignTop | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(rendered_.rect(), flags, renderedText_);
}

} // namespace brakkon
