// The players' side of the keyboard: the pause keys, movement requests with
// the immediate turn, fire, key release and the release of every movement key
// when the window loses the focus.
//
// A key press reaches the game as a command (game/Command.h), which maps the
// key (NormaliseKey) and calls PauseKey and PlayerKeyDown with it; a release
// calls PlayerKeyUp. All of it reads and writes MainState's Player1, Player2
// and the working gate's first two entries; shells go through LaunchShell.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// Ctrl is taken as the space bar (player 1's fire), Shift as "A" (player 2's).
[[nodiscard]] KeyCode NormaliseKey(KeyCode key);

/// F1 and Escape: pause a game being played, return to a paused one; nothing
/// before the first game or after its end.
void PauseKey(MainState& state, GameHost& host, KeyCode key);

/// While a game is played: a movement key of either player records that
/// player's request and turns the tank at once where it may turn; a fire key
/// launches one shell per press from a tank in play.
void PlayerKeyDown(MainState& state, GameHost& host, KeyCode key);

/// The release of a key: ends a movement request or a held fire key (at most
/// one of the four). Maps Ctrl and Shift itself.
void PlayerKeyUp(MainState& state, KeyCode key);

/// The window lost the focus: both players let go of their movement keys.
void ReleaseMovementKeys(MainState& state);

} // namespace brakkon
