// A transparent label over the play field, drawn by the field's own paint.
//
// The field is repainted under the labels every tick; a plain QLabel would
// lay out and rasterise its text again each time, and even a label that
// only blits a picture costs a paint of its own (an event, a painter on the
// window's surface) whenever the cells beneath it change, which the top row
// of cells and the field behind the menu do nearly every frame. So an
// overlay label never paints itself in its parent's paints: its updates are
// off, and the parent draws every shown overlay label's look over its own
// picture in the same painter (PaintOverlayLabels). The look is the text
// drawn once per change of text, font, colour or size into a transparent
// image (the change marked by the events that make it, so a paint compares
// nothing) (top-left aligned, in the palette's text colour, wrapped when word
// wrap is on), or the label's picture fitted to its size. A change of
// place, visibility, colour or font asks the parent to repaint where the
// label was and is; text changes go through SetText, which does the same.
// The label still takes the mouse (enter, leave, clicks) as any QLabel.
#pragma once

#include <QImage>
#include <QLabel>

class QPainter;

namespace brakkon {

class OverlayLabel : public QLabel {
    Q_OBJECT
public:
    explicit OverlayLabel(const QString& text, QWidget* parent = nullptr);
    ~OverlayLabel() override;

    /// The text, the label sized to it, and the parent repainted where it lay and lies.
    void SetText(const QString& text);
    /// What the label shows over its contents rectangle, kept until its look changes.
    [[nodiscard]] const QImage& Look() { return Look(contentsRect().size()); }
    /// The same, for a contents rectangle known to be of `area`'s size.
    [[nodiscard]] const QImage& Look(const QSize& area);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void LookChanged();
    void Render();

    QImage rendered_;
    QString renderedText_;     ///< the text drawn, sharing the label's own while it is unchanged
    qint64 renderedPicture_ = 0;
    bool renderedWrap_ = false;
    bool stale_ = true;        ///< the font, colour or size changed since it was drawn
    QRect placed_; ///< where it lay at its last change of look
};

/// An overlay label with its design name, font and colour at (left, top),
/// sized to its text.
OverlayLabel* MakeOverlayLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                               const QColor& colour, int left, int top);

/// Draws the shown overlay labels on `parent`, in their stacking order, over
/// the `region` of its picture (in its pixels) that `painter` paints.
void PaintOverlayLabels(QPainter& painter, const QWidget& parent, const QRegion& region);

} // namespace brakkon
