// Fuzzes the decoder of the datagrams that find games on the local network:
// it refuses damage with a reason, and what it reads is written back to the
// same bytes. Any bytes made a game's name go out as an answer it reads.
#include "net/Discovery.h"

#include <algorithm>
#include <cstdlib>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const DecodedDatagram decoded = DecodeDatagram(bytes);
    if (!decoded && decoded.Error.empty()) std::abort();
    if (decoded) {
        const std::vector<std::uint8_t> again = EncodeDatagram(*decoded.Value);
        if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) std::abort();
    }
    const AnswerDatagram answer{ProtocolVersion, DefaultPort, {}, GameName({reinterpret_cast<const char*>(data), size})};
    const DecodedDatagram named = DecodeDatagram(EncodeDatagram(answer));
    if (!named || *named.Value != Datagram(answer)) std::abort();
    return 0;
}
