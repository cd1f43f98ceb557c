// Start-up, the same for the window and for a game without one: the
// generator seeded, the data file and the scene behind the menu loaded, the
// movement step set, the menu shown. Where the files come from is the
// caller's (the window's fallback to the installed data file, brakkon-sim's
// --data); the steps are here once.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

#include <cstdint>
#include <functional>

namespace brakkon {

struct StartUpPlan {
    /// Times the generator is advanced: the window's clock milliseconds
    /// modulo 65536 plus one, brakkon-sim's --seed plus one.
    std::uint64_t Advance = 1;
    std::int32_t MoveStep = DefaultMoveStep;
    /// Loads "Game.dat" into the game; false when no data file could be loaded.
    std::function<bool(GameType&)> LoadData;
    /// Loads the scene behind the menu into the working gate; none when empty.
    std::function<bool(GateType&)> LoadScene;
};

/// Seeds, loads the data and the scene (drawn when loaded), sets the step and
/// shows the menu, in that order; the timers are the caller's. Returns
/// whether the data file was loaded (the rest is done either way, as the
/// window goes on with an empty game).
bool StartUp(MainState& state, GameHost& host, const StartUpPlan& plan);

} // namespace brakkon
