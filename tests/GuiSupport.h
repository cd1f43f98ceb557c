// Shared helpers of the GUI suites: a game directory in a temporary folder
// with the built data files (all of them or some), and a main window over it
// whose file dialogs answer with a chosen name, whose media players record
// and whose timers tick only when the test runs their handlers.
#pragma once

#include "shell/MainUnit.h"
#include "platform/MediaRecorder.h"
#include "tests/TempFolder.h"
#include "tests/TestSupport.h"

#include <QTest>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>

namespace brakkon::test {

/// Waits until `condition` holds, with a deadline only a hung test misses.
/// (A failed QTRY_* tells Qt Test, which a GoogleTest run never hears.)
template <typename Condition>
[[nodiscard]] bool Eventually(Condition condition)
{
    return QTest::qWaitFor(condition, 20000);
}

/// The data files the window reads, as the build made them.
inline const std::filesystem::path BuiltDir = BRAKKON_BIN_DIR;

/// A window over a fresh game directory holding copies of `files`.
class WindowFixture {
public:
    explicit WindowFixture(std::initializer_list<const char*> files = {"Game.dat", "Game", "Star.bmp", "Life.bmp"},
                           const std::function<void(MainSeams&)>& moreSeams = {})
    {
        for (const char* name : files) std::filesystem::copy_file(BuiltDir / name, Dir() / name);
        MainSeams seams;
        seams.TimersTick = false;
        seams.ChooseFile = [this](QWidget*, FileDialogMode mode) {
            dialogs.push_back(mode);
            return dialogAnswer;
        };
        seams.MakeSound = [this] {
            auto effects = std::make_unique<MediaRecorder>();
            auto music = std::make_unique<MediaRecorder>();
            Effects = effects.get();
            Music = music.get();
            return std::make_unique<GameSound>(std::move(effects), std::move(music));
        };
        if (moreSeams) moreSeams(seams);
        form = std::make_unique<MainForm>(QString::fromStdString(dir_.path.string()), std::move(seams));
    }

    [[nodiscard]] std::filesystem::path Dir() const { return dir_.path; }
    [[nodiscard]] MainState& State() { return form->State(); }
    [[nodiscard]] GateType& Gate() { return *form->State().Game.Gate; }

    /// Shows the window (start-up runs) and makes it the active one.
    void Show()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyPress(form.get(), key, modifiers); }
    void Release(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyRelease(form.get(), key, modifiers); }
    void Click(Qt::Key key) { QTest::keyClick(form.get(), key); }
    /// How a window system repeats a held key.
    enum class Repeat {
        Pairs,         ///< X11: a release and a press, both marked auto-repeat
        Presses,       ///< Wayland: presses marked auto-repeat
        UnmarkedPresses, ///< X11 with detectable auto-repeat, as Qt passes it on
    };
    /// One repeat of a held key.
    void AutoRepeat(Qt::Key key, Repeat how = Repeat::Pairs)
    {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), how != Repeat::UnmarkedPresses);
        if (how == Repeat::Pairs) QApplication::sendEvent(form.get(), &release);
        QApplication::sendEvent(form.get(), &press);
    }

    [[nodiscard]] QLabel* Label(const char* name) const { return form->findChild<QLabel*>(QLatin1String(name)); }
    [[nodiscard]] bool Shown(const char* name) const { return !Label(name)->isHidden(); }

    ErrorRecorder errors;              ///< the messages, in order
    std::vector<FileDialogMode> dialogs; ///< the file dialogs asked for
    QString dialogAnswer;              ///< what they answer; empty: cancelled
    MediaRecorder* Effects = nullptr; ///< the window's effects player
    MediaRecorder* Music = nullptr;   ///< the window's music player
    std::unique_ptr<MainForm> form;

private:
    TempFolder dir_;
};

} // namespace brakkon::test
