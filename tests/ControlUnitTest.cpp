// The Game Control dialog driven by mouse and key events: what OK, Cancel
// and Escape apply, the speed at the scroll bar's ends, the movement step's
// snapping, and the music switched off and on.
#include "shell/ControlUnit.h"
#include "tests/DialogSupport.h"
#include "game/GameFlow.h"
#include "tests/SoundSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace brakkon {
namespace {

using test::WhenShown;

void Ok(TControlForm& f) { QTest::mouseClick(f.Button1, Qt::LeftButton); }
void Keys(QWidget* w, std::initializer_list<Qt::Key> keys)
{
    for (Qt::Key k : keys) QTest::keyClick(w, k);
}

struct ControlCase {
    const char* name;
    std::int32_t moveStep;                    ///< before the dialog
    std::function<void(TControlForm&)> act;   ///< what the player does, closing the dialog
    bool applied;
    std::int32_t interval;                    ///< game timer after; 16 before
    const char* speedLabel;                   ///< as the dialog showed it when closed
    std::int32_t moveStepAfter;
    bool snappedAndRedrawn;
};

void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }

class GameControl : public ::testing::TestWithParam<ControlCase> {};

TEST_P(GameControl, AppliesWhatWasChangedOnOk)
{
    const ControlCase& c = GetParam();
    MainState state;
    state.MoveStep = c.moveStep;
    state.Game.Gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 3, 5, 0)));
    SpriteType& tank = *state.Game.Gate->Sprites[0];
    tank.OffsetX = 4; // between two cells, reachable with steps of 1, 2 and 4
    tank.Left += 4;
    tank.Right += 4;
    test::SoundRig rig;
    test::RecordingHost host;
    std::int32_t interval = 16;
    QString label;
    WhenShown<TControlForm>([&](TControlForm& f) {
        c.act(f);
        label = f.Label2->text(); // as it was when the dialog closed
    });

    EXPECT_EQ(RunGameControl(nullptr, state, interval, host, rig.Sound), c.applied);
    EXPECT_EQ(label.toStdString(), c.speedLabel);
    EXPECT_EQ(interval, c.interval);
    EXPECT_EQ(state.MoveStep, c.moveStepAfter);
    EXPECT_EQ(tank.OffsetX, c.snappedAndRedrawn ? 0 : 4);
    EXPECT_EQ(tank.Left, c.snappedAndRedrawn ? 3 * 32 : 3 * 32 + 4);
    EXPECT_EQ(host.DrawFieldCount, c.snappedAndRedrawn ? 1 : 0);
    EXPECT_TRUE(rig.Sound.SoundOn);
    EXPECT_TRUE(state.MusicOn);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, GameControl,
    ::testing::Values(
        ControlCase{"OkUntouchedAppliesNothing", 2, Ok, false, 16, "85", 2, false},
        ControlCase{"ScrollBarMovedAndBackThenOkApplies", 2,
                    [](TControlForm& f) { Keys(f.ScrollBar1, {Qt::Key_Right, Qt::Key_Left}); Ok(f); }, true, 16, "85", 2, false},
        ControlCase{"FarLeftIsSlowest", 2, [](TControlForm& f) { Keys(f.ScrollBar1, {Qt::Key_Home}); Ok(f); }, true, 100, "1", 2, false},
        ControlCase{"FarRightIsFastest", 2, [](TControlForm& f) { Keys(f.ScrollBar1, {Qt::Key_End}); Ok(f); }, true, 1, "100", 2, false},
        ControlCase{"CancelAppliesNothing", 2,
                    [](TControlForm& f) { Keys(f.ScrollBar1, {Qt::Key_End}); QTest::mouseClick(f.Button2, Qt::LeftButton); }, false, 16, "100", 2, false},
        ControlCase{"EscapeAppliesNothing", 2,
                    [](TControlForm& f) { Keys(f.ScrollBar1, {Qt::Key_End}); Keys(&f, {Qt::Key_Escape}); }, false, 16, "100", 2, false},
        ControlCase{"LargerStepSnapsAndRedraws", 2,
                    [](TControlForm& f) { QTest::mouseClick(f.RadioButton3, Qt::LeftButton); Ok(f); }, true, 16, "85", 4, true},
        ControlCase{"SmallerStepLeavesSpritesWhereTheyAre", 4,
                    [](TControlForm& f) { QTest::mouseClick(f.RadioButton1, Qt::LeftButton); Ok(f); }, true, 16, "85", 1, false}),
    [](const ::testing::TestParamInfo<ControlCase>& info) { return std::string(info.param.name); });

TEST(GameControl, MusicOffStopsAtOnceAndOnResumesWhereItStoodAtTheNextClockTick)
{
    MainState state;
    test::SoundRig rig;
    test::SoundHost host(rig.Sound);
    std::int32_t interval = 16;
    rig.Sound.StartSound(BRAKKON_BIN_DIR);
    const auto toggleMusic = [](TControlForm& f) {
        QTest::mouseClick(f.CheckBox2, Qt::LeftButton);
        Ok(f);
    };

    WhenShown<TControlForm>([&](TControlForm& f) {
        QTest::mouseClick(f.CheckBox1, Qt::LeftButton); // sound off too: the music does not follow it
        toggleMusic(f);
    });
    ASSERT_TRUE(RunGameControl(nullptr, state, interval, host, rig.Sound));
    EXPECT_FALSE(rig.Sound.SoundOn);
    EXPECT_FALSE(state.MusicOn);
    EXPECT_FALSE(rig.Music->Playing());
    ClockTimerTick(state, host);
    EXPECT_FALSE(rig.Music->Playing()) << "restarted while switched off";

    WhenShown<TControlForm>(toggleMusic);
    ASSERT_TRUE(RunGameControl(nullptr, state, interval, host, rig.Sound));
    EXPECT_TRUE(state.MusicOn);
    EXPECT_FALSE(rig.Music->Playing()) << "the dialog itself does not start the music";
    ClockTimerTick(state, host);
    EXPECT_EQ(rig.Music->Heard, (std::vector<std::string>{"Music.mid from the start", "Music.mid on"}));
}

} // namespace
} // namespace brakkon
