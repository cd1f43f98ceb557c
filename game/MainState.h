// The engine's state: the game data, both players' keys and requests, the
// options the engine reads and the flags of the game's flow.
//
// One plain struct, owned by the main window for the whole run (tests and the
// simulator make fresh ones). The engine functions take it by reference and
// read and write its fields directly; they reach the window only through
// GameHost. What only the window reads (its folder, field editing) is the
// window's, and the effects' priority is the sound's own.
#pragma once

#include "game/KeyCodes.h"
#include "game/Random.h"
#include "game/Records.h"

#include <cstdint>
#include <vector>

namespace brakkon {

/// One player's keys and requests, in this order.
struct PlayerType {
    KeyCode LeftKey = 0;      ///< movement keys, set once at start
    KeyCode RightKey = 0;
    KeyCode UpKey = 0;
    KeyCode DownKey = 0;
    KeyCode FireKey = 0;
    bool FireHeld = false;    ///< a shell was launched and the fire key is not yet released
    KeyCode MoveKey = 0;      ///< the movement key now held; 0 when none
    std::int32_t MoveDir = -1; ///< direction last requested (Dir); kept when the key is released
    bool MoveIdle = true;     ///< no movement key held: the tick leaves the tank standing
};

/// Player 1: the arrows and the space bar.
constexpr PlayerType Player1Keys{VkLeft, VkRight, VkUp, VkDown, VkSpace};
/// Player 2: "F", "H", "T", "G" and "A".
constexpr PlayerType Player2Keys{VkLetter('F'), VkLetter('H'), VkLetter('T'), VkLetter('G'), VkLetter('A')};

constexpr std::int32_t DefaultMoveStep = 2;

struct MainState {
    GameType Game;                 ///< the whole game data; Game.Gate is the working gate
    bool MusicOn = true;           ///< the music plays and loops
    std::int32_t MoveStep = DefaultMoveStep; ///< pixels per tank step: 1, 2 or 4
    bool NextGatePending = false;  ///< the gate is won; the next game tick changes it
    PlayerType Player1 = Player1Keys; ///< drives Sprites[0]
    PlayerType Player2 = Player2Keys; ///< drives Sprites[1]
    bool BlinkPhase = false;       ///< flipped once per drawn tick; shielded tanks blink with it
    bool Playing = false;          ///< a game is under way and the menu is hidden
    bool GameOver = true;          ///< no game in progress (before the first, after the end)
    Random Rand;                   ///< the one random generator

    std::vector<SpriteType*> MarkWork; ///< working list of the dirty marking, kept to avoid allocating per tick
};

} // namespace brakkon
