// The game's options of two dashes: recording and replaying, hosting and
// joining a network game. Options of one dash go to Qt.
#pragma once

#include "net/Transport.h"

#include <optional>
#include <string>

namespace brakkon {

struct CommandLine {
    std::optional<std::string> Record;
    std::optional<std::string> Replay;
    std::optional<Endpoint> Host; ///< --host [PORT | ADDRESS:PORT]: where to wait for a player
    std::optional<Endpoint> Join; ///< --join HOST[:PORT]
    bool Help = false;
};

/// Reads the options; empty on success, else what is wrong.
[[nodiscard]] std::string ParseCommandLine(int argc, const char* const* argv, CommandLine& line);

} // namespace brakkon
