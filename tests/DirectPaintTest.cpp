// The ticks' changed cells go straight into the window's backing store, at
// scale 1 and magnified, and what lands there is what a whole repaint of the
// window draws; a widget that lies over the field keeps its pixels, drawn
// over the cells by its own paint in the same painter. The game's own start
// varies from run to run: the checks hold for whatever the ticks change.
#include "tests/GuiSupport.h"

#include <QBackingStore>
#include <QFrame>
#include <QPaintEvent>

#include <memory>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::WindowFixture;

/// What the window's backing store holds (the screen's copy of the window).
QImage Store(MainForm& form)
{
    QPaintDevice* device = form.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image) return {};
    return static_cast<QImage*>(device)->convertToFormat(QImage::Format_RGB32);
}

/// The window drawn whole by its widgets, as a repaint of all of it draws it.
QImage Drawn(MainForm& form) { return form.grab().toImage().convertToFormat(QImage::Format_RGB32); }

/// Where the watched widget got paint events.
struct PaintWatch : QObject {
    explicit PaintWatch(QWidget& watched) { watched.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

struct StraightCase {
    const char* name;
    int scale;       ///< F10 pressed scale - 1 times
    bool covered;    ///< a framed widget over the whole field
};

const StraightCase StraightCases[] = {
    {"ScaleOne", 1, false},
    {"ScaleTwo", 2, false},
    {"ScaleOneUnderAWidget", 1, true},
    {"ScaleThreeUnderAWidget", 3, true},
};

class StraightPaint : public testing::TestWithParam<StraightCase> {};

TEST_P(StraightPaint, TicksShowWhatAWholeRepaintDraws)
{
    const StraightCase& c = GetParam();
    WindowFixture w;
    w.Show();
    QFrame* cover = nullptr;
    if (c.covered) { // transparent: the field shows through, its frame on top
        cover = new QFrame(&w.form->Field());
        cover->setStyleSheet(QStringLiteral("border: 3px solid magenta"));
        cover->setGeometry(w.form->Field().rect());
        cover->show();
    }
    for (int i = 1; i < c.scale; ++i) w.Click(Qt::Key_F10);
    ASSERT_EQ(w.form->ViewScale(), c.scale);
    w.Click(Qt::Key_2); // a gate running under the title, the key help and the status line
    QWidget& shown = c.scale == 1 ? static_cast<QWidget&>(w.form->Field()) : *w.form->findChild<QWidget*>("Magnifier");
    ASSERT_TRUE(test::Eventually([&] { return Store(*w.form) == Drawn(*w.form); })) << "settled before the ticks";
    const QImage before = Store(*w.form);
    ASSERT_FALSE(before.isNull()) << "a backing store of pixels";

    PaintWatch watch(shown);
    std::unique_ptr<PaintWatch> coverWatch(cover != nullptr ? new PaintWatch(*cover) : nullptr);
    for (int tick = 0; tick < 60; ++tick) w.form->Timer1Timer(); // each shows its cells at once
    const QRegion painted = watch.painted; // before the grab, which paints every widget
    const QImage after = Store(*w.form);
    EXPECT_NE(after, before) << "the ticks changed the picture";
    EXPECT_EQ(after, Drawn(*w.form)) << "a widget over the field (the cover, \"[Menu]\") drawn over the cells";
    EXPECT_TRUE(painted.isEmpty()) << "no paint event: straight into the store";
    if (c.scale == 1 && cover != nullptr) {
        EXPECT_FALSE(coverWatch->painted.isEmpty()) << "the cover drawn by its own paint over the cells";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StraightPaint, testing::ValuesIn(StraightCases), test::CaseName);

} // namespace
} // namespace brakkon
