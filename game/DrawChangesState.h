// The part of the per-tick drawing that changes game state: the blink of
// shielded players' tanks and the clearing of the dirty marks.
//
// Shared by the renderer (view/), which paints between BeginDrawChanges and
// EndDrawChanges, and by the simulator and the tests, which paint nothing and
// call DrawChangesState. The blink is not only a picture: it re-checks the
// blinking tank where it stands (MoveX and MoveY by 0, which may take a bonus
// under it) and lends its Active flag to the blink for the length of the
// drawing, so a run without a window must do the same to stay the same game.
#pragma once

#include "GameHost.h"
#include "MainState.h"

#include <array>

namespace brakkon {

/// The players' tanks that blink in this drawing, player 1 first.
struct BlinkingTanks {
    std::array<SpriteType*, 2> Tanks{}; ///< null where that tank does not blink
};

/// Steps 1 and 2 of the drawing: flips BlinkPhase; each player's tank in play
/// with a shield is re-checked where it stands and shown only in every second
/// drawing (its Active follows BlinkPhase until EndDrawChanges).
[[nodiscard]] BlinkingTanks BeginDrawChanges(MainState& state, GameHost& host);

/// The last step: the blinking tanks are in play again and marked Dirty.
void EndDrawChanges(const BlinkingTanks& blinking);

/// What the three drawing passes leave behind without painting: every sprite
/// and every cell is clean.
void ClearDirtyMarks(GateType& gate);

/// The whole drawing step without pixels: Begin, clear, End.
void DrawChangesState(MainState& state, GameHost& host);

} // namespace brakkon
