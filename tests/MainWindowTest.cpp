// The main window driven through real key and mouse events on the offscreen
// platform, over copies of the built data files: start-up, the key table by
// state, the menu, the status line, saving and loading, and the gate change
// that must not outlive the game it belongs to.
#include "shell/ControlUnit.h"
#include "tests/DialogSupport.h"
#include "tests/GuiSupport.h"

#include "game/Hits.h"
#include "game/SavedGame.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::WindowFixture;

const std::string GameDatMissing = "\"Game.dat\" file not found";
const std::string GameMissing = "\"Game\" file not found";

int HighlightedItem(const MainForm& form)
{
    for (int n = 1; n <= MenuItemCount; ++n)
        if (form.MenuItemHighlighted(n)) return n;
    return -1;
}

long PlayerShells(const GateType& gate)
{
    return std::count_if(gate.Sprites.begin(), gate.Sprites.end(), [](const auto& s) { return s->Kind == KindPlayerShell; });
}

/// The field is won: no enemy left to come and none in play.
void ClearEnemies(GateType& gate)
{
    gate.EnemiesLeft = 0;
    for (std::size_t i = 2; i < gate.Sprites.size(); ++i) gate.Sprites[i]->Active = 0;
}

struct StartCase {
    const char* name;
    std::initializer_list<const char*> files;
    std::vector<std::string> messages;
    bool sceneLoaded;
    bool fieldDrawn; ///< the scene in pictures, not black boxes
};

TEST(MainWindow, StartUpReportsMissingFilesInOrderAndShowsTheMenuOverTheField)
{
    const StartCase cases[] = {
        {"everything", {"Game.dat", "Game", "Star.bmp", "Life.bmp"}, {}, true, true},
        {"nothing", {}, {GameDatMissing, GameMissing}, false, false},
        {"no scene", {"Game.dat"}, {GameMissing}, false, false},
        {"no data", {"Game"}, {GameDatMissing}, true, false},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture w(c.files);
        w.Show();
        EXPECT_EQ(w.errors.messages, c.messages);
        for (const std::string& detail : w.errors.details) // where the game looked
            EXPECT_NE(detail.find((w.Dir() / "Game").string()), std::string::npos) << detail;
        for (int n = 1; n <= 6; ++n) EXPECT_TRUE(w.form->MenuItemShown(n)) << n;
        EXPECT_FALSE(w.form->MenuItemShown(7));
        EXPECT_TRUE(w.State().GameOver);
        EXPECT_TRUE(w.form->GameTimer().Enabled()); // the scene runs on behind the menu
        EXPECT_EQ(w.Gate().Sprites.size() > 2, c.sceneLoaded);
        const QImage field = w.form->Field().grab().toImage();
        EXPECT_EQ(field.pixel(300, 420) != qRgb(0, 0, 0), c.fieldDrawn);
        w.Click(Qt::Key_1); // with no gates a new game does nothing at all
        EXPECT_EQ(w.State().Playing, !w.State().Game.Gates.empty());
    }
}

// The game's timers tick by themselves; the tests' windows tick only when
// the test runs a handler. A timer of three game ticks started after the
// window shows has fired only once every earlier-due game tick has.
TEST(MainWindow, TheTimersTickByThemselvesUnlessATestDrivesThem)
{
    for (const bool byThemselves : {true, false}) {
        SCOPED_TRACE(byThemselves);
        int ticks = 0;
        WindowFixture w({"Game.dat", "Game"}, [&](MainSeams& seams) {
            seams.TimersTick = byThemselves;
            seams.GameTickObserved = [&ticks] { ++ticks; };
        });
        w.Show();
        QTimer later;
        later.setSingleShot(true);
        later.setTimerType(Qt::PreciseTimer);
        later.start(3 * GameTimerInterval);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !later.isActive(); }, 10000));
        EXPECT_EQ(ticks > 0, byThemselves);
        EXPECT_TRUE(w.form->GameTimer().Enabled());
    }
}

enum class From { Waiting, Playing, Paused };

struct KeyCase {
    From from;
    Qt::Key key;
    bool playing, gameOver, menu;
    std::int32_t moveDir; ///< player 1's request, -1 for none
};

TEST(MainWindow, KeyTableByState)
{
    const KeyCase cases[] = {
        {From::Waiting, Qt::Key_Escape, false, true, true, -1},
        {From::Waiting, Qt::Key_F1, false, true, true, -1},
        {From::Waiting, Qt::Key_7, false, true, true, -1},
        {From::Waiting, Qt::Key_Left, false, true, true, -1},
        {From::Waiting, Qt::Key_Return, false, true, true, -1}, // nothing highlighted
        {From::Waiting, Qt::Key_2, true, false, false, -1},
        {From::Playing, Qt::Key_Escape, false, false, true, -1},
        {From::Playing, Qt::Key_F1, false, false, true, -1},
        {From::Playing, Qt::Key_1, true, false, false, -1},
        {From::Playing, Qt::Key_Left, true, false, false, DirLeft},
        {From::Playing, Qt::Key_Up, true, false, false, DirUp},
        {From::Paused, Qt::Key_Escape, true, false, false, -1},
        {From::Paused, Qt::Key_F1, true, false, false, -1},
        {From::Paused, Qt::Key_7, true, false, false, -1},
        {From::Paused, Qt::Key_Up, false, false, true, -1},
        {From::Paused, Qt::Key_Left, false, false, true, -1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << static_cast<int>(c.from) << " key " << std::hex << c.key);
        WindowFixture w;
        w.Show();
        if (c.from != From::Waiting) w.Click(Qt::Key_2);
        if (c.from == From::Paused) w.Click(Qt::Key_Escape);
        w.Press(c.key);
        EXPECT_EQ(w.State().Playing, c.playing);
        EXPECT_EQ(w.State().GameOver, c.gameOver);
        EXPECT_EQ(w.form->MenuItemShown(1), c.menu);
        EXPECT_EQ(w.form->MenuItemShown(7), c.menu && !c.gameOver);
        EXPECT_EQ(w.form->GameTimer().Enabled(), c.playing || c.gameOver);
        EXPECT_EQ(w.form->ClockTimer().Enabled(), c.playing || c.gameOver);
        EXPECT_EQ(w.State().Player1.MoveIdle ? -1 : w.State().Player1.MoveDir, c.moveDir);
    }
}

TEST(MainWindow, AHeldKeyRequestsOnceAndFireNeedsARelease)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2);
    PlayerType& p1 = w.State().Player1;
    w.Press(Qt::Key_Right);
    for (int i = 0; i < 3; ++i) w.AutoRepeat(Qt::Key_Right);
    EXPECT_FALSE(p1.MoveIdle); // the repeats' releases never reach the game
    EXPECT_EQ(p1.MoveDir, DirRight);
    w.Release(Qt::Key_Right);
    EXPECT_TRUE(p1.MoveIdle);

    w.Press(Qt::Key_Space);
    for (int i = 0; i < 3; ++i) w.AutoRepeat(Qt::Key_Space);
    EXPECT_EQ(PlayerShells(w.Gate()), 1);
    w.Release(Qt::Key_Space);
    w.Press(Qt::Key_Space);
    EXPECT_EQ(PlayerShells(w.Gate()), 2);
    w.Release(Qt::Key_Space);

    // Ctrl fires for player 1 and Shift for player 2; each release ends its own.
    w.Press(Qt::Key_Control);
    EXPECT_TRUE(p1.FireHeld);
    w.Press(Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(w.State().Player2.FireHeld);
    EXPECT_EQ(PlayerShells(w.Gate()), 4);
    w.Release(Qt::Key_Control, Qt::ControlModifier);
    EXPECT_FALSE(p1.FireHeld);
    EXPECT_TRUE(w.State().Player2.FireHeld);

    // Keys whose release the window will not see are let go with the focus.
    w.Press(Qt::Key_T);
    w.Press(Qt::Key_Left);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(w.form.get(), &deactivate);
    EXPECT_TRUE(p1.MoveIdle);
    EXPECT_TRUE(w.State().Player2.MoveIdle);
}

struct NavCase {
    bool paused;
    int start;
    std::vector<Qt::Key> keys;
    std::vector<int> highlighted;
};

TEST(MainWindow, MenuArrowsCycleThroughTheShownItems)
{
    const NavCase cases[] = {
        {false, -1, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down},
         {1, 2, 3, 4, 5, 6, 1}},
        {false, -1, {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}, {1, 6, 5}},
        {true, 6, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}, {7, 1, 7, 6}},
    };
    for (const NavCase& c : cases) {
        WindowFixture w;
        w.Show();
        if (c.paused) {
            w.Click(Qt::Key_2);
            w.Click(Qt::Key_Escape);
        }
        w.form->HighlightMenuItem(c.start);
        std::vector<int> seen;
        for (Qt::Key key : c.keys) {
            w.Click(key);
            seen.push_back(HighlightedItem(*w.form));
        }
        EXPECT_EQ(seen, c.highlighted);
    }
}

TEST(MainWindow, EnterRunsTheHighlightedItem)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_Down);
    w.Click(Qt::Key_Down);
    w.Click(Qt::Key_Return);
    EXPECT_TRUE(w.State().Playing);
    EXPECT_TRUE(w.Gate().Sprites[1]->Active); // "2. New Game Two Players"
    EXPECT_EQ(w.State().Player1.MoveIdle, true); // the arrows asked nothing of the tanks
}

TEST(MainWindow, TheMouseHighlightsAndRunsItemsThroughItemAndShadowLabels)
{
    WindowFixture w;
    w.Show();
    QTest::mouseMove(w.Label("MenuItem3"), QPoint(20, 10));
    EXPECT_EQ(HighlightedItem(*w.form), 3);
    QTest::mouseMove(w.Label("MenuItem22"), QPoint(0, 0)); // the shadow's edge outside its item
    EXPECT_EQ(HighlightedItem(*w.form), 2);
    QTest::mouseMove(&w.form->Field(), QPoint(40, 420));
    EXPECT_EQ(HighlightedItem(*w.form), -1);
    w.Click(Qt::Key_Return); // nothing highlighted: nothing happens
    EXPECT_FALSE(w.State().Playing);
    QTest::mouseClick(w.Label("MenuItem22"), Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
    EXPECT_TRUE(w.State().Playing);
    EXPECT_TRUE(w.Gate().Sprites[1]->Active);
}

TEST(MainWindow, TheMenuButtonPausesAndResumesAGameOnly)
{
    WindowFixture w;
    w.Show();
    auto* button = w.form->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(w.form->MenuItemShown(1)); // waiting: nothing to return to
    EXPECT_FALSE(w.form->MenuItemShown(7));
    w.Click(Qt::Key_1);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(w.State().Playing);
    EXPECT_TRUE(w.form->MenuItemShown(7));
    EXPECT_FALSE(w.form->GameTimer().Enabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(w.State().Playing);
    EXPECT_TRUE(w.form->GameTimer().Enabled());
}

TEST(MainWindow, ANewGameShowsTitleAndKeyHelpUntilAnyKey)
{
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Left, {}},  {Qt::Key_Tab, {}},   {Qt::Key_Backspace, {}},  {Qt::Key_F2, {}},
        {Qt::Key_F8, {}},    {Qt::Key_Comma, {}}, {Qt::Key_Alt, Qt::AltModifier}, {Qt::Key_Plus, Qt::KeypadModifier},
    };
    for (const auto& [key, modifiers] : keys) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        WindowFixture w;
        w.Show();
        w.Click(Qt::Key_1);
        EXPECT_TRUE(w.Shown("GameCaption"));
        EXPECT_TRUE(w.Shown("GameCaption1"));
        EXPECT_TRUE(w.Shown("Desc0"));
        EXPECT_EQ(w.Label("GameCaption")->text(), "Brakkon");
        EXPECT_FALSE(w.Gate().Sprites[1]->Active);
        w.Press(key, modifiers);
        for (const char* name : {"GameCaption", "GameCaption1", "Desc0", "Desc1", "Desc2"}) EXPECT_FALSE(w.Shown(name)) << name;
        EXPECT_TRUE(w.State().Playing);
    }
}

TEST(MainWindow, TheStatusLineFollowsBonusesHitsAndGateChanges)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2);
    GateType& gate = w.Gate();
    SpriteType& p1 = *gate.Sprites[0];
    SpriteType& p2 = *gate.Sprites[1];
    EXPECT_EQ(w.Label("GateNameLabel")->text(), "[1]");
    EXPECT_EQ(w.Label("TimeLabel")->text(), "00:00:00");
    auto shown = [&](std::initializer_list<const char*> names) {
        std::string out;
        for (const char* n : names) out += w.Shown(n) ? '1' : '0';
        return out;
    };
    const auto p1Icons = {"Star11", "Star12", "Star13", "Flower11", "Flower12", "Flower13"};
    const auto p2Icons = {"Star21", "Star22", "Star23", "Flower21", "Flower22", "Flower23"};
    EXPECT_EQ(shown(p1Icons), "100100");
    EXPECT_EQ(shown(p2Icons), "100100");

    // The shielded tanks are checked where they stand in the next drawing,
    // in a phase that hides them: a tank that only blinks keeps its icons.
    gate.Cells[Player1StartCol][PlayerStartRow]->Bonus = BonusExtraLife;
    gate.Cells[Player2StartCol][PlayerStartRow]->Bonus = BonusLevelUp;
    w.State().BlinkPhase = true;
    w.form->Timer1Timer();
    EXPECT_EQ(shown(p1Icons), "100110");
    EXPECT_EQ(shown(p2Icons), "110100");

    p1.Shield = p2.Shield = 0;
    HitTank(w.State(), w.form->Host(), p2); // a level lost
    EXPECT_EQ(shown(p2Icons), "100100");
    gate.Lives1 = 0;
    HitTank(w.State(), w.form->Host(), p1); // the last tank lost
    EXPECT_EQ(shown(p1Icons), "000000");

    w.form->Timer2Timer();
    EXPECT_EQ(w.Label("TimeLabel")->text(), "00:00:01");
    ClearEnemies(gate);
    w.form->Timer2Timer();
    w.form->Timer1Timer(); // the gate changes
    EXPECT_EQ(w.Label("GateNameLabel")->text(), "[2]");
    EXPECT_EQ(shown(p1Icons), "000000");
    EXPECT_EQ(shown(p2Icons), "100100");
}

TEST(MainWindow, ASavedGameLoadsAndPlaysOnWhereItWasSaved)
{
    WindowFixture w;
    w.Show();
    w.Click(Qt::Key_2);
    w.Press(Qt::Key_Up);
    w.Press(Qt::Key_Space);
    for (int i = 0; i < 40; ++i) w.form->Timer1Timer();
    w.Click(Qt::Key_Escape);
    const std::filesystem::path file = w.Dir() / "match.gam";
    w.dialogAnswer = QString::fromStdString(file.string());
    w.Click(Qt::Key_4);
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_FALSE(w.State().Playing); // saving leaves the game paused
    GateType saved;
    ASSERT_TRUE(LoadGame(file, saved));

    w.Click(Qt::Key_Escape);
    for (int i = 0; i < 40; ++i) w.form->Timer1Timer();
    w.Click(Qt::Key_Escape);
    w.dialogAnswer.clear(); // a cancelled dialog changes nothing
    w.Click(Qt::Key_3);
    EXPECT_FALSE(w.State().Playing);
    w.dialogAnswer = QString::fromStdString(file.string());
    w.Click(Qt::Key_3);
    test::ExpectSameGate(w.Gate(), saved);
    EXPECT_TRUE(w.State().Playing);
    EXPECT_FALSE(w.Shown("GameCaption"));
    EXPECT_EQ(w.dialogs, (std::vector{FileDialogMode::Save, FileDialogMode::Open, FileDialogMode::Open}));
}

/// Opens the menu on a won gate whose change is still to come, then starts
/// another game from it.
enum class Restart { NewGame, LoadGame };

TEST(MainWindow, AGateChangePendingAtTheMenuDoesNotCarryIntoANewOrLoadedGame)
{
    for (Restart restart : {Restart::NewGame, Restart::LoadGame}) {
        SCOPED_TRACE(static_cast<int>(restart));
        WindowFixture w;
        w.Show();
        w.Click(Qt::Key_2);
        const std::filesystem::path file = w.Dir() / "fresh.gam";
        ASSERT_TRUE(SaveGame(file, w.Gate()));
        ClearEnemies(w.Gate());
        w.form->Timer2Timer(); // the clock finds the gate won
        ASSERT_TRUE(w.State().NextGatePending);
        w.Click(Qt::Key_Escape);
        w.dialogAnswer = QString::fromStdString(file.string());
        w.Click(restart == Restart::NewGame ? Qt::Key_1 : Qt::Key_3);
        ASSERT_TRUE(w.State().Playing);
        w.form->Timer1Timer();
        EXPECT_TRUE(w.State().Playing);
        EXPECT_FALSE(w.State().GameOver);
        EXPECT_EQ(w.Gate().GateNo, 1);
        EXPECT_EQ(w.Label("GateNameLabel")->text(), "[1]");
        EXPECT_GT(w.Gate().Sprites.size(), 2u); // gate 0's enemies, not a new gate's
    }
}

TEST(MainWindow, MusicAtShowEffectsInPlayAndTheGameControlDialogFromTheMenu)
{
    WindowFixture w({"Game.dat", "Game", "Explode.wav", "Gun.wav", "Music.mid"});
    w.Show();
    EXPECT_EQ(w.Music->OpenFile(), "Music.mid");
    EXPECT_TRUE(w.Music->Playing());
    EXPECT_EQ(w.Effects->OpenFile(), "Explode.wav");

    w.Click(Qt::Key_1);
    w.Press(Qt::Key_Space);
    EXPECT_EQ(w.Effects->OpenFile(), "Gun.wav");
    EXPECT_TRUE(w.Effects->Playing());
    w.Release(Qt::Key_Space);

    w.Click(Qt::Key_Escape);
    test::WhenShown<TControlForm>([](TControlForm& f) {
        QTest::keyClick(f.ScrollBar1, Qt::Key_End); // far right: fastest
        QTest::mouseClick(f.CheckBox2, Qt::LeftButton); // music off
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    w.Click(Qt::Key_5);
    EXPECT_EQ(w.form->GameTimer().Interval(), 1);
    EXPECT_FALSE(w.State().MusicOn);
    EXPECT_FALSE(w.Music->Playing());
    EXPECT_TRUE(w.form->MenuItemShown(7)); // the menu stays
}

} // namespace
} // namespace brakkon
