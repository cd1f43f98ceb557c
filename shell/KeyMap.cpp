#include "shell/KeyMap.h"

#include "shell/MainMenu.h"

#include <algorithm>
#include <array>

namespace brakkon {
namespace {

struct KeyPair {
    int Qt;
    KeyCode Vk;
};

constexpr std::array<KeyPair, 15> NamedKeys{{
    {Qt::Key_Left, VkLeft},
    {Qt::Key_Up, VkUp},
    {Qt::Key_Right, VkRight},
    {Qt::Key_Down, VkDown},
    {Qt::Key_Space, VkSpace},
    {Qt::Key_Return, VkReturn},
    {Qt::Key_Enter, VkReturn},
    {Qt::Key_Escape, VkEscape},
    {Qt::Key_F1, VkF1},
    {Qt::Key_F5, VkF5},
    {Qt::Key_F9, VkF9},
    {Qt::Key_F10, VkF10},
    {Qt::Key_F11, VkF11},
    {Qt::Key_F12, VkF12},
    {Qt::Key_Control, VkControl},
}};

constexpr KeyCode VkNumpad0 = 96;

/// Qt keys are told apart from scan codes above every 32-bit scan code.
constexpr std::int64_t QtKeyBase = std::int64_t{1} << 32;

std::int64_t KeyOnKeyboard(const QKeyEvent& event)
{
    if (event.nativeScanCode() != 0) return event.nativeScanCode();
    return QtKeyBase + event.key();
}

/// The virtual-key code of a Qt key; VkOther for keys the game does not know.
KeyCode VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    for (const KeyPair& pair : NamedKeys)
        if (pair.Qt == qtKey) return pair.Vk;
    if (qtKey == Qt::Key_Shift) return VkShift;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const auto digit = static_cast<KeyCode>(qtKey - Qt::Key_0);
        // The keypad's digits are keys of their own, not the menu's digits.
        return static_cast<KeyCode>((modifiers & Qt::KeypadModifier ? VkNumpad0 : VkDigit0) + digit);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<KeyCode>(VkLetterA + (qtKey - Qt::Key_A));
    return VkOther;
}

/// The window's own keys: codes First to Last and what they do.
struct WindowKeyRange {
    KeyCode First;
    KeyCode Last;
    WindowKey Key;
};

constexpr std::array<WindowKeyRange, 9> WindowKeys{{
    {VkReturn, VkReturn, {WindowAction::RunMarked, true}},
    {VkDigit0 + 1, VkDigit0 + MenuItemCount, {WindowAction::RunItem, false}},
    {VkUp, VkUp, {WindowAction::MenuUp, false}},
    {VkDown, VkDown, {WindowAction::MenuDown, false}},
    {VkF12, VkF12, {WindowAction::OpenEditor, true}},
    {VkF5, VkF5, {WindowAction::NetworkGame, true}},
    {VkF9, VkF9, {WindowAction::Smaller, true}},
    {VkF10, VkF10, {WindowAction::Larger, true}},
    {VkF11, VkF11, {WindowAction::FullScreen, true}},
}};

} // namespace

WindowKey WindowKeyFor(KeyCode key)
{
    for (const WindowKeyRange& range : WindowKeys)
        if (key >= range.First && key <= range.Last) return range.Key;
    return {};
}

std::optional<KeyCode> HeldKeys::Press(const QKeyEvent& event)
{
    const std::int64_t key = KeyOnKeyboard(event);
    for (const Held& held : held_)
        if (held.Key == key) return std::nullopt;
    const KeyCode code = VirtualKey(event.key(), event.modifiers());
    held_.push_back({key, code});
    return code;
}

std::optional<KeyCode> HeldKeys::Release(const QKeyEvent& event)
{
    if (event.isAutoRepeat()) return std::nullopt;
    const std::int64_t key = KeyOnKeyboard(event);
    KeyCode code = VirtualKey(event.key(), event.modifiers());
    const auto held = std::find_if(held_.begin(), held_.end(), [key](const Held& h) { return h.Key == key; });
    if (held != held_.end()) {
        code = held->Code;
        held_.erase(held);
    }
    if (code == VkOther) return std::nullopt;
    return code;
}

} // namespace brakkon
