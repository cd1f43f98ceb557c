// Qt's keys as the game's virtual-key codes (KeyCodes.h): arrows 37 to 40,
// space 32, Return and keypad Enter 13, Escape 27, F1 112, F9 to F12 120 to 123, digits 48 to 57,
// letters 65 to 90, Ctrl 17, Shift 16, keypad digits 96 to 105.
//
// X11 repeats a held key as release and press pairs; the game expects only
// the repeated presses and one release at the end, so releases that Qt marks
// as auto-repeat are dropped here.
#pragma once

#include "KeyCodes.h"

#include <QKeyEvent>

#include <optional>

namespace brakkon {

/// The virtual-key code of a Qt key; none for keys the game does not know.
[[nodiscard]] std::optional<KeyCode> VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

/// The code of a press; none for keys the game does not know.
[[nodiscard]] std::optional<KeyCode> PressedKey(const QKeyEvent& event);

/// The code of a release; none for an auto-repeat release or an unknown key.
[[nodiscard]] std::optional<KeyCode> ReleasedKey(const QKeyEvent& event);

} // namespace brakkon
