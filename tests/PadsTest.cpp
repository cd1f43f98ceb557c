// Game pads driving the main window: through a source the test fills (both
// players, the stick's dead zone, plugging in and pulling out mid-move, Start
// and the menu, a modal dialog) and through SDL's own virtual joystick.
#include "shell/ControlUnit.h"
#include "shell/MainPads.h"
#include "shell/PadPlayers.h"
#include "tests/DialogSupport.h"
#include "tests/GuiSupport.h"
#include "tests/VirtualPad.h"

#include <QPushButton>

#include <SDL.h>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::WindowFixture;

/// The pad events the test queues, read at the window's next poll.
struct QueuedPads final : PadSource {
    explicit QueuedPads(std::vector<PadEvent>& queue) : queue(queue) {}
    void Poll(std::vector<PadEvent>& events) override
    {
        events.insert(events.end(), queue.begin(), queue.end());
        queue.clear();
    }
    std::vector<PadEvent>& queue;
};

PadEvent Added(int pad) { return {PadEvent::Kind::Added, pad}; }
PadEvent Removed(int pad) { return {PadEvent::Kind::Removed, pad}; }
PadEvent Button(int pad, PadButton button, bool down) { return {PadEvent::Kind::Button, pad, button, down}; }
PadEvent Axis(int pad, PadAxis axis, int value)
{
    return {PadEvent::Kind::Axis, pad, PadButton::Other, false, axis, static_cast<std::int16_t>(value)};
}

/// A shown window whose pads are the test's queue.
struct PadWindow {
    PadWindow()
        : w({"Game.dat", "Game", "Star.bmp", "Life.bmp"},
            [this](MainSeams& seams) { seams.OpenPads = [this] { return std::make_unique<QueuedPads>(queue); }; })
    {
        w.Show();
    }
    void Pads(std::initializer_list<PadEvent> events)
    {
        queue.insert(queue.end(), events);
        w.form->PollPads();
    }
    void Tap(int pad, PadButton button) { Pads({Button(pad, button, true), Button(pad, button, false)}); }

    std::vector<PadEvent> queue;
    WindowFixture w;
};

long PlayerShells(const GateType& gate)
{
    return std::count_if(gate.Sprites.begin(), gate.Sprites.end(), [](const auto& s) { return s->Kind == KindPlayerShell; });
}

TEST(GamePads, TwoPadsChooseFromTheMenuAndDriveTheirOwnPlayers)
{
    PadWindow p;
    p.Pads({Added(10), Added(20)});
    p.Tap(20, PadButton::DpadDown); // either pad moves through the menu
    p.Tap(10, PadButton::DpadDown);
    EXPECT_TRUE(p.w.form->MenuItemHighlighted(2));
    p.Tap(10, PadButton::South);
    ASSERT_TRUE(p.w.State().Playing); // "2. New Game Two Players"
    ASSERT_TRUE(p.w.Gate().Sprites[1]->Active);

    p.Pads({Button(10, PadButton::DpadRight, true)});
    EXPECT_EQ(p.w.State().Player1.MoveKey, VkRight);
    EXPECT_EQ(p.w.State().Player2.MoveKey, 0);

    // Pad 20's stick, one position after another: what player 2 holds.
    struct Stick {
        int x, y;
        KeyCode held;
    };
    const Stick sticks[] = {
        {StickDeadZone, 0, 0},                  // inside the dead zone
        {StickDeadZone + 1, 0, VkLetter('H')},  // just beyond it
        {20000, -5000, VkLetter('H')},          // a little up is still right
        {0, -32768, VkLetter('T')},
        {-StickDeadZone, -StickDeadZone, 0},    // back inside on both axes
        {-32768, 0, VkLetter('F')},
        {0, 32767, VkLetter('G')},
        {0, 0, 0},
    };
    for (const Stick& s : sticks) {
        p.Pads({Axis(20, PadAxis::LeftX, s.x), Axis(20, PadAxis::LeftY, s.y)});
        EXPECT_EQ(p.w.State().Player2.MoveKey, s.held) << "stick at " << s.x << ", " << s.y;
    }
    EXPECT_EQ(p.w.State().Player1.MoveKey, VkRight); // player 1 held on throughout

    // South and east both fire, one shell a press.
    const long before = PlayerShells(p.w.Gate());
    p.Pads({Button(10, PadButton::DpadRight, false), Button(10, PadButton::East, true)});
    EXPECT_TRUE(p.w.State().Player1.FireHeld);
    EXPECT_EQ(PlayerShells(p.w.Gate()), before + 1);
    p.Pads({Button(10, PadButton::East, false)});
    EXPECT_FALSE(p.w.State().Player1.FireHeld);
    p.Pads({Button(20, PadButton::South, true)});
    EXPECT_TRUE(p.w.State().Player2.FireHeld);
}

TEST(GamePads, APadPluggedInDuringPlayJoinsAndOnePulledOutLetsGo)
{
    PadWindow p;
    p.w.Click(Qt::Key_2);
    ASSERT_TRUE(p.w.State().Playing);
    p.Pads({Added(7), Button(7, PadButton::DpadLeft, true)});
    EXPECT_EQ(p.w.State().Player1.MoveKey, VkLeft);
    p.Pads({Added(8), Axis(8, PadAxis::LeftY, -30000)});
    EXPECT_EQ(p.w.State().Player2.MoveKey, VkLetter('T'));

    p.Pads({Removed(7)}); // mid-move
    EXPECT_EQ(p.w.State().Player1.MoveKey, 0);
    EXPECT_TRUE(p.w.State().Player1.MoveIdle);
    EXPECT_EQ(p.w.State().Player2.MoveKey, VkLetter('T')); // the other pad plays on

    // The next pad takes the free player; one more finds none.
    p.Pads({Added(9), Added(11), Button(11, PadButton::DpadDown, true)});
    EXPECT_EQ(p.w.State().Player1.MoveKey, 0);
    p.Pads({Button(9, PadButton::DpadDown, true)});
    EXPECT_EQ(p.w.State().Player1.MoveKey, VkDown);
}

TEST(GamePads, StartOpensTheMenuAndAKeyHeldAcrossItIsReleased)
{
    PadWindow p;
    p.Pads({Added(1)});
    p.w.Click(Qt::Key_1);
    p.Pads({Button(1, PadButton::South, true)}); // fire held while the menu opens
    p.Tap(1, PadButton::Start);
    ASSERT_FALSE(p.w.State().Playing);
    EXPECT_TRUE(p.w.form->MenuItemShown(7));
    p.Pads({Button(1, PadButton::South, false)});
    EXPECT_FALSE(p.w.State().Player1.FireHeld); // the space bar it pressed is let go

    p.Tap(1, PadButton::DpadUp);
    p.Tap(1, PadButton::DpadUp); // from the first item round to "7. Return"
    EXPECT_TRUE(p.w.form->MenuItemHighlighted(7));
    p.Tap(1, PadButton::South);
    EXPECT_TRUE(p.w.State().Playing);
    p.Tap(1, PadButton::Start);
    EXPECT_FALSE(p.w.State().Playing);
}

TEST(GamePads, AnotherWindowHoldsThePadsAsItHoldsTheKeys)
{
    PadWindow p;
    p.Pads({Added(1)});
    p.w.Click(Qt::Key_1);
    p.Tap(1, PadButton::Start); // paused, the menu up
    bool playedBehindTheDialog = true;
    test::WhenShown<TControlForm>([&](TControlForm& f) {
        p.Tap(1, PadButton::Start);
        playedBehindTheDialog = p.w.State().Playing;
        QTest::mouseClick(f.Button1, Qt::LeftButton);
    });
    p.w.Click(Qt::Key_5); // "5. Game Control"
    EXPECT_FALSE(playedBehindTheDialog);
    QApplication::setActiveWindow(p.w.form.get()); // as the window system gives it back
    p.Tap(1, PadButton::Start); // with the dialog gone Start plays on
    EXPECT_TRUE(p.w.State().Playing);

    QWidget other; // say, the Game Editor
    other.show();
    QApplication::setActiveWindow(&other);
    p.Tap(1, PadButton::Start);
    EXPECT_TRUE(p.w.State().Playing);
    QApplication::setActiveWindow(p.w.form.get());
    p.Tap(1, PadButton::Start);
    EXPECT_FALSE(p.w.State().Playing);
}

/// SDL's virtual joystick as a pad of the standard layout, seen through the
/// window's real SDL pads: no video subsystem, no display needed.
/// The test's queue, counting the polls that read it.
struct CountedPads final : PadSource {
    explicit CountedPads(std::vector<PadEvent>& queue, int& polls) : queued(queue), polls(polls) {}
    void Poll(std::vector<PadEvent>& events) override
    {
        ++polls;
        queued.Poll(events);
    }
    QueuedPads queued;
    int& polls;
};

// The frames read the pads every frame while one is plugged in; with none,
// every fourth frame: a pad plugged in is heard within four frames.
TEST(GamePads, FramesReadThePadsEveryFrameOnlyWhileOneIsPluggedIn)
{
    std::vector<PadEvent> queue;
    int polls = 0;
    WindowFixture w({"Game.dat", "Game"}, [&](MainSeams& seams) {
        seams.OpenPads = [&] { return std::make_unique<CountedPads>(queue, polls); };
    });
    w.Show();
    const auto frames = [&](int count) {
        const int before = polls;
        for (int i = 0; i < count; ++i) w.form->Frame();
        return polls - before;
    };
    EXPECT_EQ(frames(4 * MainPads::IdleFrames), 4) << "no pad";
    queue = {Added(0)};
    EXPECT_EQ(frames(MainPads::IdleFrames), 1) << "plugged in, heard within four frames";
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(frames(12), 12) << "a pad plugged in";
    queue = {Added(1), Removed(0)};
    EXPECT_EQ(frames(12), 12) << "another in, the first out: one left";
    queue = {Removed(1)};
    frames(1);
    EXPECT_EQ(frames(4 * MainPads::IdleFrames), 4) << "all pulled out";
}

TEST(GamePads, SdlVirtualPadDrivesATank)
{
    WindowFixture w({"Game.dat", "Game", "Star.bmp", "Life.bmp"}, [](MainSeams& seams) { seams.OpenPads = OpenSdlPads; });
    w.Show();
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) GTEST_SKIP() << "SDL's game controllers did not start: " << SDL_GetError();
    test::VirtualPad pad;
    ASSERT_GE(pad.index, 0) << SDL_GetError();
    ASSERT_NE(pad.stick, nullptr) << SDL_GetError();
    SDL_Joystick* stick = pad.stick;

    w.Click(Qt::Key_1);
    w.form->PollPads(); // the pad is added
    const SpriteType& tank = *w.Gate().Sprites[0];
    const std::int32_t top = tank.Top;
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
    w.form->PollPads();
    EXPECT_EQ(w.State().Player1.MoveKey, VkUp);
    for (int tick = 0; tick < 8; ++tick) w.form->Timer1Timer();
    EXPECT_EQ(tank.Direction, DirUp);
    EXPECT_LT(tank.Top, top); // the base's tank has room to drive up
    SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, 0);
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_A, 1);
    w.form->PollPads();
    EXPECT_EQ(w.State().Player1.MoveKey, 0);
    EXPECT_TRUE(w.State().Player1.FireHeld);

    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    w.form->PollPads();
    EXPECT_EQ(w.State().Player1.MoveKey, VkLeft);
    pad.Detach();
    w.form->PollPads(); // pulled out mid-move
    EXPECT_EQ(w.State().Player1.MoveKey, 0);
    EXPECT_FALSE(w.State().Player1.FireHeld);
}

} // namespace
} // namespace brakkon
