// Replays of games played in the window: two games, a saved one loaded,
// pauses by key, menu and [Menu] button, a new movement step, all through
// real key events and both timers' handlers, recorded, then played by
// brakkon-sim and by the window to the same working gate, byte for byte.
#include "shell/ControlUnit.h"
#include "tests/DialogSupport.h"
#include "game/FileIo.h"
#include "tests/GuiSupport.h"
#include "sim/Replay.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"

#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace brakkon {
namespace {

using test::WindowFixture;

/// A session in the window, recorded into `file`; returns the working gate
/// as a saved game when the window closed.
std::vector<std::uint8_t> PlayRecordedSession(WindowFixture& w, const std::filesystem::path& file)
{
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) w.form->Timer1Timer();
    };
    w.form->RecordReplay(file);
    w.Show();
    ticks(30); // the field runs on behind the menu; nothing is recorded before a game
    w.Click(Qt::Key_2);
    w.Press(Qt::Key_Up);
    w.Press(Qt::Key_H);
    ticks(25);
    w.Release(Qt::Key_Up);
    w.Press(Qt::Key_Space);
    w.Release(Qt::Key_Space);
    ticks(60);
    w.form->Timer2Timer();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(w.form.get(), &deactivate);
    w.Click(Qt::Key_Escape);
    w.dialogAnswer = QString::fromStdString((w.Dir() / "match.gam").string());
    w.Click(Qt::Key_4);
    w.Click(Qt::Key_Escape);
    w.Press(Qt::Key_Left);
    ticks(40);
    w.form->Timer2Timer();
    w.Click(Qt::Key_Escape);
    w.Click(Qt::Key_3); // the game saved above, resumed
    w.Press(Qt::Key_Right);
    w.Click(Qt::Key_A);
    ticks(60);
    // Paused by the [Menu] button, keys do not reach the players; the Game
    // Control dialog sets step 4 (the sprites snap); "7" returns to the game.
    auto* menuButton = w.form->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    QTest::mouseClick(menuButton, Qt::LeftButton);
    w.Click(Qt::Key_Down);
    test::WhenShown<TControlForm>([](TControlForm& f) {
        QTest::mouseClick(f.RadioButton3, Qt::LeftButton);
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    w.Click(Qt::Key_5);
    w.Click(Qt::Key_7);
    ticks(30);
    QTest::mouseClick(menuButton, Qt::LeftButton);
    QTest::mouseClick(menuButton, Qt::LeftButton);
    w.Click(Qt::Key_Escape);
    w.Click(Qt::Key_1); // a second game; its "1" reaches the players too
    w.Press(Qt::Key_Down);
    ticks(50);
    w.form->Timer2Timer();
    w.Click(Qt::Key_Space);
    ticks(3);
    std::vector<std::uint8_t> gate;
    EXPECT_TRUE(EncodeSavedGame(w.Gate(), gate));
    return gate;
}

TEST(ReplayWindow, AGamePlayedInTheWindowReplaysInBrakkonSimToTheSameGate)
{
    WindowFixture w;
    const std::filesystem::path file = w.Dir() / "session.replay";
    const std::vector<std::uint8_t> played = PlayRecordedSession(w, file);
    w.form.reset(); // the window goes: the recording is written

    Replay replay;
    const auto read = LoadReplay(file, replay);
    ASSERT_TRUE(read) << read.Message;
    auto count = [&](ReplayWhat what) {
        return std::count_if(replay.Events.begin(), replay.Events.end(), [&](const ReplayEvent& e) { return e.What == what; });
    };
    EXPECT_EQ(replay.Events.front().What, ReplayWhat::NewGame) << "the recording starts with the first game";
    EXPECT_EQ(replay.Ticks, 268);
    EXPECT_EQ(count(ReplayWhat::Step), 1);
    EXPECT_EQ(count(ReplayWhat::Pause), 2);
    EXPECT_EQ(count(ReplayWhat::Clock), 3);
    EXPECT_EQ(count(ReplayWhat::NewGame), 2);
    EXPECT_EQ(count(ReplayWhat::LoadGame), 1);
    EXPECT_EQ(count(ReplayWhat::Focus), 2); // the one sent, and the Game Control dialog taking it
    EXPECT_GE(count(ReplayWhat::Press), 9);

    const std::filesystem::path out = w.Dir() / "end.gam";
    const auto run = test::RunTool(BRAKKON_SIM_TOOL, {"--data", (w.Dir() / "Game.dat").string(), "--replay",
                                                      file.string(), "--save", out.string()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadFileBytes(out), std::optional(played));

    // Another data file is refused, by brakkon-sim and by the window.
    std::filesystem::copy_file(w.Dir() / "Game.dat", w.Dir() / "Other.dat");
    std::filesystem::resize_file(w.Dir() / "Other.dat", std::filesystem::file_size(w.Dir() / "Other.dat") - 1);
    const auto other = test::RunTool(BRAKKON_SIM_TOOL, {"--data", (w.Dir() / "Other.dat").string(), "--replay", file.string()});
    EXPECT_EQ(other.ExitCode, 1);
    EXPECT_NE(other.Err.find("recorded with another data file"), std::string::npos) << other.Err;
}

// However the window system repeats a held key, the game hears one press
// and one release, and so does the recording: a held fire key fires once.
TEST(ReplayWindow, AHeldKeyIsRecordedAsOnePressAndOneRelease)
{
    using Repeat = WindowFixture::Repeat;
    for (const Repeat how : {Repeat::Pairs, Repeat::Presses, Repeat::UnmarkedPresses}) {
        SCOPED_TRACE(static_cast<int>(how));
        WindowFixture w;
        const std::filesystem::path file = w.Dir() / "held.replay";
        w.form->RecordReplay(file);
        w.Show();
        w.Click(Qt::Key_1);
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Up}) {
            w.Press(key);
            for (int i = 0; i < 4; ++i) {
                w.AutoRepeat(key, how);
                w.form->Timer1Timer();
            }
            w.Release(key);
        }
        ASSERT_TRUE(w.form->FinishRecording());
        Replay replay;
        ASSERT_TRUE(LoadReplay(file, replay));
        std::vector<std::pair<ReplayWhat, std::int32_t>> keys;
        for (const ReplayEvent& e : replay.Events)
            if ((e.What == ReplayWhat::Press || e.What == ReplayWhat::Release) && e.Value != VkDigit0 + 1)
                keys.emplace_back(e.What, e.Value);
        const std::vector<std::pair<ReplayWhat, std::int32_t>> once{
            {ReplayWhat::Press, VkSpace}, {ReplayWhat::Release, VkSpace}, {ReplayWhat::Press, VkUp}, {ReplayWhat::Release, VkUp}};
        EXPECT_EQ(keys, once);
    }
}

TEST(ReplayWindow, TheWindowShowsAReplayToTheSameGateAndTakesNoKeys)
{
    const test::TempFolder folder("brakkon-replay");
    const std::filesystem::path file = folder / "session.replay";
    std::vector<std::uint8_t> played;
    {
        WindowFixture w;
        played = PlayRecordedSession(w, file);
        ASSERT_TRUE(w.form->FinishRecording());
    }
    Replay replay;
    ASSERT_TRUE(LoadReplay(file, replay));

    WindowFixture v;
    ASSERT_EQ(v.form->PlayReplay(file), "");
    v.Show();
    v.Click(Qt::Key_1);
    v.Click(Qt::Key_Escape);
    EXPECT_EQ(v.State().Playing, false) << "no game but the replay's";
    for (std::int64_t i = 0; i <= replay.Ticks && v.form->ReplayTicks() < replay.Ticks; ++i) v.form->Timer1Timer();
    v.form->Timer1Timer(); // the events after the last tick, and the end
    EXPECT_EQ(v.form->ReplayTicks(), replay.Ticks);
    std::vector<std::uint8_t> shown;
    ASSERT_TRUE(EncodeSavedGame(v.Gate(), shown));
    EXPECT_EQ(shown, played);
    EXPECT_EQ(v.Label("GameCaption")->text(), "Replay ended");
    EXPECT_FALSE(v.form->GameTimer().Enabled());

    // A damaged replay and one of another data file are refused, each with its message.
    replay.Data.Size += 1;
    ASSERT_TRUE(SaveReplay(file, replay));
    WindowFixture x;
    EXPECT_EQ(x.form->PlayReplay(file).rfind("the replay was recorded with another data file than", 0), 0u);
    ASSERT_TRUE(WriteFileAtomically(file, std::vector<std::uint8_t>{'x', '\n'}));
    EXPECT_EQ(x.form->PlayReplay(file), file.string() + ":1: not a replay (its first line must be 'brakkon-replay 1')");
    EXPECT_FALSE(x.form->Replaying());
}

} // namespace
} // namespace brakkon
