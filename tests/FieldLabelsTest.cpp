// The labels over the field (status line, title, key help, menu lines) are
// drawn by the field's own paint: the ticks' repaints of the cells beneath
// them cost no paint of theirs, and a change of their own look still
// reaches the screen where they lie.
#include "tests/GuiSupport.h"

#include "platform/OverlayLabel.h"

#include <QLabel>
#include <QPaintEvent>

#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::WindowFixture;

/// The paint events the field's labels get, and where the field paints.
struct PaintWatch : QObject {
    explicit PaintWatch(QWidget& field) : field(field)
    {
        field.installEventFilter(this);
        for (QLabel* label : field.findChildren<QLabel*>()) label->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint) return false;
        if (watched == &field)
            fieldPainted += static_cast<QPaintEvent*>(event)->region();
        else
            ++labelPaints[watched->objectName().toStdString()];
        return false;
    }

    QWidget& field;
    std::map<std::string, int> labelPaints;
    QRegion fieldPainted;
};

TEST(FieldLabels, TicksAndWholeRepaintsUnderTheLabelsPaintNoLabel)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2); // title, key help and the status line over a running gate
    ASSERT_TRUE(w.Shown("Desc0"));
    PaintWatch watch(w.form->Field());
    for (int tick = 0; tick < 40; ++tick) w.form->Timer1Timer();
    w.form->Field().repaint(); // every cell, under every label
    QApplication::processEvents();
    EXPECT_TRUE((QRegion(w.form->Field().rect()) - watch.fieldPainted).isEmpty());
    for (const auto& [name, paints] : watch.labelPaints) EXPECT_EQ(paints, 0) << name;
}

struct LookChange {
    const char* name;
    std::function<void(WindowFixture&)> before; ///< what leads up to the change
    std::function<void(WindowFixture&)> change;
    const char* label; ///< where the field must be painted again
};

const LookChange LookChanges[] = {
    {"PlayTimeText", [](WindowFixture& w) { w.Click(Qt::Key_2); }, [](WindowFixture& w) { w.form->Timer2Timer(); },
     "TimeLabel"},
    {"KeyHelpHidden", [](WindowFixture& w) { w.Click(Qt::Key_2); }, [](WindowFixture& w) { w.Click(Qt::Key_Left); },
     "Desc0"},
    {"MenuShown", [](WindowFixture& w) { w.Click(Qt::Key_2); }, [](WindowFixture& w) { w.Click(Qt::Key_Escape); },
     "MenuItem7"},
    {"MarkMoved", [](WindowFixture&) {}, [](WindowFixture& w) { w.Click(Qt::Key_Down); }, "MenuItem1"},
};

class FieldLabelLooks : public testing::TestWithParam<LookChange> {};

TEST_P(FieldLabelLooks, AChangeOfALabelsLookRepaintsTheFieldWhereItLies)
{
    const LookChange& c = GetParam();
    WindowFixture w;
    w.Show();
    c.before(w);
    QApplication::processEvents();
    const QRect place = w.Label(c.label)->geometry();
    PaintWatch watch(w.form->Field());
    c.change(w);
    EXPECT_TRUE(test::Eventually([&] { return (QRegion(place) - watch.fieldPainted).isEmpty(); }))
        << c.label << " at " << place.x() << ", " << place.y();
}

INSTANTIATE_TEST_SUITE_P(Changes, FieldLabelLooks, testing::ValuesIn(LookChanges), test::CaseName);

/// A label's look after a change is the look of a label made that way: the
/// change was noticed, whichever way it came.
struct LabelChange {
    const char* name;
    std::function<void(OverlayLabel&)> change;
};

const LabelChange LabelChanges[] = {
    {"SetText", [](OverlayLabel& l) { l.SetText(QStringLiteral("Gate 12")); }},
    {"QLabelSetText", [](OverlayLabel& l) { l.setText(QStringLiteral("Gate 12")); }},
    {"Colour", [](OverlayLabel& l) { l.setPalette(QPalette(Qt::red, Qt::red)); }},
    {"Font", [](OverlayLabel& l) { l.setFont(QFont(l.font().family(), 20, QFont::Bold)); }},
    {"Size", [](OverlayLabel& l) { l.resize(l.width() / 2, l.height()); }},
    {"WordWrap", [](OverlayLabel& l) { l.setWordWrap(true); l.resize(l.width() / 3, l.height() * 3); }},
    {"Picture", [](OverlayLabel& l) { QPixmap green(8, 8); green.fill(Qt::green); l.setPixmap(green); }},
};

class LabelLookChanges : public testing::TestWithParam<LabelChange> {};

TEST_P(LabelLookChanges, TheLookFollowsTheChange)
{
    QWidget parent;
    const auto made = [&parent] {
        OverlayLabel* label = MakeOverlayLabel(&parent, "L", QStringLiteral("Gate 1"), QFont(), Qt::yellow, 0, 0);
        label->resize(label->width() + 40, label->height());
        return label;
    };
    OverlayLabel* label = made();
    const QImage before = label->Look();
    GetParam().change(*label);
    OverlayLabel* fresh = made();
    GetParam().change(*fresh);
    EXPECT_NE(label->Look(), before);
    EXPECT_EQ(label->Look(), fresh->Look());
}

INSTANTIATE_TEST_SUITE_P(Changes, LabelLookChanges, testing::ValuesIn(LabelChanges), test::CaseName);

} // namespace
} // namespace brakkon
