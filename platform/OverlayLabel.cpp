#include "OverlayLabel.h"

#include <QPainter>

namespace brakkon {

void OverlayLabel::paintEvent(QPaintEvent* event)
{
    if (!pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect();
    const int width = wordWrap() ? area.width() : -1;
    if (laidOutText_ != text() || laidOutFont_ != font() || laidOutWidth_ != width) {
        laidOutText_ = text();
        laidOutFont_ = font();
        laidOutWidth_ = width;
        // A static text runs its lines together unless they are broken with
        // line separators.
        QString lines = laidOutText_;
        lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
        laidOut_ = QStaticText(lines);
        laidOut_.setTextFormat(Qt::PlainText);
        laidOut_.setTextWidth(width);
        laidOut_.setPerformanceHint(QStaticText::AggressiveCaching);
        laidOut_.prepare(QTransform(), laidOutFont_);
    }
    QPainter painter(this);
    painter.setFont(laidOutFont_);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawStaticText(area.topLeft(), laidOut_);
}

} // namespace brakkon
