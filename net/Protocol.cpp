#include "net/Protocol.h"

#include "net/Bytes.h"

namespace brakkon {
namespace {

enum class Type : std::uint8_t { Hello = 1, Busy = 2, Start = 3, Inputs = 4, Hash = 5, Bye = 6, Desync = 7, Load = 8 };

using Writer = ByteWriter;
using Reader = ByteReader;

Decoded Refused(std::string why) { return {std::nullopt, std::move(why)}; }

void EncodeSlot(Writer& w, const SlotInput& slot)
{
    w.Put(slot.Count);
    for (const NetKey& key : slot.Events()) {
        w.Put(static_cast<std::uint8_t>(key.Press ? 1 : 0));
        w.Put(key.Key);
    }
}

struct EncodeVisitor {
    Writer& W;
    void operator()(const HelloMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Hello));
        W.Put(ProtocolMagic);
        W.Put(m.Version);
        W.Put(m.Data.Size);
        W.Put(m.Data.Checksum);
    }
    void operator()(const BusyMessage&) { W.Put(static_cast<std::uint8_t>(Type::Busy)); }
    void operator()(const StartMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Start));
        W.Put(m.Ticks);
        W.Put(m.Interval);
        W.Put(static_cast<std::uint32_t>(m.Replay.size()));
        W.PutBytes(m.Replay);
    }
    void operator()(const InputsMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Inputs));
        W.Put(m.Ack);
        W.Put(m.Now);
        W.Put(m.First);
        W.Put(static_cast<std::uint16_t>(m.Slots.size()));
        for (const SlotInput& slot : m.Slots) EncodeSlot(W, slot);
    }
    void operator()(const HashMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Hash));
        W.Put(m.Slot);
        W.Put(m.Hash);
    }
    void operator()(const ByeMessage&) { W.Put(static_cast<std::uint8_t>(Type::Bye)); }
    void operator()(const DesyncMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Desync));
        W.Put(m.Slot);
    }
    void operator()(const LoadMessage& m)
    {
        W.Put(static_cast<std::uint8_t>(Type::Load));
        W.Put(m.Index);
        W.Put(static_cast<std::uint32_t>(m.Bytes.size()));
        W.PutBytes(std::string_view(reinterpret_cast<const char*>(m.Bytes.data()), m.Bytes.size()));
    }
};

/// One slot's keys; an empty string when they were read.
std::string DecodeSlot(Reader& r, Side sender, SlotInput& slot)
{
    std::uint8_t count = 0;
    if (!r.Get(count)) return "an input cut short";
    if (count > MaxKeysPerSlot) return "more than 16 keys in one tick";
    for (std::uint8_t i = 0; i < count; ++i) {
        std::uint8_t press = 0;
        KeyCode key = 0;
        if (!r.Get(press) || !r.Get(key)) return "a key cut short";
        if (press > 1) return "a key neither pressed nor released";
        if (!SideMaySend(sender, key)) return "key " + std::to_string(key) + " is not the sender's";
        slot.Add(press == 1, key);
    }
    return {};
}

Decoded DecodeInputs(Reader& r, Side sender)
{
    InputsMessage m;
    std::uint16_t count = 0;
    if (!r.Get(m.Ack) || !r.Get(m.Now) || !r.Get(m.First) || !r.Get(count)) return Refused("inputs cut short");
    if (count > MaxSlotsPerMessage) return Refused("too many ticks in one message");
    if (m.Ack > MaxSlot || m.Now > MaxSlot || m.First > MaxSlot - count) return Refused("a tick out of range");
    m.Slots.resize(count);
    for (SlotInput& slot : m.Slots)
        if (std::string why = DecodeSlot(r, sender, slot); !why.empty()) return Refused(std::move(why));
    return {std::move(m), {}};
}

Decoded DecodeStart(Reader& r, Side sender)
{
    if (sender != Side::Host) return Refused("a start from the joining side");
    StartMessage m;
    std::uint32_t size = 0;
    if (!r.Get(m.Ticks) || !r.Get(m.Interval) || !r.Get(size)) return Refused("a start cut short");
    if (m.Ticks > MaxSlot && m.Ticks != EndlessGame) return Refused("a game too long");
    if (m.Interval <= 0 || m.Interval > MaxInterval) return Refused("a tick interval out of range");
    if (size > MaxStartText || size != r.Left()) return Refused("a start text of the wrong size");
    if (!r.GetText(size, m.Replay)) return Refused("a start cut short");
    return {std::move(m), {}};
}

Decoded DecodeBody(Type type, Reader& r, Side sender)
{
    switch (type) {
    case Type::Hello: {
        HelloMessage m;
        std::uint32_t magic = 0;
        if (!r.Get(magic) || magic != ProtocolMagic) return Refused("not a Brakkon game");
        if (!r.Get(m.Version) || !r.Get(m.Data.Size) || !r.Get(m.Data.Checksum)) return Refused("a greeting cut short");
        return {m, {}};
    }
    case Type::Busy:
        if (sender != Side::Host) return Refused("a refusal from the joining side");
        return {BusyMessage{}, {}};
    case Type::Start: return DecodeStart(r, sender);
    case Type::Inputs: return DecodeInputs(r, sender);
    case Type::Hash: {
        HashMessage m;
        if (!r.Get(m.Slot) || !r.Get(m.Hash)) return Refused("a hash cut short");
        if (m.Slot > MaxSlot) return Refused("a tick out of range");
        return {m, {}};
    }
    case Type::Bye: return {ByeMessage{}, {}};
    case Type::Load: {
        if (sender != Side::Host) return Refused("a saved game from the joining side");
        LoadMessage m;
        std::uint32_t size = 0;
        if (!r.Get(m.Index) || !r.Get(size)) return Refused("a saved game cut short");
        if (m.Index >= MaxLoads) return Refused("too many saved games");
        if (size > MaxStartText || size != r.Left()) return Refused("a saved game of the wrong size");
        std::string bytes;
        if (!r.GetText(size, bytes)) return Refused("a saved game cut short");
        m.Bytes.assign(bytes.begin(), bytes.end());
        return {std::move(m), {}};
    }
    case Type::Desync: {
        DesyncMessage m;
        if (!r.Get(m.Slot)) return Refused("a desync notice cut short");
        if (m.Slot > MaxSlot) return Refused("a tick out of range");
        return {m, {}};
    }
    }
    return Refused("an unknown message");
}

} // namespace

bool SideMaySend(Side side, KeyCode key)
{
    if (key == VkF1 || key == VkEscape) return true;
    if (side == Side::Host && (key == NetNewGame || StepOfNetKey(key) != 0 || LoadOfNetKey(key) >= 0)) return true;
    const PlayerType& p = side == Side::Host ? Player1Keys : Player2Keys;
    return key == p.LeftKey || key == p.RightKey || key == p.UpKey || key == p.DownKey || key == p.FireKey;
}

std::vector<std::uint8_t> Encode(const Message& message)
{
    Writer w;
    std::visit(EncodeVisitor{w}, message);
    return w.Take();
}

Decoded Decode(std::span<const std::uint8_t> bytes, Side sender)
{
    Reader r(bytes);
    std::uint8_t type = 0;
    if (!r.Get(type)) return Refused("an empty message");
    if (type < static_cast<std::uint8_t>(Type::Hello) || type > static_cast<std::uint8_t>(Type::Load))
        return Refused("an unknown message");
    Decoded d = DecodeBody(static_cast<Type>(type), r, sender);
    if (d.Value && r.Left() != 0) return Refused("bytes after the end of a message");
    return d;
}

} // namespace brakkon
