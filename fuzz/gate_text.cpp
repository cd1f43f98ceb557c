// Fuzzes the gate file reader: it refuses damage with a message naming the
// file and never hands over part of a gate; a gate it accepted is written and
// read back to the same text.
#include "content/GateText.h"

#include <cstdlib>
#include <string_view>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    GateType gate;
    gate.Total = 12345;
    const TextResult read = ReadGateText(TextSource::FromString("gate.txt", text), gate);
    if (!read) {
        if (read.Message.rfind("gate.txt", 0) != 0 || gate.Total != 12345 || !gate.Cells.empty()) std::abort();
        return 0;
    }
    std::string written;
    if (!WriteGateText(gate, written)) std::abort();
    GateType again;
    std::string rewritten;
    if (!ReadGateText(TextSource::FromString("again.txt", written), again) || !WriteGateText(again, rewritten) ||
        rewritten != written)
        std::abort();
    return 0;
}
