// Reading a gate file: header, legend, map, then single cells and sprites.
#include "content/GateText.h"

#include <array>
#include <optional>

namespace brakkon {
namespace {

using Words = std::vector<std::string_view>;

// The header is the gate's eleven integers, then "Ground": the gate's ground
// tile, which the map's characters lay unless they have their own.
constexpr std::string_view GroundWord = "Ground";
constexpr std::size_t HeaderWords = 11 + 1;

std::string_view HeaderName(std::size_t index)
{
    return index < GateHeaderFields().size() ? GateHeaderFields()[index].Name : GroundWord;
}

std::string ContentFieldNames()
{
    std::string names;
    for (const auto& f : CellContentFields()) names += (names.empty() ? "" : ", ") + std::string(f.Name);
    return names;
}

class GateReader {
public:
    explicit GateReader(const TextSource& source) : src_(source)
    {
        for (const auto& e : StandardGateLegend()) legend_[Slot(e.Char)] = e.Content;
        for (std::size_t i = 0; i < GateRunningFieldCount; ++i)
            GateHeaderFields()[i].Set(gate_, NewGateRunningTotals[i]);
    }

    TextResult Run(GateType& out)
    {
        if (TextResult r = CheckVersionLine(src_, GateKind, GateVersion); !r) return r;
        for (line_ = 1; line_ < src_.LineCount(); ++line_) {
            const std::string_view text = src_.Line(line_);
            if (IsBlankOrComment(text)) continue;
            if (TextResult r = Statement(SplitWords(text)); !r) return r;
        }
        if (!mapRead_) return src_.Error("no 'map' in the file");
        out = std::move(gate_);
        return TextResult::Ok();
    }

private:
    static std::size_t Slot(char c) { return static_cast<unsigned char>(c) & 0x7F; }
    TextResult Fail(std::string_view what) const { return src_.Error(line_, what); }

    TextResult Statement(const Words& w)
    {
        const std::string_view keyword = w[0];
        for (std::size_t i = 0; i < HeaderWords; ++i)
            if (keyword == HeaderName(i)) return Header(w, i);
        if (keyword == "legend") return LegendLine(w);
        if (keyword == "map") return Map(w);
        if (keyword == "cell") return CellLine(w);
        if (keyword == "sprite") return SpriteLine(w);
        return Fail("unknown statement " + Quoted(keyword));
    }

    TextResult Header(const Words& w, std::size_t index)
    {
        const std::string name(HeaderName(index));
        if (mapRead_) return Fail(Quoted(name) + " must come before the map");
        if (seen_[index]) return Fail(Quoted(name) + " is given twice");
        std::int32_t value = 0;
        if (w.size() != 2 || !ParseInt(w[1], value)) return Fail("expected '" + name + " NUMBER'");
        if (index < GateHeaderFields().size())
            GateHeaderFields()[index].Set(gate_, value);
        else
            ground_ = value;
        seen_[index] = true;
        return TextResult::Ok();
    }

    TextResult Pair(std::string_view word, std::string_view& name, std::int32_t& value)
    {
        const std::size_t eq = word.find('=');
        if (eq == std::string_view::npos || !ParseInt(word.substr(eq + 1), value))
            return Fail("expected FIELD=NUMBER, found " + Quoted(word));
        name = word.substr(0, eq);
        return TextResult::Ok();
    }

    TextResult LegendLine(const Words& w)
    {
        if (mapRead_) return Fail("'legend' must come before the map");
        if (w.size() < 2 || w[1].size() != 1) return Fail("expected 'legend CHARACTER FIELD=NUMBER...'");
        const char c = w[1][0];
        if (defined_[Slot(c)]) return Fail("the legend character " + Quoted(w[1]) + " is defined twice");
        CellContent content;
        for (std::size_t i = 2; i < w.size(); ++i) {
            std::string_view name;
            std::int32_t value = 0;
            if (TextResult r = Pair(w[i], name, value); !r) return r;
            const auto* field = FindField(CellContentFields(), name);
            if (field == nullptr)
                return Fail(Quoted(name) + " is not a field a legend sets (" + ContentFieldNames() + ")");
            if (!FitsField(*field, value)) return Fail(Quoted(w[i]) + ": " + std::string(name) + " takes 0 to 255");
            field->Set(content.Cell, value);
            if (field->Name == "GroundImage") content.OwnGround = true;
        }
        legend_[Slot(c)] = content;
        defined_[Slot(c)] = true;
        return TextResult::Ok();
    }

    TextResult Map(const Words& w)
    {
        if (w.size() != 1) return Fail("'map' stands alone on its line");
        if (mapRead_) return Fail("a second map");
        for (std::size_t i = GateRunningFieldCount; i < HeaderWords; ++i)
            if (!seen_[i])
                return Fail(Quoted(HeaderName(i)) +
                            " is missing above the map (a gate needs Tank, LargeTank, ZJC, KC, Total, NextGate and "
                            "Ground)");
        gate_.Cells.resize(FieldCols);
        for (std::int32_t row = 0; row < FieldRows; ++row) {
            ++line_;
            if (line_ >= src_.LineCount())
                return src_.Error(line_ - 1, "the map ends after " + std::to_string(row) + " of " +
                                                 std::to_string(FieldRows) + " lines");
            const std::string_view text = src_.Line(line_);
            if (text.size() != static_cast<std::size_t>(FieldCols))
                return Fail("a map line has " + std::to_string(text.size()) + " characters; the field is " +
                            std::to_string(FieldCols) + " wide");
            for (std::int32_t col = 0; col < FieldCols; ++col) {
                const char c = text[static_cast<std::size_t>(col)];
                const auto& content = legend_[Slot(c)];
                if (static_cast<unsigned char>(c) >= 0x80 || !content)
                    return Fail("map character " + Quoted(std::string_view(&c, 1)) + " in column " +
                                std::to_string(col + 1) + " has no legend entry");
                gate_.Cells[static_cast<std::size_t>(col)].push_back(
                    std::make_unique<CellType>(MakeCell(*content, ground_, col, row)));
            }
        }
        mapRead_ = true;
        return TextResult::Ok();
    }

    template <typename Record>
    TextResult Fields(const Words& w, std::size_t first, std::span<const RecordField<Record>> fields, Record& r)
    {
        for (std::size_t i = first; i < w.size(); ++i) {
            std::string_view name;
            std::int32_t value = 0;
            if (TextResult t = Pair(w[i], name, value); !t) return t;
            const auto* field = FindField(fields, name);
            if (field == nullptr) return Fail("unknown field " + Quoted(name));
            if (!FitsField(*field, value)) return Fail(Quoted(w[i]) + ": " + std::string(name) + " takes 0 to 255");
            field->Set(r, value);
        }
        return TextResult::Ok();
    }

    TextResult CellLine(const Words& w)
    {
        if (!mapRead_) return Fail("'cell' lines come after the map");
        std::int32_t col = 0, row = 0;
        if (w.size() < 4 || !ParseInt(w[1], col) || !ParseInt(w[2], row))
            return Fail("expected 'cell COLUMN ROW FIELD=NUMBER...'");
        if (col < 0 || col >= FieldCols || row < 0 || row >= FieldRows)
            return Fail("cell " + std::to_string(col) + " " + std::to_string(row) + " lies outside the field");
        return Fields(w, 3, CellFields(), *gate_.Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)]);
    }

    TextResult SpriteLine(const Words& w)
    {
        if (!mapRead_) return Fail("'sprite' lines come after the map");
        auto sprite = std::make_unique<SpriteType>();
        if (TextResult r = Fields(w, 1, SpriteFields(), *sprite); !r) return r;
        gate_.Sprites.push_back(std::move(sprite));
        return TextResult::Ok();
    }

    const TextSource& src_;
    std::size_t line_ = 0;
    GateType gate_;
    std::int32_t ground_ = 0;
    std::array<bool, HeaderWords> seen_{};
    std::array<std::optional<CellContent>, 128> legend_{};
    std::array<bool, 128> defined_{};
    bool mapRead_ = false;
};

} // namespace

TextResult ReadGateText(const TextSource& source, GateType& gate)
{
    return GateReader(source).Run(gate);
}

} // namespace brakkon
