// JSON forms of the game records, shared by brakkon-data and brakkon-sim.
// Every record field appears under its own name, in record order (the
// tables of RecordFields.h).
#pragma once

#include "content/Json.h"
#include "game/Records.h"

namespace brakkon {

void WriteSpriteJson(JsonWriter& json, const SpriteType& sprite);
void WriteCellJson(JsonWriter& json, const CellType& cell);

/// A gate object: the eleven integers by name, then "Sprites" and "Cells".
/// Brief gives the sprite count and the cell count of each column instead.
void WriteGateJson(JsonWriter& json, const GateType& gate, bool brief = false);

/// The "Images" member's value: per group, the frame count of each image.
void WriteImageCountsJson(JsonWriter& json, const std::vector<ImageGroup>& images);

} // namespace brakkon
