// The players' hands in the tick and drawing benchmarks: each player turns
// every 64 ticks and fires every 10, so the tanks cover the field and keep
// shells in the air.
#pragma once

#include "game/Command.h"
#include "game/GameFlow.h"
#include "game/Keyboard.h"

#include <cstdint>

namespace brakkon::bench {

inline void PlayersHands(MainState& state, GameHost& host, std::int64_t tick)
{
    constexpr KeyCode ways1[] = {VkUp, VkLeft, VkDown, VkRight};
    constexpr KeyCode ways2[] = {VkLetter('T'), VkLetter('H'), VkLetter('G'), VkLetter('F')};
    if (tick % 64 == 0) {
        ApplyCommand(state, host, Command::Press(ways1[(tick / 64) % 4]));
        ApplyCommand(state, host, Command::Press(ways2[(tick / 64 + 1) % 4]));
    }
    if (tick % 10 == 0) {
        ApplyCommand(state, host, Command::Press(VkSpace));
        ApplyCommand(state, host, Command::Press(VkLetter('A')));
    } else if (tick % 10 == 1) {
        PlayerKeyUp(state, VkSpace);
        PlayerKeyUp(state, VkLetter('A'));
    }
}

} // namespace brakkon::bench
