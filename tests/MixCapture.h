// What the mixer mixed, read by its post-mix hook in the mixer's thread:
// the tests of the real SDL2_mixer wait on it to know that something sounds.
#pragma once

#include <SDL_stdinc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

namespace brakkon::test {

/// Peak magnitude of the mix since the last reset, and the buffers mixed.
inline std::atomic<int> MixedPeak{0};
inline std::atomic<int> MixedBuffers{0};

/// The post-mix hook (Mix_SetPostMix) that feeds them.
inline void CaptureMix(void*, Uint8* stream, int len)
{
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int peak = MixedPeak.load();
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    MixedPeak.store(peak);
    ++MixedBuffers;
}

/// Peak of a mix that sounds, of 32767.
constexpr int Audible = 1000;

/// Waits until `done` holds; the deadline only a hung mixer misses.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::steady_clock::duration deadline = std::chrono::seconds(20))
{
    for (const auto end = std::chrono::steady_clock::now() + deadline; !done();) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

/// True once the mix sounds, from now on.
inline bool SoundsSoon()
{
    MixedPeak = 0;
    return WaitFor([] { return MixedPeak.load() > Audible; });
}

} // namespace brakkon::test
