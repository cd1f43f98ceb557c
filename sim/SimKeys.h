// Key scripts of brakkon-sim: one key event a line, "TICK press|release KEY",
// read through the shared text source.
#pragma once

#include "game/KeyCodes.h"
#include "game/Records.h"
#include "content/TextSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

/// A key pressed or released before the game tick numbered Tick (from 0).
struct KeyEvent {
    std::int64_t Tick = 0; ///< the tick before which it happens
    bool Press = true;     ///< press, else release
    KeyCode Key = 0;       ///< virtual-key code
};

/// Someone at the keys of a simulated game: before each tick slot it adds the
/// key events of that slot, deciding from the working gate as it stands.
class KeyPlayer {
public:
    virtual ~KeyPlayer() = default;
    virtual void Keys(const GateType& gate, std::int64_t slot, std::vector<KeyEvent>& out) = 0;
};

/// A key by name: Left Right Up Down Space Ctrl Shift Enter Escape F1 (any
/// case), a single letter A..Z or digit 0..9, or a virtual-key code of two or
/// more decimal digits (10 to 65535).
[[nodiscard]] std::optional<KeyCode> ParseKeyName(std::string_view name);

/// The name ParseKeyName reads back as `code`: a named key as the list spells
/// it, a letter or digit, else the code in two or more digits ("07", "123").
[[nodiscard]] std::string KeyName(KeyCode code);

/// Reads a whole script into `events`, replaced only when every line was
/// read. Blank lines and lines starting with '#' are skipped. The events come
/// back ordered by tick, in script order within a tick. A bad line fails
/// with "NAME:LINE: what".
[[nodiscard]] TextResult ReadKeyScript(const TextSource& source, std::vector<KeyEvent>& events);

} // namespace brakkon
