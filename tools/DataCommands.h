// The commands of brakkon-data, one function each, and what they share.
#pragma once

#include "game/IoResult.h"
#include "game/Records.h"

#include <filesystem>
#include <string>
#include <vector>

namespace brakkon {

using CommandArgs = std::vector<std::string>;

/// A data file or a saved game, told apart by its magic.
struct AnyGameFile {
    enum class Kind { GameData, SavedGame };
    Kind FileKind = Kind::GameData;
    GameType Game; ///< for a saved game only Game.Gate is filled
};

/// Loads either kind of file with the game's own loaders.
[[nodiscard]] IoResult LoadAnyGameFile(const std::filesystem::path& path, AnyGameFile& out);

// Each returns the process exit code; failures print the game's one message
// (or a usage line) on stderr.
int RunInfo(const CommandArgs& args);
int RunResave(const CommandArgs& args);
int RunPack(const CommandArgs& args);
int RunUnpack(const CommandArgs& args);
int RunDraw(const CommandArgs& args);
int RunRender(const CommandArgs& args);

} // namespace brakkon
