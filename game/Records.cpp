#include "game/Records.h"

namespace brakkon {

CellType NewCell(std::int32_t col, std::int32_t row)
{
    CellType c;
    c.Left = col * FieldCellWidth;
    c.Top = row * FieldCellHeight;
    c.Right = c.Left + FieldCellWidth - 1;
    c.Bottom = c.Top + FieldCellHeight - 1;
    c.Dirty = 1;
    return c;
}

SpriteList CloneSprites(const SpriteList& sprites)
{
    SpriteList out;
    out.reserve(sprites.size());
    for (const auto& sprite : sprites) out.push_back(std::make_unique<SpriteType>(*sprite));
    return out;
}

CellGrid CloneCells(const CellGrid& cells)
{
    CellGrid out(cells.size());
    for (std::size_t c = 0; c < cells.size(); ++c) {
        out[c].reserve(cells[c].size());
        for (const auto& cell : cells[c]) out[c].push_back(std::make_unique<CellType>(*cell));
    }
    return out;
}

} // namespace brakkon
