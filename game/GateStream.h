// The gate stream: the serial form of one GateType, used by "Game.dat" for
// each stored gate, by saved games for the working gate, and by gate start to
// copy a stored gate into the working gate.
//
//   GateNo PlayTime Lives1 Lives2 EnemiesLeft Tank LargeTank ZJC KC Total NextGate
//   sprite count, each sprite as its 96-byte raw record
//   column count, for each column its cell count and its 44-byte raw cells
#pragma once

#include "game/ByteStream.h"
#include "game/IoResult.h"
#include "game/Records.h"

namespace brakkon {

constexpr std::size_t RawSpriteSize = 96;
constexpr std::size_t RawCellSize = 44;
constexpr std::size_t GateHeaderSize = 11 * 4;
/// The smallest gate stream: eleven integers and two zero counts.
constexpr std::size_t MinGateStreamSize = GateHeaderSize + 4 + 4;

void WriteRawSprite(ByteWriter& stream, const SpriteType& sprite);
void WriteRawCell(ByteWriter& stream, const CellType& cell);
/// Reads a raw record; padding bytes are ignored. Throws StreamError when short.
[[nodiscard]] SpriteType ReadRawSprite(ByteReader& stream);
[[nodiscard]] CellType ReadRawCell(ByteReader& stream);

/// Appends the gate stream of `gate`; fails only when there is no gate or
/// memory runs out.
[[nodiscard]] IoResult WriteGateTo(ByteWriter& stream, const GateType* gate);

/// Reads a gate stream into fresh records and, only when the whole stream was
/// read, replaces the contents of `gate` with them. The stored column and row
/// counts are taken as they stand.
[[nodiscard]] IoResult ReadGateFrom(ByteReader& stream, GateType* gate);

/// As above, showing a failure's message through the error seam.
bool WriteGate(ByteWriter& stream, const GateType* gate);
bool ReadGate(ByteReader& stream, GateType* gate);

} // namespace brakkon
