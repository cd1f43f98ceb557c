// Saved games: the working gate in a file of its own.
//
//   magic 30906, version 1, the gate stream of the working gate
#pragma once

#include "game/IoResult.h"
#include "game/Records.h"

#include <filesystem>
#include <span>
#include <vector>

namespace brakkon {

constexpr std::int32_t SavedGameMagic = 30906;
constexpr std::int32_t SavedGameVersion = 1;

/// The bytes of a saved game of `gate`.
[[nodiscard]] IoResult EncodeSavedGame(const GateType& gate, std::vector<std::uint8_t>& out);

/// Reads a saved game into a fresh gate and, only when it was read whole and
/// checked, replaces the contents of `gate`. The engine indexes the map and the
/// two players' entries directly, so a saved game is refused as a format error
/// unless its map is 19 columns of 14 cells, entries 0 and 1 are the two
/// players' tanks, and every sprite has an Index of 0 or more and lies wholly
/// inside the field with its rectangle matching its cell and offsets.
[[nodiscard]] IoResult DecodeSavedGame(std::span<const std::uint8_t> bytes, GateType& gate);

[[nodiscard]] IoResult SaveGame(const std::filesystem::path& path, const GateType& gate);
[[nodiscard]] IoResult LoadGame(const std::filesystem::path& path, GateType& gate);

/// As above, showing a failure's message once through the error seam. The
/// caller draws the field after a successful load.
bool SaveGameFile(const std::filesystem::path& path, const GateType& gate);
bool LoadGameFile(const std::filesystem::path& path, GateType& gate);
/// The bytes of a saved game file that loads (for the command that loads
/// it); a failure is shown once through the error seam, naming the file.
bool ReadSavedGameFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

/// True when the sprite lies wholly inside the 19 x 14 field of 32-pixel cells
/// and its rectangle agrees with its cell and offsets.
[[nodiscard]] bool SpriteInField(const SpriteType& sprite);

} // namespace brakkon
