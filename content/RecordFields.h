// The fields of the cell and sprite records by name, for the "cell" and
// "sprite" lines of gate files: each with a getter and a setter and whether
// it is a byte field (0 to 255) or a 32-bit integer.
#pragma once

#include "Records.h"

#include <string_view>
#include <vector>

namespace brakkon {

template <typename Record>
struct RecordField {
    std::string_view Name;
    bool IsByte;
    std::int32_t (*Get)(const Record&);
    void (*Set)(Record&, std::int32_t);
};

/// The eleven cell fields in record order.
[[nodiscard]] const std::vector<RecordField<CellType>>& CellFields();
/// The twenty-four sprite fields in record order.
[[nodiscard]] const std::vector<RecordField<SpriteType>>& SpriteFields();

/// The field of that name, or nullptr.
template <typename Record>
[[nodiscard]] const RecordField<Record>* FindField(const std::vector<RecordField<Record>>& fields, std::string_view name)
{
    for (const auto& f : fields)
        if (f.Name == name) return &f;
    return nullptr;
}

/// True when value fits the field (a byte field takes 0 to 255).
template <typename Record>
[[nodiscard]] bool FitsField(const RecordField<Record>& field, std::int32_t value)
{
    return !field.IsByte || (value >= 0 && value <= 255);
}

} // namespace brakkon
