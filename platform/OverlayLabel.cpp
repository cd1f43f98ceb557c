#include "platform/OverlayLabel.h"

#include <QEvent>
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

void PaintOverlayLabels(QPainter& painter, const QWidget& parent, const QRegion& region)
{
    const QRect bounds = region.boundingRect();
    for (QObject* child : parent.children()) {
        auto* label = qobject_cast<OverlayLabel*>(child);
        if (label == nullptr || label->isHidden()) continue;
        const QRect area = label->contentsRect().translated(label->pos());
        if (!bounds.intersects(area)) continue;
        const QRegion part = region.intersected(area);
        if (part.isEmpty()) continue;
        const QImage& look = label->Look();
        for (const QRect& rect : part) painter.drawImage(rect.topLeft(), look, rect.translated(-area.topLeft()));
    }
}

OverlayLabel::OverlayLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setUpdatesEnabled(false); // the parent's paint draws it
    placed_ = geometry();
}

void OverlayLabel::SetText(const QString& text)
{
    if (text == this->text()) return;
    setText(text);
    adjustSize();
    LookChanged(); // a text of the same size moved nothing
}

bool OverlayLabel::event(QEvent* event)
{
    const bool handled = QLabel::event(event);
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::PaletteChange:
    case QEvent::FontChange: LookChanged(); break;
    default: break;
    }
    return handled;
}

/// The parent repaints where the label lay and where it lies now, whether
/// it was shown or hidden there.
void OverlayLabel::LookChanged()
{
    QWidget* parent = parentWidget();
    if (parent == nullptr) return;
    QRegion dirty(placed_);
    dirty += geometry();
    placed_ = geometry();
    parent->update(dirty);
}

const QImage& OverlayLabel::Look()
{
    const QSize size = contentsRect().size();
    const QColor colour = palette().color(foregroundRole());
    const qint64 picture = pixmap().cacheKey();
    if (renderedText_ != text() || renderedFont_ != font() || renderedColour_ != colour || renderedSize_ != size ||
        renderedPicture_ != picture) {
        renderedText_ = text();
        renderedFont_ = font();
        renderedColour_ = colour;
        renderedSize_ = size;
        renderedPicture_ = picture;
        Render();
    }
    return rendered_;
}

/// A picture is fitted to the label as a label with scaled contents shows
/// it; text is drawn on transparent.
void OverlayLabel::Render()
{
    if (!pixmap().isNull()) {
        rendered_ = pixmap()
                        .toImage()
                        .scaled(renderedSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return;
    }
    rendered_ = QImage(renderedSize_, QImage::Format_ARGB32_Premultiplied);
    if (rendered_.isNull()) return; // no room for any text
    rendered_.fill(Qt::transparent);
    QPainter painter(&rendered_);
    painter.setFont(renderedFont_);
    painter.setPen(renderedColour_);
    const int flags = Qt::AlignLeft | Qt::AlignTop | (wordWrap() ? Qt::TextWordWrap : 0);
    painter.drawText(rendered_.rect(), flags, renderedText_);
}

/// Only when it is painted on its own (a grab of the label itself).
void OverlayLabel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QImage& look = Look();
    for (const QRect& rect : event->region()) {
        const QRect part = rect.intersected(area);
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), look, part.translated(-area.topLeft()));
    }
}

} // namespace brakkon
