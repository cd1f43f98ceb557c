// The keyboard of the main window: every key reaches the window before its
// controls, and a held key comes as one press and one release (HeldKeys).
// Any press hides the key help (and, in play, the title); a key the game
// knows then goes through the window's own keys (the key table's
// WindowKeyFor: Enter, the menu's digits and arrows, F9 to F12) and on to
// the engine's pause keys and players' keys; a release ends a player's
// request.
#include "shell/MainUnit.h"

#include "game/Keyboard.h"
#include "shell/StatusLabels.h"
#include "shell/ViewScaler.h"

#include <QKeyEvent>

namespace brakkon {

/// Does what the window itself does with `key`; true when the press ends there.
bool MainForm::WindowKeyDown(KeyCode key)
{
    const WindowKey own = WindowKeyFor(key);
    switch (own.Action) {
    case WindowAction::None: break;
    case WindowAction::RunMarked:
        for (int n = 1; n <= MenuItemCount; ++n)
            if (MenuItemShown(n) && MenuItemHighlighted(n)) MenuCommand(n);
        break;
    case WindowAction::RunItem:
        if (MenuItemShown(key - VkDigit0)) MenuCommand(key - VkDigit0);
        break;
    case WindowAction::MenuUp: MenuUp(); break;
    case WindowAction::MenuDown: MenuDown(); break;
    case WindowAction::OpenEditor:
        if (net_->Now() == NetWindow::Phase::Idle) editor_.OpenEditor();
        break;
    case WindowAction::NetworkGame: OpenNetworkGame(); break;
    case WindowAction::Smaller: view_->Smaller(); break;
    case WindowAction::Larger: view_->Larger(); break;
    case WindowAction::FullScreen: view_->ToggleFullScreen(); break;
    }
    return own.EndsPress;
}

void MainForm::FormKeyDown(KeyCode& key)
{
    key = NormaliseKey(key);
    labels_->ShowKeyHelp(false);
    if (state_.Playing) labels_->ShowTitle(false);
    if (key == VkOther || WindowKeyDown(key)) return;
    if (window_.FieldEditing || net_->Key(true, key)) return; // the game stands still until editing ends
    Driver().Apply(Command::Press(key));
}

void MainForm::FormKeyUp(KeyCode& key)
{
    key = NormaliseKey(key);
    if (net_->Key(false, key)) return;
    Driver().Apply(Command::Release(key));
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return QWidget::eventFilter(watched, event);
    const auto& keyEvent = *static_cast<QKeyEvent*>(event);
    // Keys meant for this window or one of its controls, not for a dialog; a
    // key let go anywhere is no longer held.
    const auto* target = qobject_cast<QWidget*>(watched);
    if (target == nullptr || target->window() != this) {
        if (type == QEvent::KeyRelease) (void)heldKeys_.Release(keyEvent);
        return false;
    }
    if (Replaying()) return true; // the replay plays the keys
    std::optional<KeyCode> key = type == QEvent::KeyPress ? heldKeys_.Press(keyEvent) : heldKeys_.Release(keyEvent);
    if (key) {
        if (type == QEvent::KeyPress)
            FormKeyDown(*key);
        else
            FormKeyUp(*key);
    }
    return true;
}

} // namespace brakkon
