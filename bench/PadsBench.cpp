// What the game pads cost the main window: one poll of SDL's game
// controllers with no pad, with an idle pad and with a pad whose stick moves
// every poll (a key press or release each time), beside one game tick of a
// two-player game for scale. The pads are polled once per game tick's time.
// The real main window on the offscreen platform with the shipped data;
// the pad is SDL's virtual joystick.
#include "bench/GuiBenchMain.h"
#include "shell/MainUnit.h"
#include "tests/VirtualPad.h"

#include <QApplication>
#include <QKeyEvent>

#include <SDL.h>

#include <benchmark/benchmark.h>

namespace brakkon {
namespace {

/// A shown main window with SDL's pads, in a two-player game.
struct PadWindow {
    PadWindow()
    {
        MainSeams seams;
        seams.OpenPads = OpenSdlPads;
        window = std::make_unique<MainForm>(QStringLiteral(BRAKKON_BIN_DIR), seams);
        window->show();
        QApplication::setActiveWindow(window.get()); // the pads are heard by the active window
        QCoreApplication::processEvents();
        NewGame();
    }
    /// Two players, shielded; the base still falls now and then.
    void NewGame()
    {
        QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &two);
        for (std::size_t p = 0; p < 2; ++p) window->State().Game.Gate->Sprites[p]->Shield = 1 << 30;
    }
    std::unique_ptr<MainForm> window;
};

void BM_PollNoPad(benchmark::State& bench)
{
    PadWindow w;
    for (auto _ : bench) w.window->PollPads();
}
BENCHMARK(BM_PollNoPad)->Unit(benchmark::kMicrosecond);

void BM_PollIdlePad(benchmark::State& bench)
{
    PadWindow w;
    test::VirtualPad pad;
    if (pad.stick == nullptr) {
        bench.SkipWithError(SDL_GetError());
        return;
    }
    w.window->PollPads(); // the pad joins
    for (auto _ : bench) w.window->PollPads();
}
BENCHMARK(BM_PollIdlePad)->Unit(benchmark::kMicrosecond);

void BM_PollMovingStick(benchmark::State& bench)
{
    PadWindow w;
    test::VirtualPad pad;
    if (pad.stick == nullptr) {
        bench.SkipWithError(SDL_GetError());
        return;
    }
    w.window->PollPads();
    bool up = false;
    for (auto _ : bench) {
        up = !up; // up and back to the middle: a press, then a release
        SDL_JoystickSetVirtualAxis(pad.stick, SDL_CONTROLLER_AXIS_LEFTY, up ? -32768 : 0);
        w.window->PollPads();
    }
    if (w.window->State().Player1.MoveKey != (up ? VkUp : 0)) bench.SkipWithError("the stick's last move did not arrive");
}
BENCHMARK(BM_PollMovingStick)->Unit(benchmark::kMicrosecond);

void BM_GameTick(benchmark::State& bench)
{
    PadWindow w;
    for (auto _ : bench) {
        w.window->Timer1Timer();
        if (w.window->State().GameOver) {
            bench.PauseTiming();
            w.NewGame();
            bench.ResumeTiming();
        }
    }
}
BENCHMARK(BM_GameTick)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

int main(int argc, char** argv) { return brakkon::bench::RunWindowBenchmarks(argc, argv); }
