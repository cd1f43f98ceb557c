// The main window built behind the real intro window: "Play Game" pressed
// before or after that work, or "Cancel" after it. The files it read are
// reported only when the window shows, in their order and before the menu,
// and a game starts from a window whose intro was left at once.
#include "shell/StartUnit.h"
#include "tests/DialogSupport.h"
#include "tests/GuiSupport.h"

#include <QPushButton>

#include <algorithm>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

const std::string GameDatMissing = "\"Game.dat\" file not found";
const std::string GameMissing = "\"Game\" file not found";

struct IntroCase {
    const char* name;
    std::initializer_list<const char*> files;
    bool waitForBuild; ///< the player reads until the window is built behind the intro
    bool play;         ///< "Play Game", else "Cancel"
    std::vector<std::string> messages;
};

TEST(StartBehindIntro, FilesAreReportedInOrderBeforeTheMenuHoweverEarlyTheIntroIsLeft)
{
    const IntroCase cases[] = {
        {"no files, play after the build", {}, true, true, {GameDatMissing, GameMissing}},
        {"no files, play at once", {}, false, true, {GameDatMissing, GameMissing}},
        {"no scene, play at once", {"Game.dat"}, false, true, {GameMissing}},
        {"every file, play at once", {"Game.dat", "Game", "Star.bmp", "Life.bmp"}, false, true, {}},
        {"every file, play after the build", {"Game.dat", "Game", "Star.bmp", "Life.bmp"}, true, true, {}},
        {"no files, cancel after the build", {}, true, false, {}},
    };
    for (const IntroCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool built = false, builtAtClick = false;
        test::WhenShown<TStartForm>([&](TStartForm& intro) {
            if (c.waitForBuild) {
                EXPECT_TRUE(test::Eventually([&] { return built; }));
            }
            builtAtClick = built;
            QTest::mouseClick(c.play ? intro.Button2 : intro.Button3, Qt::LeftButton);
        });
        test::WindowFixture w(c.files, [&](MainSeams& seams) {
            seams.ShowIntro = [&](const std::function<void()>& whileShown) {
                return ShowIntro(test::BuiltDir.string(), [&] {
                    whileShown();
                    built = true;
                });
            };
        });
        EXPECT_EQ(builtAtClick, c.waitForBuild);
        EXPECT_TRUE(w.errors.messages.empty()) << "a file reported while the intro was up";
        EXPECT_EQ(w.form->Cancelled(), !c.play);
        if (!c.play) continue; // the window goes unshown, and with it what it read

        std::vector<std::string> messages;
        bool menuBeforeAMessage = false;
        const ScopedErrorHandler recording([&](std::string_view message, std::string_view) {
            messages.emplace_back(message);
            menuBeforeAMessage = menuBeforeAMessage || w.form->MenuItemShown(1);
        });
        w.Show();
        EXPECT_EQ(messages, c.messages);
        EXPECT_FALSE(menuBeforeAMessage);
        EXPECT_TRUE(w.form->MenuItemShown(1));
        const bool scene = std::find(c.files.begin(), c.files.end(), std::string_view("Game")) != c.files.end();
        EXPECT_EQ(w.Gate().Sprites.size() > 2, scene);
        w.Click(Qt::Key_1); // a new game, when there are gates to play
        EXPECT_EQ(w.State().Playing, !w.State().Game.Gates.empty());
    }
}

} // namespace
} // namespace brakkon
