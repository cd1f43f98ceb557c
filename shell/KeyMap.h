// The main window's key table. Qt's keys as the game's virtual-key codes
// (game/KeyCodes.h): arrows 37 to 40, space 32, Return and keypad Enter 13,
// Escape 27, F1 112, F5 116, F9 to F12 120 to 123, digits 48 to 57, letters 65 to
// 90, Ctrl 17, Shift 16, keypad digits 96 to 105. Every other key is
// VkOther: it still hides the key help and the title, and does nothing more.
//
// A held key reaches the game as one press and one release, however the
// window system repeats it: X11 sends release and press pairs (or, with
// detectable auto-repeat, repeated presses), Wayland repeated presses.
// HeldKeys lets the first press of a key through and drops every further
// press until its release, and drops releases that Qt marks as a repeat's.
//
// WindowKeyFor says which codes are the window's own (Enter, the menu's
// digits and arrows, F9 to F12), what each does, and whether the press ends
// there or goes on to the game.
#pragma once

#include "game/KeyCodes.h"

#include <QKeyEvent>

#include <cstdint>
#include <optional>
#include <vector>

namespace brakkon {

/// A key the game has no code for.
constexpr KeyCode VkOther = 0;
/// F5, which only the window knows: the Network Game dialog.
constexpr KeyCode VkF5 = 116;

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

/// What a key does in the window itself.
enum class WindowAction : std::uint8_t {
    None,
    RunMarked,  ///< Enter: the marked menu item's command
    RunItem,    ///< "1" to "7": that item's command, when it is shown
    MenuUp,
    MenuDown,
    OpenEditor, ///< F12
    NetworkGame, ///< F5: the Network Game dialog
    Smaller,    ///< F9
    Larger,     ///< F10
    FullScreen, ///< F11
};

struct WindowKey {
    WindowAction Action = WindowAction::None;
    bool EndsPress = false; ///< the game does not see the press
};

/// The window's own use of `key`; None for a key that goes to the game alone.
[[nodiscard]] WindowKey WindowKeyFor(KeyCode key);

} // namespace brakkon
