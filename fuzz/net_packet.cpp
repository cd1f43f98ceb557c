// Fuzzes the decoder of network packets, as either side would read them: it
// refuses damage with a reason; what it reads is written back to the same
// bytes; and a start it reads goes on through the start's own reader (the
// replay reader and the saved-game loader), a saved game the host loads
// through the saved-game loader.
#include "net/Protocol.h"
#include "net/SimSlots.h"
#include "game/SavedGame.h"

#include <cstdlib>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    for (const Side sender : {Side::Host, Side::Joiner}) {
        const Decoded decoded = Decode(bytes, sender);
        if (!decoded) {
            if (decoded.Error.empty()) std::abort();
            continue;
        }
        const std::vector<std::uint8_t> again = Encode(*decoded.Value);
        if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) std::abort();
        if (const auto* load = std::get_if<LoadMessage>(&*decoded.Value)) {
            GateType gate;
            (void)DecodeSavedGame(load->Bytes, gate);
        }
        if (const auto* start = std::get_if<StartMessage>(&*decoded.Value)) {
            Replay replay;
            replay.Ticks = 9;
            const TextResult read = ReadNetStart(start->Replay, replay);
            if (!read && replay.Ticks != 9) std::abort();
            if (read && (replay.Events.size() != 1 || replay.SavedGames.size() != 1)) std::abort();
        }
    }
    return 0;
}
