// The menu over the field on its own: which items are shown, where the
// arrows move the mark from each item with "7. Return" shown or not, and
// that nothing moves while the menu is hidden.
#include "shell/MainMenu.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brakkon {
namespace {

enum class Arrow { Up, Down };

int MarkedItem(const MainMenu& menu)
{
    for (int n = 1; n <= MenuItemCount; ++n)
        if (menu.Marked(n)) return n;
    return 0;
}

struct WalkCase {
    const char* name;
    bool shown;              ///< items 1 to 6
    bool returnShown;        ///< item 7
    int start;               ///< marked first (0: none)
    std::vector<Arrow> arrows;
    std::vector<int> marks;  ///< the mark after each arrow (0: none)
};

TEST(MainMenu, TheArrowsWalkTheShownItems)
{
    using enum Arrow;
    const WalkCase cases[] = {
        {"down from none, round without Return", true, false, 0, {Down, Down, Down, Down, Down, Down, Down}, {1, 2, 3, 4, 5, 6, 1}},
        {"down through Return and round", true, true, 5, {Down, Down, Down}, {6, 7, 1}},
        {"up from the first to Return", true, true, 1, {Up, Up, Up}, {7, 6, 5}},
        {"up from the first to Exit without Return", true, false, 1, {Up, Up}, {6, 5}},
        {"up from none marks the first", true, true, 0, {Up}, {1}},
        {"a marked Return hidden since: to the first", true, false, 7, {Down, Up}, {1, 6}},
        {"a marked Return hidden since, going up", true, false, 7, {Up}, {1}},
        {"hidden: nothing moves", false, false, 3, {Down, Up, Down}, {3, 3, 3}},
        {"hidden and nothing marked", false, false, 0, {Down, Up}, {0, 0}},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget field;
        MainMenu menu(&field, {[](int) {}, [] {}, [](int) {}, [] {}});
        menu.Show(true, true);
        menu.Mark(c.start);
        menu.Show(c.shown, c.returnShown);
        std::vector<int> marks;
        for (Arrow arrow : c.arrows) {
            arrow == Up ? menu.Up() : menu.Down();
            marks.push_back(MarkedItem(menu));
        }
        EXPECT_EQ(marks, c.marks);
    }
}

TEST(MainMenu, ShowsItsItemsAndMarksOnlyItemsItHas)
{
    QWidget field;
    MainMenu menu(&field, {[](int) {}, [] {}, [](int) {}, [] {}});
    const auto shown = [&menu] {
        std::string s;
        for (int n = 0; n <= MenuItemCount + 1; ++n) s += menu.Shown(n) ? '1' : '0';
        return s;
    };
    EXPECT_EQ(shown(), "000000000");
    menu.Show(true, false);
    EXPECT_EQ(shown(), "011111100");
    menu.Show(true, true);
    EXPECT_EQ(shown(), "011111110");
    // The labels show what the menu holds.
    EXPECT_TRUE(field.findChild<QWidget*>(QStringLiteral("MenuItem7"))->isVisibleTo(&field));
    menu.Show(false, true); // each flag on its own
    EXPECT_EQ(shown(), "000000010");
    EXPECT_FALSE(field.findChild<QWidget*>(QStringLiteral("MenuItem33"))->isVisibleTo(&field));

    for (int n : {0, 8, -1}) {
        menu.Mark(4);
        menu.Mark(n);
        EXPECT_EQ(MarkedItem(menu), 0) << n;
    }
}

} // namespace
} // namespace brakkon
