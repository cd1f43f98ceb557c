#include "shell/EditorHook.h"

#include "game/GateStart.h"
#include "shell/MainUnit.h"

namespace brakkon {

MainState& EditorHook::State() { return form_.State(); }

std::string EditorHook::AppPath() const { return form_.AppPath(); }

QWidget& EditorHook::Window() { return form_; }

void EditorHook::Hook(std::function<void()> open, FieldEditHandlers edits)
{
    open_ = std::move(open);
    form_.Field().SetEditHandlers(std::move(edits));
}

bool EditorHook::FieldEditing() const { return form_.FieldEditing(); }

void EditorHook::SetFieldEditing(bool on) { form_.SetFieldEditing(on); }

void EditorHook::LibraryChanged()
{
    form_.ImagesChanged();
    form_.DrawField(form_.State().Game.Gate.get());
}

void EditorHook::ShowGate(std::int32_t index)
{
    // The stored gate as the editor left it, recorded with it.
    form_.Driver().Apply(Command::ShowGate(index));
}

} // namespace brakkon
