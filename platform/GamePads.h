// Game pads as devices: pads plugged in and pulled out, their buttons and
// sticks. A PadSource reports them; OpenSdlPads reads them through SDL2's
// game-controller API (no video subsystem), and tests feed their own lists.
// What the pads mean to the game is the window's (shell/PadPlayers.h).
#pragma once

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

} // namespace brakkon
