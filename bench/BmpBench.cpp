// Start-up cost of the image library: the game reads about 150 frames of
// 32 x 32 pixels from "Game.dat" before the first tick, within about 5 ms.
#include "game/Bmp.h"
#include "game/GameData.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int FrameCount = 150;

std::vector<std::uint32_t> Tile(std::size_t colours, std::uint32_t seed)
{
    std::vector<std::uint32_t> p(32 * 32);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = 0xFF000000u | (static_cast<std::uint32_t>((i * 13 + seed) % colours) * 0x0F1D37u & 0xFFFFFFu);
    return p;
}

void DecodeFrames(benchmark::State& state)
{
    const auto colours = static_cast<std::size_t>(state.range(0));
    std::vector<std::vector<std::uint8_t>> frames;
    for (int f = 0; f < FrameCount; ++f)
        frames.push_back(brakkon::EncodeBmp(32, 32, Tile(colours, static_cast<std::uint32_t>(f))));
    for (auto _ : state) {
        for (const auto& bytes : frames) {
            brakkon::Bitmap b;
            const auto length = brakkon::MeasureBmp(bytes);
            benchmark::DoNotOptimize(length);
            benchmark::DoNotOptimize(brakkon::DecodeBmp(bytes, b));
            benchmark::DoNotOptimize(b.Pixels.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * FrameCount);
}
// 16 colours (4 bits, as the shipped art), 256 (8 bits), many (24 bits).
BENCHMARK(DecodeFrames)->Arg(16)->Arg(256)->Arg(1024)->Unit(benchmark::kMicrosecond);

void LoadLibrary(benchmark::State& state)
{
    brakkon::GameType game;
    game.Images.resize(14);
    for (int f = 0; f < FrameCount; ++f)
        game.Images[static_cast<std::size_t>(f % 14)].push_back({brakkon::MakeBitmap(32, 32, Tile(16, static_cast<std::uint32_t>(f)), f % 2 == 0)});
    std::vector<std::uint8_t> file;
    if (!brakkon::EncodeGameDataFile(game, file)) state.SkipWithError("encoding failed");
    for (auto _ : state) {
        brakkon::GameType loaded;
        benchmark::DoNotOptimize(static_cast<bool>(brakkon::DecodeGameDataFile(file, &loaded)));
    }
}
BENCHMARK(LoadLibrary)->Unit(benchmark::kMicrosecond);

void EncodeFrames(benchmark::State& state)
{
    const auto pixels = Tile(static_cast<std::size_t>(state.range(0)), 7);
    for (auto _ : state)
        for (int f = 0; f < FrameCount; ++f) benchmark::DoNotOptimize(brakkon::EncodeBmp(32, 32, pixels));
    state.SetItemsProcessed(state.iterations() * FrameCount);
}
BENCHMARK(EncodeFrames)->Arg(16)->Arg(1024)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
