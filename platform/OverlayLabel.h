// A transparent label over the play field that keeps its laid-out text.
//
// The field is repainted under the labels every tick; a plain QLabel would
// shape its text again each time. This one lays its text out once per
// change (QStaticText) and draws it at its top-left in the palette's text
// colour. A label that holds a picture paints as any QLabel.
#pragma once

#include <QLabel>
#include <QStaticText>

namespace brakkon {

class OverlayLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStaticText laidOut_;
    QString laidOutText_;
    QFont laidOutFont_;
    int laidOutWidth_ = -1;
};

} // namespace brakkon
