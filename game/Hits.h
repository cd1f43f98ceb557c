// Hits, lives and gate end: what an enemy shell does to a player's tank, the
// respawn and the loss of a player, the won gate and the step to the next
// one, and the end of the game.
//
// Works on MainState; reaches the window through GameHost (sounds, the
// indicators, the title labels and, through PauseGame, the menu). The movers
// call HitTank; the timers' work (GameFlow.h) calls the rest.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// The title labels' text when a game has ended (two blanks between the words).
inline constexpr std::string_view GameOverTitle = "Game  Over";

/// Shield of a tank that has just respawned.
constexpr std::int32_t RespawnShield = 5;

/// A player's tank (entry 0 or 1) was struck by an enemy shell: unless
/// shielded it loses a level, or at level 0 a reserve tank and starts again
/// at its start cell, or with no reserve it is out. Both players out ends the
/// game.
void HitTank(MainState& state, GameHost& host, SpriteType& tank);

/// The gate is won: the next game tick changes the gate.
void FinishGate(MainState& state);

/// The game has ended. While a game is played the title labels say so and the
/// menu comes up; otherwise only GameOver is set.
void ShowGameOver(MainState& state, GameHost& host);

/// The game tick's step after a won gate: clears NextGatePending, then starts
/// the gate named by NextGate as a continuation with GateNo raised by 1, or
/// ends the game when NextGate names no stored gate.
void StartNextGate(MainState& state, GameHost& host);

} // namespace brakkon
