// The gate stream and its raw records: byte layout and round trips.
#include "game/GateStream.h"
#include "game/RecordFields.h"
#include "tests/TestSupport.h"

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

// Where each field lies in the stream, written down apart from the code: a
// field of the record table (RecordFields.h) gets a distinct value, is
// written, found at this offset and read back. The tables must name the same
// fields in the same order as the record table.
struct FieldAt {
    std::string_view name;
    std::size_t offset;
    bool isByte; ///< one byte and three of padding, else a little-endian int32
};

constexpr FieldAt SpriteOffsets[] = {
    {"Index", 0, false},   {"Kind", 4, true},        {"ImageGroup", 8, false},     {"Direction", 12, false},
    {"Frame", 16, false},  {"Level", 20, false},     {"ReverseChance", 24, false}, {"TurnChance", 28, false},
    {"BackChance", 32, false}, {"FireChance", 36, false}, {"StepPeriod", 40, false}, {"StepCount", 44, false},
    {"Active", 48, true},  {"Shield", 52, false},    {"Col", 56, false},           {"Row", 60, false},
    {"Left", 64, false},   {"Top", 68, false},       {"Right", 72, false},         {"Bottom", 76, false},
    {"OffsetX", 80, false}, {"OffsetY", 84, false},  {"Armour", 88, false},        {"Dirty", 92, true},
};

constexpr FieldAt CellOffsets[] = {
    {"Bonus", 0, true},   {"TopImage", 4, false}, {"Block", 8, true},   {"WallImage", 12, false},
    {"Hardness", 16, false}, {"GroundImage", 20, false}, {"Left", 24, false}, {"Top", 28, false},
    {"Right", 32, false}, {"Bottom", 36, false},  {"Dirty", 40, true},
};

constexpr FieldAt GateHeaderOffsets[] = {
    {"GateNo", 0, false}, {"PlayTime", 4, false}, {"Lives1", 8, false},    {"Lives2", 12, false},
    {"EnemiesLeft", 16, false}, {"Tank", 20, false}, {"LargeTank", 24, false}, {"ZJC", 28, false},
    {"KC", 32, false},    {"Total", 36, false},   {"NextGate", 40, false},
};

// The gate header alone: a gate with no sprites and no columns.
void WriteHeader(ByteWriter& w, const GateType& gate)
{
    EXPECT_TRUE(WriteGate(w, &gate));
}

GateType ReadHeader(ByteReader& r)
{
    GateType gate;
    EXPECT_TRUE(ReadGate(r, &gate));
    return gate;
}

template <typename Record>
void ExpectFieldsAtTheirOffsets(std::span<const FieldAt> offsets, std::span<const RecordField<Record>> fields,
                                void (*write)(ByteWriter&, const Record&), Record (*read)(ByteReader&),
                                std::size_t size)
{
    ASSERT_EQ(offsets.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const FieldAt& at = offsets[i];
        SCOPED_TRACE(at.name);
        ASSERT_EQ(fields[i].Name, at.name);
        ASSERT_EQ(fields[i].IsByte(), at.isByte);
        for (std::int32_t value : {at.isByte ? 0xA5 : -123456789, at.isByte ? 1 : 0x7FFFFFFF}) {
            Record record;
            fields[i].Set(record, value);
            ByteWriter w;
            write(w, record);
            const auto& bytes = w.Bytes();
            ASSERT_EQ(bytes.size(), size);
            if (at.isByte) {
                EXPECT_EQ(bytes[at.offset], static_cast<std::uint8_t>(value));
                EXPECT_EQ(ReadLe32(bytes, at.offset) & ~0xFF, 0); // padding written as zeros
            } else {
                EXPECT_EQ(ReadLe32(bytes, at.offset), value);
            }
            ByteReader r(bytes);
            EXPECT_EQ(fields[i].Get(read(r)), value);
        }
    }
}

TEST(RawRecords, EveryFieldSitsAtItsOffsetAndRoundTrips)
{
    ExpectFieldsAtTheirOffsets<SpriteType>(SpriteOffsets, SpriteFields(), WriteRawSprite, ReadRawSprite, RawSpriteSize);
    ExpectFieldsAtTheirOffsets<CellType>(CellOffsets, CellFields(), WriteRawCell, ReadRawCell, RawCellSize);
    ExpectFieldsAtTheirOffsets<GateType>(GateHeaderOffsets, GateHeaderFields(), WriteHeader, ReadHeader,
                                         MinGateStreamSize);
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
             g->Cells[1].push_back(std::make_unique<CellType>(NewCell(1, 0)));
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
