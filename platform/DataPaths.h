// Where "Game.dat" is read and written. The game's files lie beside the
// executable; the Game Editor's "Save" writes there when that directory is
// writable (the build tree), and otherwise, in an installed game, to the
// user's data directory ($XDG_DATA_HOME/brakkon). Start-up reads the file
// that "Save" writes when there is one, so a saved game data file is the one
// played after a restart; else the installed one (shell/StartData.h).
#pragma once

#include <filesystem>

namespace brakkon {

/// The name of the game data file.
inline constexpr const char* GameDataFileName = "Game.dat";

/// The user's own directory of game data: $XDG_DATA_HOME/brakkon.
[[nodiscard]] std::filesystem::path UserDataDir();

/// Where "Save" writes "Game.dat" for a game whose files lie in `appPath`.
[[nodiscard]] std::filesystem::path GameDataSavePath(const std::filesystem::path& appPath);

} // namespace brakkon
