#include "KeyMap.h"

#include <array>

namespace brakkon {
namespace {

struct KeyPair {
    int Qt;
    KeyCode Vk;
};

constexpr std::array<KeyPair, 14> NamedKeys{{
    {Qt::Key_Left, VkLeft},
    {Qt::Key_Up, VkUp},
    {Qt::Key_Right, VkRight},
    {Qt::Key_Down, VkDown},
    {Qt::Key_Space, VkSpace},
    {Qt::Key_Return, VkReturn},
    {Qt::Key_Enter, VkReturn},
    {Qt::Key_Escape, VkEscape},
    {Qt::Key_F1, VkF1},
    {Qt::Key_F9, VkF9},
    {Qt::Key_F10, VkF10},
    {Qt::Key_F11, VkF11},
    {Qt::Key_F12, VkF12},
    {Qt::Key_Control, VkControl},
}};

constexpr KeyCode VkNumpad0 = 96;

} // namespace

std::optional<KeyCode> VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
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
    return std::nullopt;
}

std::optional<KeyCode> PressedKey(const QKeyEvent& event) { return VirtualKey(event.key(), event.modifiers()); }

std::optional<KeyCode> ReleasedKey(const QKeyEvent& event)
{
    if (event.isAutoRepeat()) return std::nullopt;
    return VirtualKey(event.key(), event.modifiers());
}

} // namespace brakkon
