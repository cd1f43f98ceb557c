// A transparent label over the play field that keeps its text as a picture.
//
// The field is repainted under the labels every tick; a plain QLabel would
// lay out and rasterise its text again each time. This one draws its text
// once per change of text, font, colour or size into a transparent image
// (top-left aligned, in the palette's text colour, wrapped when word wrap is
// on) and blits that image on every repaint. A label that holds a picture
// paints as any QLabel.
#pragma once

#include <QImage>
#include <QLabel>

namespace brakkon {

class OverlayLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RenderText();

    QImage rendered_;
    QString renderedText_;
    QFont renderedFont_;
    QColor renderedColour_;
    QSize renderedSize_;
};

/// An overlay label with its design name, font and colour at (left, top),
/// sized to its text.
OverlayLabel* MakeOverlayLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font,
                               const QColor& colour, int left, int top);

} // namespace brakkon
