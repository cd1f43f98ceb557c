// The virtual-key codes that the game speaks; the window maps the window
// system's keys to them (shell/KeyMap.h).
#pragma once

#include <cstdint>

namespace brakkon {

using KeyCode = std::uint16_t;

constexpr KeyCode VkShift = 16;
constexpr KeyCode VkControl = 17;
constexpr KeyCode VkReturn = 13;
constexpr KeyCode VkEscape = 27;
constexpr KeyCode VkSpace = 32;
constexpr KeyCode VkLeft = 37;
constexpr KeyCode VkUp = 38;
constexpr KeyCode VkRight = 39;
constexpr KeyCode VkDown = 40;
constexpr KeyCode VkDigit0 = 48; ///< "0" .. "9" are 48 .. 57
constexpr KeyCode VkLetterA = 65; ///< "A" .. "Z" are 65 .. 90
constexpr KeyCode VkF1 = 112;
constexpr KeyCode VkF9 = 120;  ///< the window's scale: smaller
constexpr KeyCode VkF10 = 121; ///< larger
constexpr KeyCode VkF11 = 122; ///< full screen on and off
constexpr KeyCode VkF12 = 123;

/// The code of a letter key, 'A' to 'Z'.
constexpr KeyCode VkLetter(char letter) { return static_cast<KeyCode>(VkLetterA + (letter - 'A')); }

} // namespace brakkon
