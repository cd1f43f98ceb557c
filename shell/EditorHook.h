// EditorHook: the main window's side of the Game Editor (editor/EditorHost.h).
// It keeps what F12 opens, hands the field's drags and clicks to the editor,
// and carries out what the editor asks of the window: field editing on and
// off, the field redrawn with new pictures, a stored gate shown. Owned by
// the main window; the editor it hooks must go first.
#pragma once

#include "editor/EditorHost.h"

#include <functional>

namespace brakkon {

class MainForm;

class EditorHook final : public EditorHost {
public:
    explicit EditorHook(MainForm& form) : form_(form) {}

    /// F12: opens the Game Editor, when one is hooked.
    void OpenEditor() const
    {
        if (open_) open_();
    }

    [[nodiscard]] MainState& State() override;
    [[nodiscard]] std::string AppPath() const override;
    [[nodiscard]] QWidget& Window() override;
    void Hook(std::function<void()> open, FieldEditHandlers edits) override;
    [[nodiscard]] bool FieldEditing() const override;
    void SetFieldEditing(bool on) override;
    void LibraryChanged() override;
    void ShowGate(std::int32_t index) override;

private:
    MainForm& form_;
    std::function<void()> open_;
};

} // namespace brakkon
