// One tick of one sprite: players' tanks follow their players' requests,
// shells fly and leave the field, enemy tanks fire and choose their way at
// random. Also the random test, the tank-contact test and shell launching.
//
// Works on MainState (the working gate, the players' requests, MoveStep and
// the random generator). All motion goes through the movers (Movers.h).
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// The chances every enemy tank enters with, in ten-thousandths.
constexpr std::int32_t EnemyReverseChance = 50;
constexpr std::int32_t EnemyTurnChance = 3000;
constexpr std::int32_t EnemyBackChance = 2000;
constexpr std::int32_t EnemyFireChance = 500;

/// True with probability n / 10000, drawn from the game's one generator.
bool Chance(MainState& state, std::int32_t n);

/// True when t touches the front side of s exactly (no overlap, no gap) and
/// the two overlap on the other axis.
[[nodiscard]] bool TouchesAhead(const SpriteType& s, const SpriteType& t);

/// True when an active tank other than s touches s's front side.
[[nodiscard]] bool TankAhead(const GateType& gate, const SpriteType& s);

/// Appends a shell of `kind` (3 player's, 4 enemy's) at tank's front, on the
/// 16-pixel lattice and kept inside the field.
void LaunchShell(MainState& state, const SpriteType& tank, std::uint8_t kind);

/// One tick of sprite s; nothing when it is not in play.
void UpdateSprite(MainState& state, GameHost& host, SpriteType& s);

} // namespace brakkon
