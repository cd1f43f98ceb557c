#include "content/GateJson.h"

#include "game/RecordFields.h"

namespace brakkon {
namespace {

template <typename Record>
void WriteFields(JsonWriter& j, const Record& record, std::span<const RecordField<Record>> fields)
{
    for (const auto& f : fields) j.Member(f.Name, f.Get(record));
}

} // namespace

void WriteSpriteJson(JsonWriter& j, const SpriteType& s)
{
    j.BeginObject();
    WriteFields(j, s, SpriteFields());
    j.EndObject();
}

void WriteCellJson(JsonWriter& j, const CellType& c)
{
    j.BeginObject();
    WriteFields(j, c, CellFields());
    j.EndObject();
}

void WriteGateJson(JsonWriter& j, const GateType& g, bool brief)
{
    j.BeginObject();
    WriteFields(j, g, GateHeaderFields());
    if (brief) {
        j.Member("Sprites", static_cast<std::int64_t>(g.Sprites.size()));
        j.Key("Cells").BeginArray();
        for (const auto& column : g.Cells) j.Int(static_cast<std::int64_t>(column.size()));
        j.EndArray();
    } else {
        j.Key("Sprites").BeginArray();
        for (const auto& sprite : g.Sprites) WriteSpriteJson(j, *sprite);
        j.EndArray();
        j.Key("Cells").BeginArray();
        for (const auto& column : g.Cells) {
            j.BeginArray();
            for (const auto& cell : column) WriteCellJson(j, *cell);
            j.EndArray();
        }
        j.EndArray();
    }
    j.EndObject();
}

void WriteImageCountsJson(JsonWriter& j, const std::vector<ImageGroup>& images)
{
    j.BeginArray();
    for (const auto& group : images) {
        j.BeginArray();
        for (const auto& image : group) j.Int(static_cast<std::int64_t>(image.size()));
        j.EndArray();
    }
    j.EndArray();
}

} // namespace brakkon
