// What a sound effect costs the tick that asks for it: the game's sound over
// SDL2_mixer on SDL's dummy audio driver (it mixes in real time without a
// device), with the shipped WAV files, the music silent.
//
//   BM_ChangingEffect  an effect other than the one last started: a chime
//                      after a shot, a shot after a chime
//   BM_SameEffect      the effect last started again: a shot restarting a shot
#include "view/Sound.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace brakkon {
namespace {

struct Rig {
    std::unique_ptr<GameSound> sound = MakeGameSound();

    Rig() { sound->StartSound(BRAKKON_BIN_DIR, false); }
};

void BM_ChangingEffect(benchmark::State& bench)
{
    Rig rig;
    SoundEffect next = SoundEffect::Gun;
    for (auto _ : bench) {
        // Nothing of higher priority sounds: the effect is always started.
        rig.sound->CurrentSound = NoSoundYet;
        rig.sound->PlayEffect(next);
        next = next == SoundEffect::Gun ? SoundEffect::Bonus : SoundEffect::Gun;
    }
}
BENCHMARK(BM_ChangingEffect)->Unit(benchmark::kMicrosecond);

void BM_SameEffect(benchmark::State& bench)
{
    Rig rig;
    for (auto _ : bench) rig.sound->PlayEffect(SoundEffect::Gun);
}
BENCHMARK(BM_SameEffect)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

int main(int argc, char** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
