#include "game/Keyboard.h"

#include "game/GameFlow.h"
#include "game/Movers.h"
#include "game/SpriteUpdate.h"

#include <array>

namespace brakkon {
namespace {

/// A player with the entry of its tank in the working gate.
struct PlayerSlot {
    PlayerType MainState::*Player; ///< the player's keys and requests
    std::size_t Entry;             ///< its tank's entry in Sprites
};

constexpr std::array<PlayerSlot, 2> Players{{{&MainState::Player1, 0}, {&MainState::Player2, 1}}};

/// The player's movement keys in the order of their directions.
std::array<KeyCode, 4> MovementKeys(const PlayerType& p) { return {p.LeftKey, p.RightKey, p.UpKey, p.DownKey}; }

SpriteType* PlayerTank(MainState& state, std::size_t entry)
{
    SpriteList& sprites = state.Game.Gate->Sprites;
    return entry < sprites.size() ? sprites[entry].get() : nullptr;
}

/// Records a movement request of the first player whose key it is (unless it
/// is the key that player already holds) and turns the tank where it may.
void MovementRequest(MainState& state, GameHost& host, KeyCode key)
{
    for (const PlayerSlot& slot : Players) {
        PlayerType& player = state.*slot.Player;
        const auto keys = MovementKeys(player);
        for (std::int32_t dir = 0; dir < 4; ++dir) {
            if (keys[static_cast<std::size_t>(dir)] != key || player.MoveKey == key) continue;
            player.MoveKey = key;
            player.MoveDir = dir;
            player.MoveIdle = false;
            // Turned at once when reversing or on the grid, in play or not;
            // otherwise the tick turns it at the next cell boundary.
            if (SpriteType* tank = PlayerTank(state, slot.Entry)) {
                if (tank->Direction == Opposite(dir) || (tank->OffsetX == 0 && tank->OffsetY == 0)) TurnSprite(state, host, *tank, dir);
            }
            return;
        }
    }
}

} // namespace

KeyCode NormaliseKey(KeyCode key)
{
    if (key == VkControl) return VkSpace;
    if (key == VkShift) return VkLetterA;
    return key;
}

void PauseKey(MainState& state, GameHost& host, KeyCode key)
{
    if (key != VkF1 && key != VkEscape) return;
    if (state.Playing)
        PauseGame(state, host);
    else if (!state.GameOver)
        ResumeGame(state, host);
}

void PlayerKeyDown(MainState& state, GameHost& host, KeyCode key)
{
    if (!state.Playing || state.Game.Gate == nullptr || state.Game.Gate->Sprites.empty()) return;
    MovementRequest(state, host, key);
    for (const PlayerSlot& slot : Players) {
        PlayerType& player = state.*slot.Player;
        SpriteType* tank = PlayerTank(state, slot.Entry);
        if (player.FireHeld || key != player.FireKey || tank == nullptr || !tank->Active) continue;
        host.PlayEffect(SoundEffect::Gun);
        player.FireHeld = true;
        LaunchShell(state, *tank, KindPlayerShell);
    }
}

void PlayerKeyUp(MainState& state, KeyCode key)
{
    key = NormaliseKey(key);
    if (key == state.Player1.MoveKey) {
        state.Player1.MoveKey = 0;
        state.Player1.MoveIdle = true;
    } else if (key == state.Player2.MoveKey) {
        state.Player2.MoveKey = 0;
        state.Player2.MoveIdle = true;
    } else if (key == state.Player1.FireKey) {
        state.Player1.FireHeld = false;
    } else if (key == state.Player2.FireKey) {
        state.Player2.FireHeld = false;
    }
}

void ReleaseMovementKeys(MainState& state)
{
    for (PlayerType* p : {&state.Player1, &state.Player2}) {
        p->MoveKey = 0;
        p->MoveIdle = true;
    }
}

} // namespace brakkon
