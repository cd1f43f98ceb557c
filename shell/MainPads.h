// MainPads: the game pads of the main window. Polls a PadSource once a
// frame (never waiting), turns the pads' inputs into the keys of the key
// table (PadPlayers.h) and hands them to the window's own key handling
// (FormKeyDown and FormKeyUp), so that for the game, and for whatever
// watches the window's keys, a pad press is a key press.
//
// A release lets go of the key its press pressed, even when the menu came
// or went in between. While another window has the keyboard (a modal
// dialog, the Game Editor) presses are dropped, as keys would not reach the
// game either; releases always go through.
#pragma once

#include "game/KeyCodes.h"
#include "platform/GamePads.h"
#include "shell/PadPlayers.h"

#include <array>
#include <memory>
#include <vector>

namespace brakkon {

class MainForm;

class MainPads {
public:
    /// The window's frame calls Poll (the tests call it by hand).
    MainPads(MainForm& form, std::unique_ptr<PadSource> source);

    /// Reads what the pads did since the last poll and presses and releases keys for it.
    void Poll();
    /// The frame's poll: every frame while a pad is plugged in; with none,
    /// every IdleFrames-th frame, which is soon enough to hear one plugged
    /// in and spares the frames the device checks of the pads' library.
    void Frame();

    static constexpr int IdleFrames = 4;

private:
    MainForm& form_;
    std::unique_ptr<PadSource> source_;
    PadMapper mapper_;
    std::array<std::array<KeyCode, PadInputCount>, PadPlayers> pressed_{}; ///< the key each held input pressed; 0 none
    std::vector<PadEvent> events_;     ///< kept between polls to avoid allocating
    std::vector<PadRequest> requests_;
    int plugged_ = 0;    ///< pads added and not removed since
    int idleFrames_ = 0; ///< frames since the last poll without a pad
};

} // namespace brakkon
