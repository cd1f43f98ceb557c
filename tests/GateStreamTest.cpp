// The gate stream and its raw records: byte layout and round trips.
#include "GateStream.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace brakkon {
namespace {

using test::ErrorRecorder;
using test::MakeGate;

std::int32_t ReadLe32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

// Every field of the raw sprite record at its offset: a distinct value is set,
// written, found at the documented offset and read back.
struct SpriteFieldCase {
    const char* name;
    std::size_t offset;
    bool isByte;
    std::function<void(SpriteType&, std::int32_t)> set;
};

const std::vector<SpriteFieldCase>& SpriteFields()
{
    static const std::vector<SpriteFieldCase> cases = {
        {"Index", 0, false, [](SpriteType& s, std::int32_t v) { s.Index = v; }},
        {"Kind", 4, true, [](SpriteType& s, std::int32_t v) { s.Kind = static_cast<std::uint8_t>(v); }},
        {"ImageGroup", 8, false, [](SpriteType& s, std::int32_t v) { s.ImageGroup = v; }},
        {"Direction", 12, false, [](SpriteType& s, std::int32_t v) { s.Direction = v; }},
        {"Frame", 16, false, [](SpriteType& s, std::int32_t v) { s.Frame = v; }},
        {"Level", 20, false, [](SpriteType& s, std::int32_t v) { s.Level = v; }},
        {"ReverseChance", 24, false, [](SpriteType& s, std::int32_t v) { s.ReverseChance = v; }},
        {"TurnChance", 28, false, [](SpriteType& s, std::int32_t v) { s.TurnChance = v; }},
        {"BackChance", 32, false, [](SpriteType& s, std::int32_t v) { s.BackChance = v; }},
        {"FireChance", 36, false, [](SpriteType& s, std::int32_t v) { s.FireChance = v; }},
        {"StepPeriod", 40, false, [](SpriteType& s, std::int32_t v) { s.StepPeriod = v; }},
        {"StepCount", 44, false, [](SpriteType& s, std::int32_t v) { s.StepCount = v; }},
        {"Active", 48, true, [](SpriteType& s, std::int32_t v) { s.Active = static_cast<std::uint8_t>(v); }},
        {"Shield", 52, false, [](SpriteType& s, std::int32_t v) { s.Shield = v; }},
        {"Col", 56, false, [](SpriteType& s, std::int32_t v) { s.Col = v; }},
        {"Row", 60, false, [](SpriteType& s, std::int32_t v) { s.Row = v; }},
        {"Left", 64, false, [](SpriteType& s, std::int32_t v) { s.Left = v; }},
        {"Top", 68, false, [](SpriteType& s, std::int32_t v) { s.Top = v; }},
        {"Right", 72, false, [](SpriteType& s, std::int32_t v) { s.Right = v; }},
        {"Bottom", 76, false, [](SpriteType& s, std::int32_t v) { s.Bottom = v; }},
        {"OffsetX", 80, false, [](SpriteType& s, std::int32_t v) { s.OffsetX = v; }},
        {"OffsetY", 84, false, [](SpriteType& s, std::int32_t v) { s.OffsetY = v; }},
        {"Armour", 88, false, [](SpriteType& s, std::int32_t v) { s.Armour = v; }},
        {"Dirty", 92, true, [](SpriteType& s, std::int32_t v) { s.Dirty = static_cast<std::uint8_t>(v); }},
    };
    return cases;
}

struct CellFieldCase {
    const char* name;
    std::size_t offset;
    bool isByte;
    std::function<void(CellType&, std::int32_t)> set;
};

const std::vector<CellFieldCase>& CellFields()
{
    static const std::vector<CellFieldCase> cases = {
        {"Bonus", 0, true, [](CellType& c, std::int32_t v) { c.Bonus = static_cast<std::uint8_t>(v); }},
        {"TopImage", 4, false, [](CellType& c, std::int32_t v) { c.TopImage = v; }},
        {"Block", 8, true, [](CellType& c, std::int32_t v) { c.Block = static_cast<std::uint8_t>(v); }},
        {"WallImage", 12, false, [](CellType& c, std::int32_t v) { c.WallImage = v; }},
        {"Hardness", 16, false, [](CellType& c, std::int32_t v) { c.Hardness = v; }},
        {"GroundImage", 20, false, [](CellType& c, std::int32_t v) { c.GroundImage = v; }},
        {"Left", 24, false, [](CellType& c, std::int32_t v) { c.Left = v; }},
        {"Top", 28, false, [](CellType& c, std::int32_t v) { c.Top = v; }},
        {"Right", 32, false, [](CellType& c, std::int32_t v) { c.Right = v; }},
        {"Bottom", 36, false, [](CellType& c, std::int32_t v) { c.Bottom = v; }},
        {"Dirty", 40, true, [](CellType& c, std::int32_t v) { c.Dirty = static_cast<std::uint8_t>(v); }},
    };
    return cases;
}

TEST(RawSprite, EveryFieldSitsAtItsOffsetAndRoundTrips)
{
    for (const auto& field : SpriteFields()) {
        for (std::int32_t value : {field.isByte ? 0xA5 : -123456789, field.isByte ? 1 : 0x7FFFFFFF}) {
            SCOPED_TRACE(field.name);
            SpriteType sprite;
            field.set(sprite, value);
            ByteWriter w;
            WriteRawSprite(w, sprite);
            const auto& bytes = w.Bytes();
            ASSERT_EQ(bytes.size(), RawSpriteSize);
            if (field.isByte)
                EXPECT_EQ(bytes[field.offset], static_cast<std::uint8_t>(value));
            else
                EXPECT_EQ(ReadLe32(bytes, field.offset), value);
            ByteReader r(bytes);
            EXPECT_EQ(ReadRawSprite(r), sprite);
        }
    }
}

TEST(RawCell, EveryFieldSitsAtItsOffsetAndRoundTrips)
{
    for (const auto& field : CellFields()) {
        for (std::int32_t value : {field.isByte ? 0xA5 : -987654321, field.isByte ? 2 : 0x7FFFFFFF}) {
            SCOPED_TRACE(field.name);
            CellType cell;
            field.set(cell, value);
            ByteWriter w;
            WriteRawCell(w, cell);
            const auto& bytes = w.Bytes();
            ASSERT_EQ(bytes.size(), RawCellSize);
            if (field.isByte)
                EXPECT_EQ(bytes[field.offset], static_cast<std::uint8_t>(value));
            else
                EXPECT_EQ(ReadLe32(bytes, field.offset), value);
            ByteReader r(bytes);
            EXPECT_EQ(ReadRawCell(r), cell);
        }
    }
}

TEST(RawRecords, PaddingIsIgnoredWhenReading)
{
    SpriteType sprite = test::SpriteAt(KindEnemy, 3, 4, 7);
    ByteWriter w;
    WriteRawSprite(w, sprite);
    auto bytes = w.Bytes();
    for (std::size_t at : {5, 6, 7, 49, 50, 51, 93, 94, 95}) bytes[at] = 0xEE;
    ByteReader r(bytes);
    EXPECT_EQ(ReadRawSprite(r), sprite);
}

using test::ExpectSameGate;

// Gate shapes that the stream must carry as they stand.
struct GateShapeCase {
    const char* name;
    std::function<std::unique_ptr<GateType>()> make;
    std::size_t expectedSize;
};

TEST(GateStream, ShapesRoundTripWithTheExactLength)
{
    const std::vector<GateShapeCase> cases = {
        {"empty gate", [] { return std::make_unique<GateType>(); }, MinGateStreamSize},
        {"no sprites, full grid", [] { return MakeGate(3, 3, 5, 2, 20, 1); },
         MinGateStreamSize + FieldCols * (4 + FieldRows * RawCellSize)},
        {"a column with no cells",
         [] {
             auto g = std::make_unique<GateType>();
             g->Cells.resize(2);
             g->Cells[1].push_back(std::make_unique<CellType>(test::ClearCell(1, 0)));
             return g;
         },
         MinGateStreamSize + 4 + 4 + RawCellSize},
        {"sprites and totals",
         [] {
             auto g = MakeGate(1, 0, 0, 0, 4, 7);
             g->GateNo = 5;
             g->PlayTime = 3661;
             g->Lives1 = 3;
             g->Lives2 = 0;
             g->EnemiesLeft = -2;
             for (std::int32_t i = 0; i < 3; ++i)
                 g->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(static_cast<std::uint8_t>(i), i, i, i)));
             return g;
         },
         MinGateStreamSize + 3 * RawSpriteSize + FieldCols * (4 + FieldRows * RawCellSize)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto original = c.make();
        ByteWriter w;
        ASSERT_TRUE(WriteGate(w, original.get()));
        EXPECT_EQ(w.Size(), c.expectedSize);
        GateType copy;
        ByteReader r(w.Bytes());
        ASSERT_TRUE(ReadGate(r, &copy));
        EXPECT_EQ(r.Remaining(), 0u);
        ExpectSameGate(*original, copy);
    }
}

TEST(GateStream, MissingGateFailsQuietly)
{
    ErrorRecorder errors;
    ByteWriter w;
    EXPECT_FALSE(WriteGate(w, nullptr));
    EXPECT_EQ(w.Size(), 0u);
    ByteReader r(w.Bytes());
    EXPECT_FALSE(ReadGate(r, nullptr));
    EXPECT_TRUE(errors.messages.empty());
}

TEST(GateStream, EveryTruncationGivesOneMessageAndLeavesTheGate)
{
    auto original = MakeGate(1, 2, 3, 4, 10, 2);
    original->Cells.resize(3); // the stream takes any map; a small one keeps this quick
    original->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 11, 13, 0)));
    ByteWriter w;
    ASSERT_TRUE(WriteGate(w, original.get()));
    const auto& bytes = w.Bytes();

    auto before = MakeGate(9, 9, 9, 9, 99, 5);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        ErrorRecorder errors;
        GateType target;
        target = std::move(*MakeGate(9, 9, 9, 9, 99, 5));
        ByteReader r(std::span<const std::uint8_t>(bytes).first(cut));
        ASSERT_FALSE(ReadGate(r, &target)) << "cut at " << cut;
        ASSERT_EQ(errors.messages, std::vector<std::string>{"Data IO Error"}) << "cut at " << cut;
        ExpectSameGate(*before, target);
    }
}

TEST(GateStream, DamagedCountsAreRefusedBeforeAllocating)
{
    // Sprite, column and cell counts that promise more than the bytes hold.
    for (std::int32_t count : {-1, 2, 0x7FFFFFFF}) {
        for (std::size_t at : {GateHeaderSize, GateHeaderSize + 4, GateHeaderSize + 8}) {
            ByteWriter w;
            for (int i = 0; i < 11; ++i) w.WriteInt32(0);
            w.WriteInt32(0); // sprites
            w.WriteInt32(1); // one column
            w.WriteInt32(0); // of no cells
            auto bytes = w.TakeBytes();
            bytes[at] = static_cast<std::uint8_t>(count);
            bytes[at + 1] = static_cast<std::uint8_t>(count >> 8);
            bytes[at + 2] = static_cast<std::uint8_t>(count >> 16);
            bytes[at + 3] = static_cast<std::uint8_t>(count >> 24);
            ErrorRecorder errors;
            GateType gate;
            ByteReader r(bytes);
            EXPECT_FALSE(ReadGate(r, &gate)) << "count " << count << " at " << at;
            EXPECT_EQ(errors.messages.size(), 1u);
        }
    }
}

} // namespace
} // namespace brakkon
