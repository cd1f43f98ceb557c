// Fuzzes the key script reader of brakkon-sim: it refuses damage with a
// message naming the script and leaves the events it had; a script it read
// gives its events in tick order.
#include "sim/SimKeys.h"

#include <cstdlib>
#include <string_view>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<KeyEvent> events{KeyEvent{7, false, VkUp}};
    const TextResult read = ReadKeyScript(TextSource::FromString("keys", text), events);
    if (!read) {
        if (read.Message.rfind("keys:", 0) != 0 || events.size() != 1 || events[0].Tick != 7) std::abort();
        return 0;
    }
    for (std::size_t i = 0; i < events.size(); ++i)
        if (events[i].Tick < 0 || (i > 0 && events[i].Tick < events[i - 1].Tick)) std::abort();
    return 0;
}
