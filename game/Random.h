// The game's one random generator: a 32-bit linear congruential sequence that
// starts at 0 and is advanced by the tick count once at start-up. Every random
// decision of the game (enemy entry corners, firing, turning) draws from it,
// so a run is reproducible from the number of start-up advances.
#pragma once

#include <cstdint>

namespace brakkon {

/// The generator's state and its three kinds of draw. Owned by MainState.
struct Random {
    std::uint32_t Seed = 0; ///< the whole state; 0 before the first draw

    /// One draw: seed := seed x 134775813 + 1 (modulo 2^32); returns the new seed.
    std::uint32_t Advance()
    {
        Seed = Seed * 134775813u + 1u;
        return Seed;
    }

    /// Advances the generator `count` times, discarding the values.
    void Skip(std::uint64_t count)
    {
        for (std::uint64_t i = 0; i < count; ++i) Advance();
    }

    /// A real in [0, 1): the new seed divided by 2^32.
    double Real() { return static_cast<double>(Advance()) / 4294967296.0; }

    /// A whole number below k: the upper 32 bits of the 64-bit product seed x k.
    std::uint32_t Below(std::uint32_t k)
    {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Advance()) * k) >> 32);
    }

    /// True with probability n / 10000: a real draw below n / 10000. Every
    /// call draws, also for n of 0 or 10000. Compared in integers, which gives
    /// the same answer as the real comparison (n / 10000 is exact in binary
    /// wherever the two could meet).
    bool Chance(std::int32_t n)
    {
        const std::uint64_t drawn = Advance();
        if (n <= 0) return false;
        if (n >= 10000) return true;
        return drawn * 10000u < static_cast<std::uint64_t>(n) << 32;
    }
};

} // namespace brakkon
