#include "GateStream.h"

#include <new>

namespace brakkon {

void WriteRawSprite(ByteWriter& s, const SpriteType& sp)
{
    s.WriteInt32(sp.Index);
    s.WriteByte(sp.Kind);
    s.WriteZeros(3);
    s.WriteInt32(sp.ImageGroup);
    s.WriteInt32(sp.Direction);
    s.WriteInt32(sp.Frame);
    s.WriteInt32(sp.Level);
    s.WriteInt32(sp.ReverseChance);
    s.WriteInt32(sp.TurnChance);
    s.WriteInt32(sp.BackChance);
    s.WriteInt32(sp.FireChance);
    s.WriteInt32(sp.StepPeriod);
    s.WriteInt32(sp.StepCount);
    s.WriteByte(sp.Active);
    s.WriteZeros(3);
    s.WriteInt32(sp.Shield);
    s.WriteInt32(sp.Col);
    s.WriteInt32(sp.Row);
    s.WriteInt32(sp.Left);
    s.WriteInt32(sp.Top);
    s.WriteInt32(sp.Right);
    s.WriteInt32(sp.Bottom);
    s.WriteInt32(sp.OffsetX);
    s.WriteInt32(sp.OffsetY);
    s.WriteInt32(sp.Armour);
    s.WriteByte(sp.Dirty);
    s.WriteZeros(3);
}

void WriteRawCell(ByteWriter& s, const CellType& c)
{
    s.WriteByte(c.Bonus);
    s.WriteZeros(3);
    s.WriteInt32(c.TopImage);
    s.WriteByte(c.Block);
    s.WriteZeros(3);
    s.WriteInt32(c.WallImage);
    s.WriteInt32(c.Hardness);
    s.WriteInt32(c.GroundImage);
    s.WriteInt32(c.Left);
    s.WriteInt32(c.Top);
    s.WriteInt32(c.Right);
    s.WriteInt32(c.Bottom);
    s.WriteByte(c.Dirty);
    s.WriteZeros(3);
}

SpriteType ReadRawSprite(ByteReader& stream)
{
    // Take the whole record first so a short one fails before anything is read.
    ByteReader s(stream.ReadBytes(RawSpriteSize));
    SpriteType sp;
    sp.Index = s.ReadInt32();
    sp.Kind = s.ReadByte();
    s.Skip(3);
    sp.ImageGroup = s.ReadInt32();
    sp.Direction = s.ReadInt32();
    sp.Frame = s.ReadInt32();
    sp.Level = s.ReadInt32();
    sp.ReverseChance = s.ReadInt32();
    sp.TurnChance = s.ReadInt32();
    sp.BackChance = s.ReadInt32();
    sp.FireChance = s.ReadInt32();
    sp.StepPeriod = s.ReadInt32();
    sp.StepCount = s.ReadInt32();
    sp.Active = s.ReadByte();
    s.Skip(3);
    sp.Shield = s.ReadInt32();
    sp.Col = s.ReadInt32();
    sp.Row = s.ReadInt32();
    sp.Left = s.ReadInt32();
    sp.Top = s.ReadInt32();
    sp.Right = s.ReadInt32();
    sp.Bottom = s.ReadInt32();
    sp.OffsetX = s.ReadInt32();
    sp.OffsetY = s.ReadInt32();
    sp.Armour = s.ReadInt32();
    sp.Dirty = s.ReadByte();
    return sp;
}

CellType ReadRawCell(ByteReader& stream)
{
    ByteReader s(stream.ReadBytes(RawCellSize));
    CellType c;
    c.Bonus = s.ReadByte();
    s.Skip(3);
    c.TopImage = s.ReadInt32();
    c.Block = s.ReadByte();
    s.Skip(3);
    c.WallImage = s.ReadInt32();
    c.Hardness = s.ReadInt32();
    c.GroundImage = s.ReadInt32();
    c.Left = s.ReadInt32();
    c.Top = s.ReadInt32();
    c.Right = s.ReadInt32();
    c.Bottom = s.ReadInt32();
    c.Dirty = s.ReadByte();
    return c;
}

IoResult WriteGateTo(ByteWriter& s, const GateType* gate)
{
    if (gate == nullptr) return IoResult::DataIo();
    try {
        for (std::int32_t v : {gate->GateNo, gate->PlayTime, gate->Lives1, gate->Lives2, gate->EnemiesLeft,
                               gate->Tank, gate->LargeTank, gate->ZJC, gate->KC, gate->Total, gate->NextGate})
            s.WriteInt32(v);
        s.WriteInt32(static_cast<std::int32_t>(gate->Sprites.size()));
        for (const auto& sprite : gate->Sprites) WriteRawSprite(s, *sprite);
        s.WriteInt32(static_cast<std::int32_t>(gate->Cells.size()));
        for (const auto& column : gate->Cells) {
            s.WriteInt32(static_cast<std::int32_t>(column.size()));
            for (const auto& cell : column) WriteRawCell(s, *cell);
        }
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo();
    }
    return IoResult::Ok();
}

IoResult ReadGateFrom(ByteReader& s, GateType* gate)
{
    if (gate == nullptr) return IoResult::DataIo();
    try {
        GateType fresh;
        for (std::int32_t* field : {&fresh.GateNo, &fresh.PlayTime, &fresh.Lives1, &fresh.Lives2, &fresh.EnemiesLeft,
                                    &fresh.Tank, &fresh.LargeTank, &fresh.ZJC, &fresh.KC, &fresh.Total,
                                    &fresh.NextGate})
            *field = s.ReadInt32();
        const std::size_t spriteCount = s.ReadCount(RawSpriteSize);
        fresh.Sprites.reserve(spriteCount);
        for (std::size_t i = 0; i < spriteCount; ++i)
            fresh.Sprites.push_back(std::make_unique<SpriteType>(ReadRawSprite(s)));
        const std::size_t columnCount = s.ReadCount(4);
        fresh.Cells.resize(columnCount);
        for (auto& column : fresh.Cells) {
            const std::size_t cellCount = s.ReadCount(RawCellSize);
            column.reserve(cellCount);
            for (std::size_t r = 0; r < cellCount; ++r) column.push_back(std::make_unique<CellType>(ReadRawCell(s)));
        }
        *gate = std::move(fresh);
    } catch (const StreamError&) {
        return IoResult::DataIo();
    } catch (const std::bad_alloc&) {
        return IoResult::DataIo();
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
