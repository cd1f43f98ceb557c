// What the magnified window costs: one game tick of a two-player game with
// its cells on the screen (at scales 2 to 4 rendered, magnified and painted
// in the tick), at scales 1 to 4, and a frame alone while nothing moves (the
// menu over a paused game: the magnifier only looks for changed labels). The real
// main window on the offscreen platform with the shipped data.
#include "bench/GuiBenchMain.h"
#include "platform/Magnifier.h"
#include "shell/MainUnit.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

namespace brakkon {
namespace {

void Key(QWidget& window, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

/// A two-player game, the tanks shielded and driving up.
void NewGame(MainForm& window)
{
    Key(window, Qt::Key_2);
    for (std::size_t p = 0; p < 2; ++p) window.State().Game.Gate->Sprites[p]->Shield = 1 << 30;
    Key(window, Qt::Key_Up);
    Key(window, Qt::Key_T);
}

/// A shown main window at `scale` in a new game.
std::unique_ptr<MainForm> Window(int scale)
{
    auto window = std::make_unique<MainForm>(QStringLiteral(BRAKKON_BIN_DIR));
    window->show();
    QCoreApplication::processEvents();
    window->ChangeView(scale, false);
    NewGame(*window);
    return window;
}

void BM_TickAndFrame(benchmark::State& bench)
{
    const auto window = Window(static_cast<int>(bench.range(0)));
    for (auto _ : bench) {
        window->Timer1Timer();
        if (window->State().GameOver) {
            bench.PauseTiming();
            NewGame(*window);
            bench.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TickAndFrame)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond);

void BM_StillFrame(benchmark::State& bench)
{
    const auto window = Window(static_cast<int>(bench.range(0)));
    Key(*window, Qt::Key_Escape);
    auto* magnifier = window->findChild<Magnifier*>();
    for (auto _ : bench) magnifier->Show({});
}
BENCHMARK(BM_StillFrame)->DenseRange(2, 4)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

int main(int argc, char** argv) { return brakkon::bench::RunWindowBenchmarks(argc, argv); }
