#include "platform/OverlayLabel.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

/// Bumped by whatever makes, removes, moves, resizes or restacks an overlay
/// label: a parent's list of labels and their places is kept until then.
/// The widgets live on the main thread, and so does this.
unsigned Generation = 1;

/// A parent's overlay labels in stacking order, each with its contents
/// rectangle in the parent's pixels.
struct LabelList {
    const QWidget* Parent = nullptr;
    unsigned Made = 0; ///< the generation it was made in
    std::vector<std::pair<OverlayLabel*, QRect>> Labels;
};

/// Walking the parent's children every frame (a type check and a contents
/// rectangle each, cold in the cache after the rest of the frame) cost more
/// than drawing the labels that lie in the region.
const std::vector<std::pair<OverlayLabel*, QRect>>& LabelsOf(const QWidget& parent)
{
    static std::vector<LabelList> lists; // a parent or two: the field, a floor window
    auto found = std::find_if(lists.begin(), lists.end(), [&](const LabelList& l) { return l.Parent == &parent; });
    if (found == lists.end()) {
        // A list made before a label came or went is of no use any more
        // (a parent gone with its labels among them).
        std::erase_if(lists, [](const LabelList& l) { return l.Made != Generation; });
        found = lists.insert(lists.end(), LabelList{&parent, 0, {}});
    }
    if (found->Made != Generation) {
        found->Made = Generation;
        found->Labels.clear();
        for (QObject* child : parent.children())
            if (auto* label = qobject_cast<OverlayLabel*>(child))
                found->Labels.emplace_back(label, label->contentsRect().translated(label->pos()));
    }
    return found->Labels;
}

} // namespace

void PaintOverlayLabels(QPainter& painter, const QWidget& parent, const QRegion& region)
{
    const QRect bounds = region.boundingRect();
    for (const auto& [label, area] : LabelsOf(parent)) {
        if (!bounds.intersects(area) || label->isHidden()) continue;
        // The region's rectangles do not overlap: each part is drawn once.
        const QImage* look = nullptr;
        for (const QRect& rect : region) {
            const QRect part = rect & area;
            if (part.isEmpty()) continue;
            if (look == nullptr) look = &label->Look(area.size()); // the list is made again when a label's size changes
            painter.drawImage(part.topLeft(), *look, part.translated(-area.topLeft()));
        }
    }
}

OverlayLabel::OverlayLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setUpdatesEnabled(false); // the parent's paint draws it
    placed_ = geometry();
    ++Generation;
}

OverlayLabel::~OverlayLabel() { ++Generation; }

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
    case QEvent::Resize:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
        stale_ = true;
        ++Generation;
        LookChanged();
        break;
    case QEvent::Move:
        ++Generation;
        LookChanged();
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent: LookChanged(); break;
    case QEvent::ZOrderChange:
    case QEvent::ParentChange:
        ++Generation;
        LookChanged();
        break;
    case QEvent::EnabledChange:
    case QEvent::ActivationChange: stale_ = true; break; // the palette's colour group
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

/// Drawn again only when marked stale, or when QLabel's own setText,
/// setPixmap or setWordWrap (which send no event) changed what it shows, or
/// its size changed: nothing is compared but pointers and numbers.
const QImage& OverlayLabel::Look(const QSize& area)
{
    const QString shown = text();
    const qint64 picture = pixmap().cacheKey();
    // The same characters at the same place: the string drawn, which this
    // label's copy keeps alive (a literal's lie in the program).
    const bool sameText = renderedText_.constData() == shown.constData() && renderedText_.size() == shown.size();
    // A hidden label hears of its resize only when it is shown.
    const bool sameSize = rendered_.size() == area;
    if (stale_ || !sameText || !sameSize || renderedPicture_ != picture || renderedWrap_ != wordWrap()) {
        stale_ = false;
        renderedWrap_ = wordWrap();
        renderedText_ = shown;
        renderedPicture_ = picture;
        Render();
    }
    return rendered_;
}

/// A picture is fitted to the label as a label with scaled contents shows
/// it; text is drawn on transparent.
void OverlayLabel::Render()
{
    const QSize size = contentsRect().size();
    if (!pixmap().isNull()) {
        rendered_ = pixmap()
                        .toImage()
                        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return;
    }
    rendered_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (rendered_.isNull()) return; // no room for any text
    rendered_.fill(Qt::transparent);
    QPainter painter(&rendered_);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const int flags = Qt::AlignLeft | Qt::AlignTop | (renderedWrap_ ? Qt::TextWordWrap : 0);
    painter.drawText(rendered_.rect(), flags, renderedText_);
}

/// Only when it is painted on its own (a grab of the label itself).
void OverlayLabel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QImage& look = Look(area.size());
    for (const QRect& rect : event->region()) {
        const QRect part = rect.intersected(area);
        if (!part.isEmpty()) painter.drawImage(part.topLeft(), look, part.translated(-area.topLeft()));
    }
}

} // namespace brakkon
