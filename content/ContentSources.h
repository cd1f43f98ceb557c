// A folder of text sources for "Game.dat": the list file "Game.txt" names
// the field size, the pictures files and the gate files (gate 0 first); the
// pictures and gates are read with PictureText and GateText. The format is
// described in data/README.md. "brakkon-data pack" reads such a folder,
// "brakkon-data unpack" writes one.
#pragma once

#include "content/PictureText.h"
#include "game/Records.h"
#include "content/TextSource.h"

#include <filesystem>

namespace brakkon {

constexpr std::string_view ListKind = "brakkon-game";
constexpr std::int32_t ListVersion = 1;
constexpr std::string_view ListFileName = "Game.txt";

/// Reads the whole folder into fresh records and hands the field size, the
/// gates and the image library to `game` only when all of it was read.
[[nodiscard]] TextResult ReadContentSources(const std::filesystem::path& folder, GameType& game);

/// Reads only the pictures files the list names (for drawing single pictures).
[[nodiscard]] TextResult ReadPictureSources(const std::filesystem::path& folder, PictureBook& book);

/// Writes the game data as a folder of text sources: "Game.txt",
/// "gates/gate-NN.txt" and "pictures/group-NN.txt" (creating the folders).
[[nodiscard]] TextResult WriteContentSources(const GameType& game, const std::filesystem::path& folder);

} // namespace brakkon
