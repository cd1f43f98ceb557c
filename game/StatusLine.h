// What the status line shows: the gate number, the play time, and for each
// player the level stars and the reserve tanks. The window's ShowGateNo,
// ShowPlayTime and ShowIndicators put these on its labels and images.
#pragma once

#include "game/Records.h"

#include <array>
#include <optional>
#include <string>

namespace brakkon {

/// "[" + GateNo + "]": gate 1 shows as "[1]".
[[nodiscard]] std::string GateNoText(std::int32_t gateNo);

/// Hours, minutes and seconds, each at least two digits: 65 seconds show as
/// "00:01:05", 100 hours as "100:00:00".
[[nodiscard]] std::string PlayTimeText(std::int32_t playTime);

/// One player's three stars and three reserve tanks, first (nearest the gap
/// between the two) to third: shown, hidden, or left as they are.
struct PlayerIndicators {
    std::array<std::optional<bool>, 3> Stars;
    std::array<std::optional<bool>, 3> Flowers;
};

/// The indicators of a player from its tank (null when the gate has none)
/// and its reserve. A tank out of play hides all six; a level or a reserve
/// outside the shown range leaves those images as they are.
[[nodiscard]] PlayerIndicators IndicatorsFor(const SpriteType* tank, std::int32_t lives);

} // namespace brakkon
