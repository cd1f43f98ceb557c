// The standard legend of gate maps, the cells it makes, and writing a gate
// back as a gate file.
#include "GateText.h"
#include "GameData.h"
#include "RecordFields.h"

#include <map>

namespace brakkon {
namespace {

CellContent Content(std::int32_t bonus, std::int32_t top, std::int32_t block, std::int32_t wall, std::int32_t hardness)
{
    return {bonus, top, block, wall, hardness, std::nullopt};
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

CellContent ContentOf(const CellType& c, std::int32_t ground)
{
    CellContent content{c.Bonus, c.TopImage, c.Block, c.WallImage, c.Hardness, std::nullopt};
    if (c.GroundImage != ground) content.GroundImage = c.GroundImage;
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
    const CellContent clear;
    std::string text;
    if (c.Bonus != clear.Bonus) text += " Bonus=" + std::to_string(c.Bonus);
    if (c.TopImage != clear.TopImage) text += " TopImage=" + std::to_string(c.TopImage);
    if (c.Block != clear.Block) text += " Block=" + std::to_string(c.Block);
    if (c.WallImage != clear.WallImage) text += " WallImage=" + std::to_string(c.WallImage);
    if (c.Hardness != clear.Hardness) text += " Hardness=" + std::to_string(c.Hardness);
    if (c.GroundImage) text += " GroundImage=" + std::to_string(*c.GroundImage);
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
    CellType c;
    c.Bonus = static_cast<std::uint8_t>(content.Bonus);
    c.TopImage = content.TopImage;
    c.Block = static_cast<std::uint8_t>(content.Block);
    c.WallImage = content.WallImage;
    c.Hardness = content.Hardness;
    c.GroundImage = content.GroundImage.value_or(ground);
    c.Left = col * FieldCellWidth;
    c.Top = row * FieldCellHeight;
    c.Right = c.Left + FieldCellWidth - 1;
    c.Bottom = c.Top + FieldCellHeight - 1;
    c.Dirty = 1;
    return c;
}

TextResult WriteGateText(const GateType& gate, std::string& text)
{
    if (!HasGrid(gate, FieldCols, FieldRows))
        return TextResult::Fail("a gate whose map is not " + std::to_string(FieldCols) + " columns of " +
                                std::to_string(FieldRows) + " cells cannot be written as a map");
    const std::int32_t ground = CommonGround(gate);
    text = "brakkon-gate 1\n";
    if (gate.GateNo != 1) text += "GateNo " + std::to_string(gate.GateNo) + "\n";
    if (gate.PlayTime != 0) text += "PlayTime " + std::to_string(gate.PlayTime) + "\n";
    if (gate.Lives1 != 3) text += "Lives1 " + std::to_string(gate.Lives1) + "\n";
    if (gate.Lives2 != 3) text += "Lives2 " + std::to_string(gate.Lives2) + "\n";
    if (gate.EnemiesLeft != 0) text += "EnemiesLeft " + std::to_string(gate.EnemiesLeft) + "\n";
    text += "Tank " + std::to_string(gate.Tank) + "\nLargeTank " + std::to_string(gate.LargeTank) + "\nZJC " +
            std::to_string(gate.ZJC) + "\nKC " + std::to_string(gate.KC) + "\nTotal " + std::to_string(gate.Total) +
            "\nNextGate " + std::to_string(gate.NextGate) + "\nGround " + std::to_string(ground) + "\n";

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
