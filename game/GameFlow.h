// The flow of a game and the work of the two timers.
//
// The game is Waiting (before the first game and after "Game  Over": timers
// running behind the menu), Playing, or Paused (timers stopped, menu shown);
// PauseGame and ResumeGame are the only switches between them. GameTimerTick
// and ClockTimerTick are the whole work of the game timer and the clock
// timer: the window's timer handlers, the simulator and the benchmarks call
// them and nothing else.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// Stops the timers when a game is in progress, shows the menu, and clears
/// Playing. Before the first game and after the end, the field runs on.
void PauseGame(MainState& state, GameHost& host);

/// Hides the menu, starts the timers, and marks a game as under way.
void ResumeGame(MainState& state, GameHost& host);

/// One tick of the game timer, whole: a won gate makes the tick change the
/// gate and do nothing else; otherwise every sprite in play moves once, spent
/// shells leave, what changed is drawn and shown, and a broken base ends the
/// game. It never switches a timer: the caller keeps the game timer off while
/// the tick works (a game that ends in it leaves the timers running, the
/// field going on behind the menu).
void GameTimerTick(MainState& state, GameHost& host);

/// One tick of the clock timer, whole: play time, the players' shields, the
/// time label, the test for a won gate, and the music started again when it
/// has stopped.
void ClockTimerTick(MainState& state, GameHost& host);

/// Updates each sprite in play of the list as it stands at the start.
void UpdateSprites(MainState& state, GameHost& host);

/// Frees every shell that is out of play, scanning from the end. Tanks stay
/// in the list, in play or not; nobody is renumbered.
void RemoveSpentShells(GateType& gate);

/// While a game is played, a broken base ends it.
void CheckBase(MainState& state, GameHost& host);

/// True when no sprite after the two players is in play and there is one.
[[nodiscard]] bool GateCleared(const GateType& gate);

/// Puts every sprite of the working gate back on the origin of its cell.
void SnapSpritesToCells(GameType& game);

/// Sets a new movement step. A larger step snaps every sprite to its cell
/// (an offset that is not a multiple of the step would never come back to 0)
/// and redraws the field.
void ApplyMoveStep(MainState& state, GameHost& host, std::int32_t moveStep);

} // namespace brakkon
