// Fuzzes the saved-game reader: a refused file leaves the working gate as it
// was; an accepted one holds only sprites the engine can index.
#include "game/GateStream.h"
#include "game/SavedGame.h"

#include <cstdlib>

using namespace brakkon;

namespace {

std::vector<std::uint8_t> Encode(const GateType& gate)
{
    std::vector<std::uint8_t> bytes;
    if (!EncodeSavedGame(gate, bytes)) std::abort();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GateType working;
    working.GateNo = 7;
    const auto before = Encode(working);

    if (!DecodeSavedGame(std::span(data, size), working)) {
        if (Encode(working) != before) std::abort();
        return 0;
    }
    if (working.Cells.size() != FieldCols || working.Sprites.size() < 2) std::abort();
    for (const auto& column : working.Cells)
        if (column.size() != FieldRows) std::abort();
    for (const auto& sprite : working.Sprites)
        if (!SpriteInField(*sprite) || sprite->Index < 0) std::abort();
    if (working.Sprites[0]->Kind != KindPlayer1 || working.Sprites[1]->Kind != KindPlayer2) std::abort();
    const auto written = Encode(working);
    GateType again;
    if (!DecodeSavedGame(written, again) || Encode(again) != written) std::abort();
    return 0;
}
