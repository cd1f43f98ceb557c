// The keyboard of the main window: every key reaches the window before its
// controls, and a held key comes as one press and one release (HeldKeys).
// Any press hides the key help (and, in play, the title); a key the game
// knows then goes through the window's own keys (Enter, the menu's digits,
// the menu arrows) and on to the engine's pause keys and players' keys; a
// release ends a player's request. F12 opens the Game Editor; F9, F10 and
// F11 change the window's scale and full screen.
#include "shell/MainUnit.h"

#include "platform/KeyMap.h"
#include "game/Keyboard.h"

#include <QKeyEvent>

#include <array>

namespace brakkon {
namespace {

enum class MenuKeyAction { RunHighlighted, RunItem, Up, Down, OpenEditor, Smaller, Larger, FullScreen };

/// The window's own keys: codes First to Last, what they do, and whether the
/// press ends there.
struct MenuKey {
    KeyCode First;
    KeyCode Last;
    MenuKeyAction Action;
    bool EndsPress;
};

constexpr std::array<MenuKey, 8> MenuKeys{{
    {VkReturn, VkReturn, MenuKeyAction::RunHighlighted, true},
    {VkDigit0 + 1, VkDigit0 + MenuItemCount, MenuKeyAction::RunItem, false},
    {VkUp, VkUp, MenuKeyAction::Up, false},
    {VkDown, VkDown, MenuKeyAction::Down, false},
    {VkF12, VkF12, MenuKeyAction::OpenEditor, true},
    {VkF9, VkF9, MenuKeyAction::Smaller, true},
    {VkF10, VkF10, MenuKeyAction::Larger, true},
    {VkF11, VkF11, MenuKeyAction::FullScreen, true},
}};

} // namespace

bool MainForm::WindowKey(KeyCode key)
{
    for (const MenuKey& entry : MenuKeys) {
        if (key < entry.First || key > entry.Last) continue;
        switch (entry.Action) {
        case MenuKeyAction::RunHighlighted:
            for (int n = 1; n <= MenuItemCount; ++n)
                if (MenuItemShown(n) && MenuItemHighlighted(n)) MenuCommand(n);
            break;
        case MenuKeyAction::RunItem: {
            const int n = key - VkDigit0;
            if (MenuItemShown(n)) MenuCommand(n);
            break;
        }
        case MenuKeyAction::Up: MenuUp(); break;
        case MenuKeyAction::Down: MenuDown(); break;
        case MenuKeyAction::OpenEditor:
            if (openEditor_) openEditor_();
            break;
        case MenuKeyAction::Smaller: ChangeView(viewScale_ - 1, fullScreen_); break;
        case MenuKeyAction::Larger: ChangeView(viewScale_ + 1, fullScreen_); break;
        case MenuKeyAction::FullScreen: ChangeView(viewScale_, !fullScreen_); break;
        }
        return entry.EndsPress;
    }
    return false;
}

void MainForm::FormKeyDown(KeyCode& key)
{
    key = NormaliseKey(key);
    ShowKeyHelp(false);
    if (state_.Playing) ShowTitle(false);
    if (key == VkOther || WindowKey(key)) return;
    if (state_.FieldEditing) return; // the game stands still until editing ends
    Note(ReplayWhat::Press, key);
    PauseKey(state_, *this, key);
    PlayerKeyDown(state_, *this, key);
}

void MainForm::FormKeyUp(KeyCode& key)
{
    key = NormaliseKey(key);
    Note(ReplayWhat::Release, key);
    PlayerKeyUp(state_, key);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto& keyEvent = *static_cast<QKeyEvent*>(event);
        // Keys meant for this window or one of its controls, not for a
        // dialog; a key let go anywhere is no longer held.
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
    for (QLabel* label : MenuItems)
        if (watched == label) return MenuLabelEvent(label, event);
    for (QLabel* label : MenuShadows)
        if (watched == label) return MenuLabelEvent(label, event);
    return QWidget::eventFilter(watched, event);
}

} // namespace brakkon
