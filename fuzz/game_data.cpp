// Fuzzes the "Game.dat" reader: a refused file leaves the game data as it
// was, and an accepted one writes back to the same bytes it was read from.
#include "game/GameData.h"

#include <cstdlib>

using namespace brakkon;

namespace {

std::vector<std::uint8_t> Encode(const GameType& game)
{
    std::vector<std::uint8_t> bytes;
    if (!EncodeGameDataFile(game, bytes)) std::abort();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GameType game;
    game.Gates.push_back(std::make_unique<GateType>());
    const auto before = Encode(game);

    const std::span<const std::uint8_t> input(data, size);
    if (!DecodeGameDataFile(input, &game)) {
        if (Encode(game) != before) std::abort();
        return 0;
    }
    // Readers ignore padding, and the input may carry bytes after the data:
    // compare what was written with a second read of it instead.
    const auto written = Encode(game);
    if (written.size() > size) std::abort();
    GameType again;
    if (!DecodeGameDataFile(written, &again) || Encode(again) != written) std::abort();
    return 0;
}
