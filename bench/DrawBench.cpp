// The cost of drawing the field with the shipped pictures: the per-tick
// drawing of a typical tick of play against a full redraw.
//
//   BM_DrawChanges  DrawChanges after a tick of two players driving and
//                   firing on the shipped gate 0 (only the drawing is timed;
//                   the tick's moves before it are not)
//   BM_DrawField    the whole field in its three layers
//
// The target is DrawChanges at most a tenth of DrawField. Both are timed in
// the thread's CPU time, so that other work on a shared machine does not
// count.
#include "bench/CanvasHost.h"
#include "game/DrawChanges.h"
#include "view/FieldCanvas.h"
#include "game/GameData.h"
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/Keyboard.h"
#include "bench/PlayersHands.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace brakkon {
namespace {

/// Two players on gate 0 of the shipped data, started again when the game
/// ends. Their start shields are taken off: a blinking tank is redrawn every
/// tick, which a few seconds of a gate do but not the rest of it.
struct Match {
    MainState state;
    FieldCanvas canvas{state.Game};
    bench::CanvasHost host{canvas};
    std::int64_t tick = 0;

    Match()
    {
        if (!LoadGameData(BRAKKON_GAME_DAT, state.Game)) throw std::runtime_error("cannot read " BRAKKON_GAME_DAT);
        canvas.LibraryChanged();
        Restart();
    }

    void Restart()
    {
        StartGate(state, host, 0, true, true);
        ResumeGame(state, host);
        for (std::size_t p = 0; p < 2; ++p) state.Game.Gate->Sprites[p]->Shield = 0;
    }

    /// A tick up to its drawing.
    void Moves()
    {
        if (state.GameOver || tick % 4096 == 0) Restart(); // lost, or walls worn away
        bench::PlayersHands(state, host, tick);
        UpdateSprites(state, host);
        RemoveSpentShells(*state.Game.Gate);
        ++tick;
    }
};

/// The thread's CPU time: what a wall clock would add while the machine runs
/// other work is left out.
std::chrono::duration<double> ThreadCpu()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::duration<double>(static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9);
}

void BM_DrawChanges(benchmark::State& bench)
{
    Match match;
    for (int i = 0; i < 600; ++i) {
        match.Moves();
        DrawChanges(match.state, match.host);
    }
    std::int64_t cells = 0, sprites = 0, ticks = 0;
    for (auto _ : bench) {
        match.Moves();
        // The marks counted before, untimed (no tank blinks: the shields are off).
        const GateType& gate = *match.state.Game.Gate;
        for (const auto& column : gate.Cells)
            for (const auto& cell : column) cells += cell->Dirty;
        for (const auto& sprite : gate.Sprites) sprites += sprite->Dirty;
        const auto start = ThreadCpu();
        DrawChanges(match.state, match.host);
        bench.SetIterationTime((ThreadCpu() - start).count());
        ++ticks;
        benchmark::DoNotOptimize(match.canvas.TakeChangedRegion());
    }
    bench.counters["cells"] = static_cast<double>(cells) / static_cast<double>(ticks);
    bench.counters["sprites"] = static_cast<double>(sprites) / static_cast<double>(ticks);
}
BENCHMARK(BM_DrawChanges)->UseManualTime();

void BM_DrawField(benchmark::State& bench)
{
    Match match;
    for (int i = 0; i < 600; ++i) match.Moves();
    for (auto _ : bench) {
        const auto start = ThreadCpu();
        match.canvas.DrawField(match.state.Game.Gate.get());
        benchmark::DoNotOptimize(match.canvas.Image().constBits());
        bench.SetIterationTime((ThreadCpu() - start).count());
    }
}
BENCHMARK(BM_DrawField)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

BENCHMARK_MAIN();
