// Fuzzes the gate stream reader: a failed read leaves the gate as it was, and
// a gate that was read writes and reads back to the same bytes.
#include "game/GateStream.h"

#include <cstdlib>

using namespace brakkon;

namespace {

std::vector<std::uint8_t> Encode(const GateType& gate)
{
    ByteWriter w;
    if (!WriteGateTo(w, &gate)) std::abort();
    return w.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GateType gate;
    gate.GateNo = 42;
    gate.Sprites.push_back(std::make_unique<SpriteType>());
    const auto before = Encode(gate);

    ByteReader reader(std::span(data, size));
    if (!ReadGateFrom(reader, &gate)) {
        if (Encode(gate) != before) std::abort();
        return 0;
    }
    const auto written = Encode(gate);
    if (written.size() != reader.Position()) std::abort();
    GateType again;
    ByteReader second(written);
    if (!ReadGateFrom(second, &again) || Encode(again) != written) std::abort();
    return 0;
}
