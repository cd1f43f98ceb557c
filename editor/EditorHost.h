// EditorHost: what the Game Editor needs of the game's main window, which
// fills it in (shell/EditorHook.h). The editor works on the game's state,
// which it does not own; it hooks F12 and the field's drags and clicks; it
// turns field editing on and off; and after a change it has the field show
// the new pictures or a stored gate.
#pragma once

#include "game/MainState.h"
#include "view/FieldWidget.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

namespace brakkon {

class EditorHost {
public:
    virtual ~EditorHost() = default;

    /// The game's state: the editor edits its Game.
    [[nodiscard]] virtual MainState& State() = 0;
    /// The directory of the game's files, no trailing separator.
    [[nodiscard]] virtual std::string AppPath() const = 0;
    /// The game's window, beside which the editor stands.
    [[nodiscard]] virtual QWidget& Window() = 0;
    /// What F12 does and what the field's drags and clicks do; both unset:
    /// nothing.
    virtual void Hook(std::function<void()> open, FieldEditHandlers edits) = 0;
    /// Field editing on (the editor opens) or off (it closes); while on, the
    /// game stands still and clicks on the field edit the map.
    [[nodiscard]] virtual bool FieldEditing() const = 0;
    virtual void SetFieldEditing(bool on) = 0;
    /// The library of Game.Images changed: the field's pictures are made
    /// again and the field redrawn.
    virtual void LibraryChanged() = 0;
    /// Shows stored gate `index` on the field, as a new two-player game.
    virtual void ShowGate(std::int32_t index) = 0;
};

} // namespace brakkon
