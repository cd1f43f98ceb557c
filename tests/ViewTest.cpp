// The main window at scales 1 to 4 and full screen: every picture is the
// scale-1 picture magnified pixel for pixel, clicks and keys land where they
// land at scale 1, and the choice is kept in the settings between runs.
#include "tests/GuiSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QToolTip>

#include <fstream>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::TempFolder;
using test::WindowFixture;

/// A window whose scale and full screen are kept in `file`.
std::unique_ptr<WindowFixture> ViewWindow(const std::filesystem::path& file)
{
    auto w = std::make_unique<WindowFixture>(
        std::initializer_list<const char*>{"Game.dat", "Game", "Star.bmp", "Life.bmp"}, [file](MainSeams& seams) {
            seams.OpenSettings = [file] {
                return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
            };
        });
    w->Show();
    return w;
}

/// The first pixel where `big` is not `small` magnified `scale` times at `origin`
/// with black around it; none when it is.
std::optional<QPoint> Mismatch(const QImage& big, const QImage& small, int scale, QPoint origin)
{
    const QRect picture(origin, small.size() * scale);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x) {
            const QPoint at(x, y);
            const QRgb want = picture.contains(at) ? small.pixel((x - origin.x()) / scale, (y - origin.y()) / scale) : qRgb(0, 0, 0);
            if (big.pixel(at) != want) return at;
        }
    return std::nullopt;
}

QImage Grab(MainForm& form) { return form.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST(WindowView, EveryScaleAndFullScreenShowTheScaleOnePictureMagnified)
{
    TempFolder dir;
    auto w = ViewWindow(dir.path / "view.ini");
    // The menu over a started and paused game: the field, the status line,
    // the title and the menu labels, with one item highlighted.
    w->Click(Qt::Key_2);
    w->Click(Qt::Key_Escape);
    w->Click(Qt::Key_Down);
    const QImage one = Grab(*w->form);
    ASSERT_EQ(one.size(), w->form->minimumSize()); // the panel and its border
    const QSize size = one.size();

    for (int scale = 2; scale <= 4; ++scale) {
        w->Click(Qt::Key_F10);
        ASSERT_EQ(w->form->ViewScale(), scale);
        const QImage big = Grab(*w->form);
        EXPECT_EQ(big.size(), one.size() * scale);
        const std::optional<QPoint> wrong = Mismatch(big, one, scale, {});
        EXPECT_FALSE(wrong) << "scale " << scale << " differs at " << wrong->x() << ", " << wrong->y();
    }
    w->Click(Qt::Key_F10); // 4 is the largest
    EXPECT_EQ(w->form->ViewScale(), 4);

    // Full screen: the largest scale up to the chosen one that the screen holds.
    w->Click(Qt::Key_F11);
    const QSize screen = w->form->screen()->geometry().size();
    EXPECT_TRUE(test::Eventually([&] { return w->form->size() == screen; }))
        << w->form->width() << " x " << w->form->height();
    const int fits = std::min({4, screen.width() / size.width(), screen.height() / size.height()});
    EXPECT_EQ(w->form->ViewScale(), fits);
    const QPoint centred((screen.width() - size.width() * fits) / 2, (screen.height() - size.height() * fits) / 2);
    EXPECT_EQ(w->form->ViewOrigin(), centred);
    const std::optional<QPoint> wrong = Mismatch(Grab(*w->form), one, fits, centred);
    EXPECT_FALSE(wrong) << "full screen differs at " << wrong->x() << ", " << wrong->y();

    // Remembered for the next run.
    w.reset();
    w = ViewWindow(dir.path / "view.ini");
    EXPECT_TRUE(w->form->windowState() & Qt::WindowFullScreen);
    w->Click(Qt::Key_F11);
    EXPECT_TRUE(test::Eventually([&] { return w->form->size() == one.size() * 4; }))
        << w->form->width() << " x " << w->form->height();
    for (int scale = 3; scale >= 1; --scale) w->Click(Qt::Key_F9);
    w->Click(Qt::Key_F9); // 1 is the smallest
    EXPECT_EQ(w->form->ViewScale(), 1);
    EXPECT_EQ(w->form->size(), one.size());
    EXPECT_TRUE(w->form->Field().isVisible()); // the window as designed
    QSettings kept(QString::fromStdString((dir.path / "view.ini").string()), QSettings::IniFormat);
    EXPECT_EQ(kept.value(QStringLiteral("View/Scale")).toInt(), 1);
    EXPECT_EQ(kept.value(QStringLiteral("View/FullScreen")).toString(), QStringLiteral("false"));
}

/// On a screen of 1280 x 800 only scale 1 fits: F10 leaves the window as it
/// is, and the same window on a 4K screen grows.
TEST(WindowView, AWindowNeverGrowsPastItsScreen)
{
    QScreen* small = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QStringLiteral("small")) small = screen;
    ASSERT_NE(small, nullptr) << "the GUI tests' main gives a second, small screen";
    TempFolder dir;
    auto w = ViewWindow(dir.path / "view.ini");
    const QSize one = w->form->size();
    QScreen* large = w->form->screen();
    w->form->setScreen(small);
    w->form->move(small->geometry().topLeft());
    ASSERT_EQ(w->form->screen(), small);
    w->Click(Qt::Key_F10);
    EXPECT_EQ(w->form->ViewScale(), 1);
    EXPECT_EQ(w->form->size(), one);

    w->form->setScreen(large);
    w->form->move(large->geometry().topLeft());
    w->Click(Qt::Key_F10);
    EXPECT_EQ(w->form->ViewScale(), 2);
}

/// The "[Menu]" button under the pointer: its outline shows and its tooltip
/// comes, at scale 1 and magnified alike.
TEST(WindowView, TheMenuButtonKeepsItsHoverOutlineAndTooltipAtEveryScale)
{
    TempFolder dir;
    auto w = ViewWindow(dir.path / "view.ini");
    MainForm& form = *w->form;
    const QPoint away(100, 420); // over the field's bottom left, where no label lies
    const QPoint button(1 + 552 + 24, 1 + 8);
    QTest::mouseMove(&form, away);
    const QImage plain = Grab(form);
    const QRect outline(button - QPoint(24, 8), QSize(49, 17));
    QImage hovered;
    for (int scale = 1; scale <= 3; ++scale) {
        SCOPED_TRACE(scale);
        if (scale > 1) w->Click(Qt::Key_F10);
        ASSERT_EQ(form.ViewScale(), scale);
        QToolTip::hideText(); // the last scale's tooltip goes first
        ASSERT_TRUE(test::Eventually([] { return !QToolTip::isVisible(); }));
        QTest::mouseMove(&form, form.ViewOrigin() + button * scale);
        if (scale == 1) {
            ASSERT_TRUE(test::Eventually([&] {
                hovered = Grab(form);
                return hovered.copy(outline) != plain.copy(outline);
            })) << "no outline round the button";
            EXPECT_EQ(hovered.copy(QRect(0, 40, hovered.width(), hovered.height() - 40)),
                      plain.copy(QRect(0, 40, plain.width(), plain.height() - 40))); // the rest as it was
        } else {
            std::optional<QPoint> wrong;
            EXPECT_TRUE(test::Eventually([&] { return !(wrong = Mismatch(Grab(form), hovered, scale, {})); }))
                << "differs from the outlined button magnified at " << wrong->x() << ", " << wrong->y();
        }
        EXPECT_TRUE(test::Eventually([] { return QToolTip::isVisible() && QToolTip::text() == QStringLiteral("Menu"); }));
        // Off the button the outline goes again.
        QTest::mouseMove(&form, form.ViewOrigin() + away * scale);
        std::optional<QPoint> wrong;
        EXPECT_TRUE(test::Eventually([&] { return !(wrong = Mismatch(Grab(form), plain, scale, {})); }))
            << "the outline stays at " << wrong->x() << ", " << wrong->y();
    }
    QToolTip::hideText();
}

struct LandCase {
    const char* name;
    const char* settings; ///< the settings file's text
    int scale;            ///< the scale it gives
};

class WindowViewLanding : public testing::TestWithParam<LandCase> {};

TEST_P(WindowViewLanding, AClickAndAKeyLandAsAtScaleOne)
{
    TempFolder dir;
    {
        std::ofstream(dir.path / "view.ini") << GetParam().settings;
    }
    auto w = ViewWindow(dir.path / "view.ini");
    MainForm& form = *w->form;
    ASSERT_EQ(form.ViewScale(), GetParam().scale);
    const int scale = form.ViewScale();
    // The middle of "2. New Game Two Players" in the field, then in the window.
    const QWidget& item = *w->Label("MenuItem2");
    const QPoint inField = item.geometry().center();
    const QPoint inWindow = form.ViewOrigin() + form.Field().mapTo(form.Field().parentWidget(), inField) * scale;
    QTest::mouseMove(&form, inWindow);
    EXPECT_TRUE(test::Eventually([&] { return form.MenuItemHighlighted(2); })); // a window system may take a moment
    // A press and release where the window system would send them.
    QWidget* under = form.childAt(inWindow);
    ASSERT_NE(under, nullptr);
    QTest::mouseClick(under, Qt::LeftButton, Qt::NoModifier, under->mapFrom(&form, inWindow));
    ASSERT_TRUE(w->State().Playing);
    EXPECT_TRUE(w->Gate().Sprites[1]->Active);
    w->Press(Qt::Key_Right);
    EXPECT_EQ(w->State().Player1.MoveKey, VkRight);
    w->Release(Qt::Key_Right);
    // The "[Menu]" button pauses.
    const QPoint button = form.ViewOrigin() + QPoint(1 + 552 + 20, 1 + 8) * scale;
    QWidget* onButton = form.childAt(button);
    QTest::mouseClick(onButton, Qt::LeftButton, Qt::NoModifier, onButton->mapFrom(&form, button));
    EXPECT_FALSE(w->State().Playing);
}

const LandCase LandCases[] = {
    {"ScaleOne", "", 1},
    {"ScaleThree", "[View]\nScale=3\n", 3},
    {"DamagedScaleIsOne", "[View]\nScale=three\nFullScreen=yes\n", 1},
    {"ScaleTooLargeIsOne", "[View]\nScale=9\n", 1},
};
INSTANTIATE_TEST_SUITE_P(Settings, WindowViewLanding, testing::ValuesIn(LandCases), test::CaseName);

} // namespace
} // namespace brakkon
