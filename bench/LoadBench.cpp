// Loading the shipped "Game.dat" as the main window does when it is first
// shown: the file read, every gate and every frame of the library decoded.
// The window should appear without a visible pause: well under 5 ms.
#include "game/GameData.h"

#include <benchmark/benchmark.h>

namespace {

void LoadShippedGameData(benchmark::State& state)
{
    for (auto _ : state) {
        brakkon::GameType game;
        const brakkon::IoResult result = brakkon::LoadGameData(BRAKKON_GAME_DAT, game);
        if (!result) {
            state.SkipWithError("cannot load the built Game.dat");
            break;
        }
        benchmark::DoNotOptimize(game.Images.data());
    }
}
BENCHMARK(LoadShippedGameData)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
