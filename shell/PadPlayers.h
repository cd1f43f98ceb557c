// Which pad plays which player, and what each of its inputs presses.
//
// PadMapper turns the pads' events into presses and releases of a player's
// logical inputs: the first pad connected plays player 1, the second player
// 2, a pad plugged in later takes the first free player, and a pad pulled
// out releases everything it held. PadKey says which key of the key table
// an input stands for: in play the player's own movement and fire keys,
// while the menu is up its arrows and Enter; Start is F1 throughout.
// Neither knows a window; MainPads feeds them and presses the keys.
#pragma once

#include "game/KeyCodes.h"
#include "game/MainState.h"
#include "platform/GamePads.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace brakkon {

/// What a player does with a pad. Fire is the south or the east button,
/// Choose the south button alone (the menu's Enter).
enum class PadInput : std::uint8_t { Left, Right, Up, Down, Fire, Choose, Start };
constexpr std::size_t PadInputCount = 7;

/// The stick counts as pushed only beyond this far from its centre.
constexpr int StickDeadZone = 12000;
constexpr int PadPlayers = 2;

/// One input of one player (0 or 1) pressed or released.
struct PadRequest {
    int Player = 0;
    PadInput Input = PadInput::Left;
    bool Pressed = false;
};

class PadMapper {
public:
    /// Appends the presses and releases that `event` makes.
    void Feed(const PadEvent& event, std::vector<PadRequest>& requests);

private:
    struct Pad {
        std::int32_t Id = 0;
        std::array<bool, static_cast<std::size_t>(PadButton::Other)> Buttons{}; ///< by PadButton
        int X = 0;
        int Y = 0;
        std::array<bool, PadInputCount> Held{};
    };

    /// Compares what the pad now holds with what it held and reports the changes.
    static void Update(int player, Pad& pad, std::vector<PadRequest>& requests);

    std::array<std::unique_ptr<Pad>, PadPlayers> players_;
};

/// The key that `input` of `player` (0 or 1) presses now; 0 for none (the
/// fire button while the menu is up).
[[nodiscard]] KeyCode PadKey(const MainState& state, int player, PadInput input);

} // namespace brakkon
