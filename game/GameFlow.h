// The flow of a game and the work of the two timers.
//
// The game is Waiting (before the first game and after "Game  Over": timers
// running behind the menu), Playing, or Paused (timers stopped, menu shown);
// PauseGame and ResumeGame are the only switches between them. The window's
// game timer handler calls GameTick, draws what changed, restarts its timer
// and then calls CheckBase; its clock timer handler calls ClockTick and then
// looks after the music. The focus loss of the window is ReleaseMovementKeys
// (Keyboard.h).
#pragma once

#include "GameHost.h"
#include "MainState.h"

namespace brakkon {

/// Stops the timers when a game is in progress, shows the menu, and clears
/// Playing. Before the first game and after the end, the field runs on.
void PauseGame(MainState& state, GameHost& host);

/// Hides the menu, starts the timers, and marks a game as under way.
void ResumeGame(MainState& state, GameHost& host);

/// What a game tick did.
enum class TickOutcome {
    Updated,     ///< the sprites moved: the changes are to be drawn
    GateChanged, ///< the tick only changed the gate (or ended the game): nothing to draw
};

/// The game tick's work before drawing, in this order:
///   - a won gate makes this tick change the gate, and nothing else;
///   - every sprite in play is updated once, in list order (the count is
///     taken first, so shells fired now first fly in the next tick);
///   - spent shells leave the list.
TickOutcome GameTick(MainState& state, GameHost& host);

/// Updates each sprite in play of the list as it stands at the start.
void UpdateSprites(MainState& state, GameHost& host);

/// Frees every shell that is out of play, scanning from the end. Tanks stay
/// in the list, in play or not; nobody is renumbered.
void RemoveSpentShells(GateType& gate);

/// The game tick's last step: while a game is played, a broken base ends it.
void CheckBase(MainState& state, GameHost& host);

/// The clock tick's work: play time, the players' shields, the time label,
/// and the test for a won gate.
void ClockTick(MainState& state, GameHost& host);

/// True when no sprite after the two players is in play and there is one.
[[nodiscard]] bool GateCleared(const GateType& gate);

/// Puts every sprite of the working gate back on the origin of its cell.
void SnapSpritesToCells(GameType& game);

/// Sets a new movement step. A larger step snaps every sprite to its cell
/// (an offset that is not a multiple of the step would never come back to 0)
/// and redraws the field.
void ApplyMoveStep(MainState& state, GameHost& host, std::int32_t moveStep);

} // namespace brakkon
