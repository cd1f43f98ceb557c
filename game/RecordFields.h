// The fields of the records by name, in record order: the sprite's 24, the
// cell's 11 and the eleven integers of a gate's header. Whatever shows, reads
// or compares records field by field walks these tables: the JSON forms, the
// summary of brakkon-data info, the gate text files and the tests. The binary
// gate stream (GateStream.cpp) is written out field by field on its own and is
// checked against the byte offsets of the records in the tests.
#pragma once

#include "game/Records.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace brakkon {

/// One field of a record: its name and the member it names, an int32_t or a
/// byte (uint8_t, 0 to 255), read and written as an integer.
template <typename Record>
struct RecordField {
    std::string_view Name;
    std::int32_t Record::*Int = nullptr;  ///< set for an int32_t field
    std::uint8_t Record::*Byte = nullptr; ///< set for a byte field

    constexpr RecordField(std::string_view name, std::int32_t Record::*member) : Name(name), Int(member) {}
    constexpr RecordField(std::string_view name, std::uint8_t Record::*member) : Name(name), Byte(member) {}

    [[nodiscard]] constexpr bool IsByte() const { return Byte != nullptr; }
    [[nodiscard]] constexpr std::int32_t Get(const Record& r) const { return Byte != nullptr ? r.*Byte : r.*Int; }
    /// A byte field keeps the low eight bits.
    constexpr void Set(Record& r, std::int32_t v) const
    {
        if (Byte != nullptr)
            r.*Byte = static_cast<std::uint8_t>(v);
        else
            r.*Int = v;
    }
};

/// The twenty-four sprite fields, Index to Dirty.
[[nodiscard]] std::span<const RecordField<SpriteType>> SpriteFields();

/// The eleven cell fields, Bonus to Dirty.
[[nodiscard]] std::span<const RecordField<CellType>> CellFields();
/// A cell's first six fields, Bonus to GroundImage: what lies in it. The last
/// five, its pixel rectangle and Dirty, only place and mark it.
[[nodiscard]] std::span<const RecordField<CellType>> CellContentFields();

/// The eleven integers that head a gate: GateNo, PlayTime, Lives1, Lives2 and
/// EnemiesLeft, the running totals of the game in progress, then Tank,
/// LargeTank, ZJC, KC, Total and NextGate, the gate's own figures.
[[nodiscard]] std::span<const RecordField<GateType>> GateHeaderFields();
constexpr std::size_t GateRunningFieldCount = 5;

/// The field of that name, or nullptr.
template <typename Record>
[[nodiscard]] const RecordField<Record>* FindField(std::span<const RecordField<Record>> fields, std::string_view name)
{
    for (const auto& f : fields)
        if (f.Name == name) return &f;
    return nullptr;
}

/// True when value fits the field (a byte field takes 0 to 255).
template <typename Record>
[[nodiscard]] bool FitsField(const RecordField<Record>& field, std::int32_t value)
{
    return !field.IsByte() || (value >= 0 && value <= 255);
}

} // namespace brakkon
