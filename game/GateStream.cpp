#include "game/GateStream.h"

#include <concepts>
#include <new>

namespace brakkon {
namespace {

// The raw records and the gate header are each listed once, field by field,
// and that one list both writes and reads them: a field is a little-endian
// int32, or a byte followed by three bytes of padding.
struct Writing {
    ByteWriter& Out;
    template <std::same_as<std::int32_t>... Fields>
    void Int(const Fields&... v)
    {
        (Out.WriteInt32(v), ...);
    }
    void Byte(std::uint8_t v)
    {
        Out.WriteByte(v);
        Out.WriteZeros(3);
    }
};

struct Reading {
    ByteReader& In;
    template <std::same_as<std::int32_t>... Fields>
    void Int(Fields&... v)
    {
        ((v = In.ReadInt32()), ...);
    }
    void Byte(std::uint8_t& v)
    {
        v = In.ReadByte();
        In.Skip(3); // padding, whatever it holds
    }
};

// Sprite, Cell and Gate are the record types, const when writing.
template <typename Stream, typename Sprite>
void RawSprite(Stream& s, Sprite& sp)
{
    s.Int(sp.Index);
    s.Byte(sp.Kind);
    s.Int(sp.ImageGroup, sp.Direction, sp.Frame, sp.Level, sp.ReverseChance, sp.TurnChance, sp.BackChance,
          sp.FireChance, sp.StepPeriod, sp.StepCount);
    s.Byte(sp.Active);
    s.Int(sp.Shield, sp.Col, sp.Row, sp.Left, sp.Top, sp.Right, sp.Bottom, sp.OffsetX, sp.OffsetY, sp.Armour);
    s.Byte(sp.Dirty);
}

template <typename Stream, typename Cell>
void RawCell(Stream& s, Cell& c)
{
    s.Byte(c.Bonus);
    s.Int(c.TopImage);
    s.Byte(c.Block);
    s.Int(c.WallImage, c.Hardness, c.GroundImage, c.Left, c.Top, c.Right, c.Bottom);
    s.Byte(c.Dirty);
}

template <typename Stream, typename Gate>
void GateHeader(Stream& s, Gate& g)
{
    s.Int(g.GateNo, g.PlayTime, g.Lives1, g.Lives2, g.EnemiesLeft, g.Tank, g.LargeTank, g.ZJC, g.KC, g.Total,
          g.NextGate);
}

// Takes the whole record first, so that a short one fails before any field is read.
template <typename Record>
Record ReadRecord(ByteReader& stream, std::size_t size, void (*fields)(Reading&, Record&))
{
    ByteReader bytes(stream.ReadBytes(size));
    Reading r{bytes};
    Record record;
    fields(r, record);
    return record;
}

} // namespace

void WriteRawSprite(ByteWriter& stream, const SpriteType& sprite)
{
    Writing w{stream};
    RawSprite(w, sprite);
}

void WriteRawCell(ByteWriter& stream, const CellType& cell)
{
    Writing w{stream};
    RawCell(w, cell);
}

SpriteType ReadRawSprite(ByteReader& stream)
{
    return ReadRecord<SpriteType>(stream, RawSpriteSize, RawSprite<Reading, SpriteType>);
}

CellType ReadRawCell(ByteReader& stream)
{
    return ReadRecord<CellType>(stream, RawCellSize, RawCell<Reading, CellType>);
}

IoResult WriteGateTo(ByteWriter& s, const GateType* gate)
{
    if (gate == nullptr) return IoResult::DataIo();
    try {
        Writing w{s};
        GateHeader(w, *gate);
        s.WriteInt32(static_cast<std::int32_t>(gate->Sprites.size()));
        for (const auto& sprite : gate->Sprites) WriteRawSprite(s, *sprite);
        s.WriteInt32(static_cast<std::int32_t>(gate->Cells.size()));
        for (const auto& column : gate->Cells) {
            s.WriteInt32(static_cast<std::int32_t>(column.size()));
            for (const auto& cell : column) WriteRawCell(s, *cell);
        }
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    return IoResult::Ok();
}

IoResult ReadGateFrom(ByteReader& s, GateType* gate)
{
    if (gate == nullptr) return IoResult::DataIo();
    try {
        GateType fresh;
        Reading r{s};
        GateHeader(r, fresh);
        const std::size_t spriteCount = s.ReadCount(RawSpriteSize);
        fresh.Sprites.reserve(spriteCount);
        for (std::size_t i = 0; i < spriteCount; ++i)
            fresh.Sprites.push_back(std::make_unique<SpriteType>(ReadRawSprite(s)));
        const std::size_t columnCount = s.ReadCount(4);
        fresh.Cells.resize(columnCount);
        for (auto& column : fresh.Cells) {
            const std::size_t cellCount = s.ReadCount(RawCellSize);
            column.reserve(cellCount);
            for (std::size_t row = 0; row < cellCount; ++row) column.push_back(std::make_unique<CellType>(ReadRawCell(s)));
        }
        *gate = std::move(fresh);
    } catch (const StreamError& e) {
        return IoResult::DataIo(e.what());
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo(WhyNoMemory);
    }
    return IoResult::Ok();
}

bool WriteGate(ByteWriter& stream, const GateType* gate)
{
    // A missing gate fails quietly, as the callers expect.
    if (gate == nullptr) return false;
    return Reported(WriteGateTo(stream, gate));
}

bool ReadGate(ByteReader& stream, GateType* gate)
{
    if (gate == nullptr) return false;
    return Reported(ReadGateFrom(stream, gate));
}

} // namespace brakkon
