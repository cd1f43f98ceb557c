// Fuzzes the replay reader: it refuses damage with a message naming the file
// and leaves the replay it had; a replay it read is written back as text that
// reads again to the same text, with its events in tick order.
#include "sim/Replay.h"

#include <cstdlib>
#include <string_view>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    replay.Ticks = 7;
    const TextResult read = ReadReplay(TextSource::FromString("replay", text), replay);
    if (!read) {
        if (read.Message.rfind("replay:", 0) != 0 || replay.Ticks != 7 || !replay.Events.empty()) std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < replay.Events.size(); ++i)
        if (replay.Events[i].Tick > replay.Ticks || (i > 0 && replay.Events[i].Tick < replay.Events[i - 1].Tick))
            std::abort();
    const std::string written = WriteReplayText(replay);
    Replay again;
    if (!ReadReplay(TextSource::FromString("replay", written), again) || WriteReplayText(again) != written)
        std::abort();
    return 0;
}
