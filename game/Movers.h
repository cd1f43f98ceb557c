// The two movers and what happens where a sprite stands: bonuses taken,
// shells striking enemy tanks, players' tanks, other shells and walls, and
// the dirty marks of the cells a sprite leaves, covers and enters. Also the
// turn and the three bonuses.
//
// Every change of a sprite's position goes through MoveX or MoveY. A distance
// of 0 moves nothing but runs all the checks at the spot; callers use it to
// re-check and re-mark a sprite after it turned, was struck or re-entered.
// Whether a tank may advance, and how far a shell flies, is decided by
// UpdateSprite (SpriteUpdate.h). Hits on players go to HitTank (Hits.h).
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

namespace brakkon {

/// Moves the sprite `dx` pixels horizontally (0 allowed) and resolves what
/// follows at the new place.
void MoveX(MainState& state, GameHost& host, SpriteType& s, std::int32_t dx);

/// The same on the vertical axis.
void MoveY(MainState& state, GameHost& host, SpriteType& s, std::int32_t dy);

/// Turns the sprite to `direction` at once (frame back to 0) and re-checks it
/// where it stands; nothing when it already faces that way.
void TurnSprite(MainState& state, GameHost& host, SpriteType& s, std::int32_t direction);

/// A player's tank takes bonus `bonus` (1 level up, 2 extra life, 3 shield),
/// then the bonus sound and the indicators, whether or not anything changed.
void TakeBonus(MainState& state, GameHost& host, SpriteType& s, std::int32_t bonus);

/// The way back on the same axis: left and right swap, up and down swap;
/// any other value stays.
[[nodiscard]] constexpr std::int32_t Opposite(std::int32_t direction)
{
    switch (direction) {
    case DirLeft: return DirRight;
    case DirRight: return DirLeft;
    case DirUp: return DirDown;
    case DirDown: return DirUp;
    default: return direction;
    }
}

} // namespace brakkon
