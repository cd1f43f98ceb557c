// Gate start: a stored gate becomes the working gate, with the players'
// tanks and the gate's enemies at their start places and the base protected.
//
// Reads the stored gates of MainState's Game and replaces the contents of the
// working gate; draws the new field through GameHost. It neither starts nor
// stops the timers and leaves the menu alone: its callers (the menu's new-game
// commands, the game tick after a won gate, the editors) do that.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// Shield of a tank in play when a gate starts.
constexpr std::int32_t StartShield = 2;

/// Enemies that gate start places at most in one gate. A quota typed into the
/// gate dialog can be as large as an integer goes; past this many the field
/// would stand still under the work of one tick, or memory would run out.
constexpr std::int32_t MaxEnemiesPlaced = 10000;

/// Starts stored gate `index`. `fresh`: a new game with new totals, player 2
/// taking part when `secondPlayer` is set. Not fresh: a continuation that
/// carries the working gate's totals, and each tank's level and whether it is
/// in play, over. An index outside the stored gates changes nothing.
void StartGate(MainState& state, GameHost& host, std::int32_t index, bool fresh, bool secondPlayer);

} // namespace brakkon
