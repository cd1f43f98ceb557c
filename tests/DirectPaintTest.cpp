// The ticks' changed cells go straight into the window's backing store, at
// scale 1 and magnified, and what lands there is what a whole repaint of the
// window draws; a widget that lies over the field keeps its pixels, drawn
// over the cells by its own paint in the same painter. The game's own start
// varies from run to run: the checks hold for whatever the ticks change.
#include "tests/GuiSupport.h"

#include "platform/OverlayLabel.h"

#include <QBackingStore>
#include <QFrame>
#include <QPaintEvent>
#include <QPainter>

#include <functional>
#include <memory>
#include <utility>

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

/// Two labels over the whole field, their texts overlapping, and what is
/// done to them once the window has shown them.
struct LabelCase {
    const char* name;
    std::function<void(QWidget& field, OverlayLabel*& a, OverlayLabel*& b)> change;
};

const LabelCase LabelCases[] = {
    {"Moved", [](QWidget&, OverlayLabel*& a, OverlayLabel*&) { a->move(40, 200); }},
    {"Resized", [](QWidget&, OverlayLabel*& a, OverlayLabel*&) { a->SetText(QStringLiteral("Brakkon")); }},
    {"Raised", [](QWidget&, OverlayLabel*& a, OverlayLabel*&) { a->raise(); }},
    {"Hidden", [](QWidget&, OverlayLabel*&, OverlayLabel*& b) { b->hide(); }},
    {"Removed", [](QWidget&, OverlayLabel*&, OverlayLabel*& b) { delete b; b = nullptr; }},
    {"Made", [](QWidget& field, OverlayLabel*& a, OverlayLabel*&) {
         MakeOverlayLabel(&field, QStringLiteral("Third"), QStringLiteral("WWWW"), a->font(), Qt::green, 8, 8)->show();
     }},
};

class StraightLabels : public testing::TestWithParam<LabelCase> {};

/// The field as its canvas and its shown labels make it, walked afresh,
/// with what lies under its other children ("[Menu]") left black; and the
/// same of `shown`, the window's picture.
std::pair<QImage, QImage> FieldPictures(QWidget& field, const QImage& canvas, const QImage& shown)
{
    const QRect place(field.mapTo(field.window(), QPoint()), field.size());
    QImage expected = canvas.copy(field.rect()).convertToFormat(QImage::Format_RGB32);
    QImage actual = shown.copy(place);
    QPainter painter(&expected);
    QPainter blank(&actual);
    for (QObject* child : field.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isHidden()) continue;
        if (auto* label = qobject_cast<OverlayLabel*>(widget)) {
            painter.drawImage(label->contentsRect().translated(label->pos()).topLeft(), label->Look());
        } else {
            painter.fillRect(widget->geometry(), Qt::black);
            blank.fillRect(widget->geometry(), Qt::black);
        }
    }
    return {expected, actual};
}

// The field's paint draws its labels from a list it keeps: whatever is done
// to them, the ticks that follow draw them where and as they are.
TEST_P(StraightLabels, TicksDrawTheLabelsAsTheyAreNow)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2);
    QWidget& field = w.form->Field();
    QFont big = field.font();
    big.setPixelSize(120);
    OverlayLabel* a = MakeOverlayLabel(&field, QStringLiteral("A"), QStringLiteral("WMWM\nWMWM\nWMWM"), big, Qt::cyan, 0, 0);
    OverlayLabel* b = MakeOverlayLabel(&field, QStringLiteral("B"), QStringLiteral("MWMW\nMWMW\nMWMW"), big, Qt::magenta, 20, 10);
    a->show();
    b->show();
    ASSERT_TRUE(test::Eventually([&] { return Store(*w.form) == Drawn(*w.form); })) << "settled with the labels";
    for (int tick = 0; tick < 10; ++tick) w.form->Timer1Timer();
    GetParam().change(field, a, b);
    ASSERT_TRUE(test::Eventually([&] { return Store(*w.form) == Drawn(*w.form); })) << "settled after the change";
    const QImage before = Store(*w.form);
    for (int tick = 0; tick < 60; ++tick) w.form->Timer1Timer();
    EXPECT_NE(Store(*w.form), before) << "the ticks changed cells under the labels";
    const auto [expected, actual] = FieldPictures(field, w.form->Canvas().Image(), Store(*w.form));
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StraightLabels, testing::ValuesIn(LabelCases), test::CaseName);

/// A tinted widget: the field shows through it, changed by its tint.
struct Tint : QWidget {
    using QWidget::QWidget;
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(255, 0, 255, 80)); }
};

/// A tinted child over the field (over all of it, or over its first cell),
/// a tinted sibling under it, and what is done to them once shown.
struct OverCase {
    const char* name;
    bool childWhole;
    std::function<void(QWidget& field, QWidget*& child, QWidget*& sibling)> change;
};

const OverCase OverCases[] = {
    {"ChildHidden", true, [](QWidget&, QWidget*& child, QWidget*&) { child->hide(); }},
    {"ChildGrown", false, [](QWidget& field, QWidget*& child, QWidget*&) { child->setGeometry(field.rect()); }},
    {"ChildRemoved", true, [](QWidget&, QWidget*& child, QWidget*&) { delete child; child = nullptr; }},
    {"ChildMade", false, [](QWidget& field, QWidget*&, QWidget*&) {
         auto* made = new Tint(&field);
         made->setGeometry(field.rect());
         made->show();
     }},
    {"SiblingRaised", false, [](QWidget&, QWidget*&, QWidget*& sibling) { sibling->raise(); }},
};

class StraightOver : public testing::TestWithParam<OverCase> {};

// The straight paint keeps what it read of the widgets over the field until
// one of them changes: the ticks after a change draw what a whole repaint
// draws (a kept list never read again draws a gone child, or misses one).
TEST_P(StraightOver, TicksDrawWhatLiesOverTheFieldNow)
{
    const OverCase& c = GetParam();
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2);
    QWidget& field = w.form->Field();
    QWidget* child = new Tint(&field);
    child->setGeometry(c.childWhole ? field.rect() : QRect(0, 0, 32, 32));
    child->show();
    QWidget* sibling = new Tint(field.parentWidget());
    sibling->setGeometry(field.geometry());
    sibling->show();
    sibling->stackUnder(&field);
    ASSERT_TRUE(test::Eventually([&] { return Store(*w.form) == Drawn(*w.form); })) << "settled with the tints";
    for (int tick = 0; tick < 10; ++tick) w.form->Timer1Timer(); // what lies over the field is read
    c.change(field, child, sibling);
    ASSERT_TRUE(test::Eventually([&] { return Store(*w.form) == Drawn(*w.form); })) << "settled after the change";
    const QImage before = Store(*w.form);
    for (int tick = 0; tick < 60; ++tick) w.form->Timer1Timer();
    const QImage after = Store(*w.form);
    EXPECT_NE(after, before) << "the ticks changed cells";
    EXPECT_EQ(after, Drawn(*w.form));
}

INSTANTIATE_TEST_SUITE_P(Cases, StraightOver, testing::ValuesIn(OverCases), test::CaseName);

} // namespace
} // namespace brakkon
