// Qt's keys as the game's virtual-key codes (KeyCodes.h): arrows 37 to 40,
// space 32, Return and keypad Enter 13, Escape 27, F1 112, F9 to F12 120 to 123, digits 48 to 57,
// letters 65 to 90, Ctrl 17, Shift 16, keypad digits 96 to 105. Every other
// key is VkOther: it still hides the key help and the title, and does nothing
// more.
//
// A held key reaches the game as one press and one release, however the
// window system repeats it: X11 sends release and press pairs (or, with
// detectable auto-repeat, repeated presses), Wayland repeated presses.
// HeldKeys lets the first press of a key through and drops every further
// press until its release, and drops releases that Qt marks as a repeat's.
#pragma once

#include "game/KeyCodes.h"

#include <QKeyEvent>

#include <cstdint>
#include <optional>
#include <vector>

namespace brakkon {

/// A key the game has no code for.
constexpr KeyCode VkOther = 0;

/// The keys held down on the keyboard, each with the code its press gave,
/// told apart by their scan code (by their Qt key where the event has none).
class HeldKeys {
public:
    /// The code of a press (VkOther for a key the game does not know); none
    /// for a further press of a key already held.
    [[nodiscard]] std::optional<KeyCode> Press(const QKeyEvent& event);

    /// The code of a release, the one its press gave (Shift may have turned
    /// "1" into "!" since); none for a repeat's release or for VkOther.
    [[nodiscard]] std::optional<KeyCode> Release(const QKeyEvent& event);

    /// Lets go of every key: the window lost the keyboard and will not see
    /// the releases.
    void Clear() { held_.clear(); }

private:
    struct Held {
        std::int64_t Key; ///< scan code, or QtKeyBase plus the Qt key
        KeyCode Code;
    };

    std::vector<Held> held_;
};

} // namespace brakkon
