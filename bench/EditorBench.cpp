// What the Game Editor's commands cost between two game ticks, with the
// shipped data:
//
//   BM_FieldEdit      a tile dropped or a cell cleared: the stored gate shown
//                     again (gate start and the whole field drawn)
//   BM_FramesChanged  "Add", "ChangeImage", "Tra", "not tra": every frame of
//                     the library converted again and the field redrawn
//
// Both run on the GUI thread between ticks; the target is well under one
// tick (16 ms), so the scene behind the editor never stutters.
#include "bench/CanvasHost.h"
#include "view/FieldCanvas.h"
#include "game/GameData.h"
#include "game/GateStart.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace brakkon {
namespace {

struct Shipped {
    MainState state;
    FieldCanvas canvas{state.Game};
    bench::CanvasHost host{canvas};

    Shipped()
    {
        if (!LoadGameData(BRAKKON_GAME_DAT, state.Game)) throw std::runtime_error("cannot read " BRAKKON_GAME_DAT);
        canvas.LibraryChanged();
        StartGate(state, host, 0, true, true);
    }
};

void BM_FieldEdit(benchmark::State& bench)
{
    Shipped game;
    for (auto _ : bench) {
        StartGate(game.state, game.host, 0, true, true);
        benchmark::DoNotOptimize(game.canvas.TakeChangedRegion());
    }
}
BENCHMARK(BM_FieldEdit)->Unit(benchmark::kMicrosecond);

void BM_FramesChanged(benchmark::State& bench)
{
    Shipped game;
    std::int64_t frames = 0;
    for (const ImageGroup& group : game.state.Game.Images)
        for (const ImageFrames& image : group) frames += static_cast<std::int64_t>(image.size());
    for (auto _ : bench) {
        game.canvas.LibraryChanged();
        game.canvas.DrawField(game.state.Game.Gate.get());
        benchmark::DoNotOptimize(game.canvas.TakeChangedRegion());
    }
    bench.counters["frames"] = static_cast<double>(frames);
}
BENCHMARK(BM_FramesChanged)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

BENCHMARK_MAIN();
