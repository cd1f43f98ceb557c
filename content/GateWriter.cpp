// The standard legend of gate maps, the cells it makes, and writing a gate
// back as a gate file.
#include "content/GateText.h"
#include "game/GameData.h"

#include <map>

namespace brakkon {
namespace {

CellContent Content(std::uint8_t bonus, std::int32_t top, std::uint8_t block, std::int32_t wall, std::int32_t hardness)
{
    return {CellType{.Bonus = bonus, .TopImage = top, .Block = block, .WallImage = wall, .Hardness = hardness}, false};
}

std::vector<LegendEntry> MakeStandardLegend()
{
    std::vector<LegendEntry> legend = {
        {'.', Content(0, TileNone, BlockOpen, TileNone, 0), "open ground"},
        {'B', Content(0, TileNone, BlockWall, TileBase, 0), "the base"},
        {'*', Content(BonusLevelUp, TileLevelUp, BlockOpen, TileNone, 0), "level-up bonus"},
        {'+', Content(BonusExtraLife, TileExtraLife, BlockOpen, TileNone, 0), "extra-life bonus"},
        {'S', Content(BonusShield, TileShield, BlockOpen, TileNone, 0), "shield bonus"},
        {'#', Content(0, TileNone, BlockWall, 4, 0), "brick wall (hardness 0)"},
        {'%', Content(0, TileNone, BlockWall, 5, 1), "stone wall (hardness 1)"},
        {'@', Content(0, TileNone, BlockWall, 6, 2), "steel wall (hardness 2)"},
        {'~', Content(0, TileNone, BlockBarrier, 7, 0), "water (barrier)"},
        {'=', Content(0, TileNone, BlockBarrier, 8, 0), "fence (barrier)"},
        {':', Content(0, TileNone, BlockBarrier, 9, 0), "rubble (barrier)"},
        {'T', Content(0, 10, BlockOpen, TileNone, 0), "trees (cover)"},
        {'b', Content(0, 11, BlockOpen, TileNone, 0), "bushes (cover)"},
        {'N', Content(0, 12, BlockOpen, TileNone, 0), "camouflage net (cover)"},
    };
    for (char d = '0'; d <= '9'; ++d)
        legend.push_back({d, Content(0, TileNone, BlockOpen, TileGroundFirst + (d - '0'), 0), "floor tile"});
    return legend;
}

CellContent ContentOf(const CellType& cell, std::int32_t ground)
{
    CellContent content;
    for (const auto& f : CellContentFields()) f.Set(content.Cell, f.Get(cell));
    content.OwnGround = cell.GroundImage != ground;
    if (!content.OwnGround) content.Cell.GroundImage = CellType{}.GroundImage;
    return content;
}

// The ground tile most cells have (the smallest code on a tie).
std::int32_t CommonGround(const GateType& gate)
{
    std::map<std::int32_t, int> counts;
    for (const auto& column : gate.Cells)
        for (const auto& cell : column) ++counts[cell->GroundImage];
    std::int32_t best = TileDefaultGround;
    int most = 0;
    for (const auto& [ground, count] : counts)
        if (count > most) {
            best = ground;
            most = count;
        }
    return best;
}

// Characters for contents the standard legend lacks, in the order they are given out.
std::string LegendPool()
{
    std::string pool;
    std::map<char, bool> standard;
    for (const auto& e : StandardGateLegend()) standard[e.Char] = true;
    for (char c = 'A'; c <= 'Z'; ++c)
        if (!standard.contains(c)) pool += c;
    for (char c = 'a'; c <= 'z'; ++c)
        if (!standard.contains(c)) pool += c;
    for (char c = '!'; c < 0x7F; ++c)
        if (!standard.contains(c) && !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) pool += c;
    return pool;
}

std::string LegendFields(const CellContent& c)
{
    const CellType clear;
    std::string text;
    for (const auto& f : CellContentFields())
        if (f.Get(c.Cell) != f.Get(clear) || (c.OwnGround && f.Name == "GroundImage"))
            text += " " + std::string(f.Name) + "=" + std::to_string(f.Get(c.Cell));
    return text;
}

} // namespace

const std::vector<LegendEntry>& StandardGateLegend()
{
    static const std::vector<LegendEntry> legend = MakeStandardLegend();
    return legend;
}

CellType MakeCell(const CellContent& content, std::int32_t ground, std::int32_t col, std::int32_t row)
{
    CellType c = NewCell(col, row);
    for (const auto& f : CellContentFields()) f.Set(c, f.Get(content.Cell));
    if (!content.OwnGround) c.GroundImage = ground;
    return c;
}

TextResult WriteGateText(const GateType& gate, std::string& text)
{
    if (!HasGrid(gate, FieldCols, FieldRows))
        return TextResult::Fail("a gate whose map is not " + std::to_string(FieldCols) + " columns of " +
                                std::to_string(FieldRows) + " cells cannot be written as a map");
    const std::int32_t ground = CommonGround(gate);
    text = "brakkon-gate 1\n";
    const auto header = GateHeaderFields();
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::int32_t value = header[i].Get(gate);
        if (i < GateRunningFieldCount && value == NewGateRunningTotals[i]) continue;
        text += std::string(header[i].Name) + " " + std::to_string(value) + "\n";
    }
    text += "Ground " + std::to_string(ground) + "\n";

    // Characters: the standard one where the content has one, then new legend
    // entries while characters last, then '.' with every field on a cell line.
    std::map<char, CellContent> legend;
    std::vector<std::pair<char, CellContent>> added;
    for (const auto& e : StandardGateLegend()) legend[e.Char] = e.Content;
    const std::string pool = LegendPool();
    std::size_t nextFree = 0;
    std::string map;
    std::string cellLines;
    for (std::int32_t row = 0; row < FieldRows; ++row) {
        for (std::int32_t col = 0; col < FieldCols; ++col) {
            const CellType& cell = *gate.Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
            const CellContent content = ContentOf(cell, ground);
            char chosen = 0;
            for (const auto& [c, entry] : legend)
                if (entry == content) {
                    chosen = c;
                    break;
                }
            if (chosen == 0 && nextFree < pool.size()) {
                chosen = pool[nextFree++];
                legend[chosen] = content;
                added.emplace_back(chosen, content);
            }
            if (chosen == 0) chosen = '.';
            map += chosen;
            // Whatever the character does not give is stated on a cell line.
            const CellType made = MakeCell(legend[chosen], ground, col, row);
            std::string fields;
            for (const auto& f : CellFields())
                if (f.Get(made) != f.Get(cell)) fields += " " + std::string(f.Name) + "=" + std::to_string(f.Get(cell));
            if (!fields.empty()) cellLines += "cell " + std::to_string(col) + " " + std::to_string(row) + fields + "\n";
        }
        map += '\n';
    }
    for (const auto& [c, content] : added) text += std::string("legend ") + c + LegendFields(content) + "\n";
    text += "map\n" + map + cellLines;
    for (const auto& sprite : gate.Sprites) {
        text += "sprite";
        for (const auto& f : SpriteFields()) text += " " + std::string(f.Name) + "=" + std::to_string(f.Get(*sprite));
        text += "\n";
    }
    return TextResult::Ok();
}

} // namespace brakkon
