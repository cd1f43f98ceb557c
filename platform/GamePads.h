// Game pads: where their events come from and what they ask of the players.
//
// A PadSource reports pads plugged in and pulled out, buttons and sticks;
// OpenSdlPads reads them through SDL2's game-controller API (no video
// subsystem), and tests feed their own lists. PadMapper turns those events
// into presses and releases of a player's logical inputs: the first pad
// connected plays player 1, the second player 2, a pad plugged in later takes
// the first free player, and a pad pulled out releases everything it held.
// The window decides which key each input stands for (MainPads).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace brakkon {

enum class PadButton : std::uint8_t { DpadLeft, DpadRight, DpadUp, DpadDown, South, East, Start, Other };
enum class PadAxis : std::uint8_t { LeftX, LeftY, Other };

/// One change of one pad.
struct PadEvent {
    enum class Kind : std::uint8_t { Added, Removed, Button, Axis };
    Kind What = Kind::Added;
    std::int32_t Pad = 0;                 ///< the pad's id while it is connected
    PadButton Button = PadButton::Other;  ///< Button: which, and whether it went down
    bool Down = false;
    PadAxis Axis = PadAxis::Other;        ///< Axis: which, and where it stands now
    std::int16_t Value = 0;               ///< -32768 (left, up) to 32767 (right, down)
};

/// Where pad events come from.
class PadSource {
public:
    virtual ~PadSource() = default;
    /// Appends what happened since the last call; never waits.
    virtual void Poll(std::vector<PadEvent>& events) = 0;
};

/// The pads of the machine through SDL; null when SDL's game-controller
/// subsystem cannot start (the game then runs on the keyboard alone).
[[nodiscard]] std::unique_ptr<PadSource> OpenSdlPads();

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

} // namespace brakkon
