// The per-tick drawing: the blink of shielded players' tanks, the painting
// of what is marked Dirty (through GameHost::PaintChanges), and the clearing
// of the marks.
//
// The blink is not only a picture: it re-checks the blinking tank where it
// stands (MoveX and MoveY by 0, which may take a bonus under it) and lends its
// Active flag to the blink for the length of the drawing, so a game without a
// window draws through this same function and stays the same game.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

#include <array>

namespace brakkon {

/// The players' tanks that blink in this drawing, player 1 first.
struct BlinkingTanks {
    std::array<SpriteType*, 2> Tanks{}; ///< null where that tank does not blink
};

/// Flips BlinkPhase; each player's tank in play with a shield is re-checked
/// where it stands and shown only in every second drawing (its Active follows
/// BlinkPhase until EndDrawChanges).
[[nodiscard]] BlinkingTanks BeginDrawChanges(MainState& state, GameHost& host);

/// The blinking tanks are in play again and marked Dirty.
void EndDrawChanges(const BlinkingTanks& blinking);

/// Every sprite and every cell is clean, as the painting passes leave them.
void ClearDirtyMarks(GateType& gate);

/// The whole per-tick drawing of the working gate.
void DrawChanges(MainState& state, GameHost& host);

} // namespace brakkon
