// "Game.dat": the field size, every stored gate and the image library.
//
//   magic 30905, version 1, Cols, Rows, CellWidth, CellHeight,
//   gate count and each gate stream, group count and for each group its image
//   count, for each image its frame count, for each frame a BMP image and one
//   transparency byte.
#pragma once

#include "game/ByteStream.h"
#include "game/IoResult.h"
#include "game/Records.h"

#include <filesystem>

namespace brakkon {

constexpr std::int32_t GameDataMagic = 30905;
constexpr std::int32_t GameDataVersion = 1;

/// Appends everything of "Game.dat" after the version.
[[nodiscard]] IoResult WriteGameDataTo(ByteWriter& stream, const GameType* game);

/// Reads everything after the version into fresh records and, only when all
/// of it was read and checked, hands the sizes, gates and images over to
/// `game` (its working gate is not touched). The engine indexes the field
/// directly, so sizes other than 19 x 14 cells of 32 x 32 pixels and gates
/// whose map is not 19 columns of 14 cells are refused as a format error.
[[nodiscard]] IoResult ReadGameDataFrom(ByteReader& stream, GameType* game);

/// The whole file: magic and version, then the data.
[[nodiscard]] IoResult EncodeGameDataFile(const GameType& game, std::vector<std::uint8_t>& out);
[[nodiscard]] IoResult DecodeGameDataFile(std::span<const std::uint8_t> bytes, GameType* game);
[[nodiscard]] IoResult SaveGameData(const std::filesystem::path& path, const GameType& game);
[[nodiscard]] IoResult LoadGameData(const std::filesystem::path& path, GameType& game);

/// As above, showing a failure's message once through the error seam.
bool WriteGameData(ByteWriter& stream, const GameType* game);
bool ReadGameData(ByteReader& stream, GameType* game);
bool SaveGameDataFile(const std::filesystem::path& path, const GameType& game);
bool LoadGameDataFile(const std::filesystem::path& path, GameType& game);

/// True when the map has exactly cols columns of rows cells each.
[[nodiscard]] bool HasGrid(const GateType& gate, std::int32_t cols, std::int32_t rows);

} // namespace brakkon
