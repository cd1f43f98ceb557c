// What one player did in one tick slot of a network game: the key presses
// and releases that fell on it, in order.
//
// The host plays player 1 and the joiner player 2. Each side sends only its
// own player's keys, as the engine knows them (Ctrl already taken as the
// space bar, Shift as "A"), and the pause keys, which pause the game on both
// sides. A slot holds at most MaxKeysPerSlot events: more than a hand can
// press in one tick.
#pragma once

#include "game/KeyCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace brakkon {

enum class Side : std::uint8_t {
    Host,   ///< plays player 1 (yellow), decides the game's start and length
    Joiner, ///< plays player 2 (green)
};

[[nodiscard]] constexpr Side OtherSide(Side side) { return side == Side::Host ? Side::Joiner : Side::Host; }

constexpr std::size_t MaxKeysPerSlot = 16;

/// What only the host decides travels with its keys, as codes no keyboard
/// gives: a new game for both players, the movement step (1, 2 or 4), and a
/// saved game loaded.
constexpr KeyCode NetNewGame = 0xf000;
constexpr KeyCode NetStepBase = 0xf100;
[[nodiscard]] constexpr KeyCode NetStep(std::int32_t step) { return static_cast<KeyCode>(NetStepBase + step); }
/// Loads the host's saved game number n (its bytes travel on their own).
constexpr KeyCode NetLoadBase = 0xf200;
constexpr std::uint16_t MaxLoads = 256;
[[nodiscard]] constexpr KeyCode NetLoad(std::uint16_t n) { return static_cast<KeyCode>(NetLoadBase + n); }
/// The saved game a host's code loads; -1 for any other code.
[[nodiscard]] constexpr int LoadOfNetKey(KeyCode key)
{
    return key >= NetLoadBase && key < NetLoadBase + MaxLoads ? key - NetLoadBase : -1;
}
/// The step a host's code sets; 0 for any other code.
[[nodiscard]] constexpr std::int32_t StepOfNetKey(KeyCode key)
{
    const int step = key - NetStepBase;
    return key > NetStepBase && (step == 1 || step == 2 || step == 4) ? step : 0;
}

/// One key press or release.
struct NetKey {
    bool Press = true;
    KeyCode Key = 0;
    friend bool operator==(const NetKey&, const NetKey&) = default;
};

/// The key events of one player in one slot.
struct SlotInput {
    std::uint8_t Count = 0;
    std::array<NetKey, MaxKeysPerSlot> Keys{};

    /// Appends an event; false when the slot is full.
    bool Add(bool press, KeyCode key)
    {
        if (Count >= MaxKeysPerSlot) return false;
        Keys[Count++] = {press, key};
        return true;
    }
    [[nodiscard]] std::span<const NetKey> Events() const { return std::span(Keys).first(Count); }
    [[nodiscard]] bool Empty() const { return Count == 0; }

    friend bool operator==(const SlotInput& a, const SlotInput& b)
    {
        return a.Count == b.Count && std::equal(a.Keys.begin(), a.Keys.begin() + a.Count, b.Keys.begin());
    }
};

/// True for the keys `side` may send: its player's four movement keys and
/// fire key, F1 and Escape; the host's codes for a new game and the step.
[[nodiscard]] bool SideMaySend(Side side, KeyCode key);

} // namespace brakkon
