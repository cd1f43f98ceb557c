#include "game/Geometry.h"

#include "game/WrapInt.h"

namespace brakkon {
namespace {

/// An active sprite not yet marked that overlaps the box. This runs for every
/// sprite against every cell marked in a tick: a sprite already marked is
/// passed at once, and the rest is tested without branches, since whether a
/// sprite overlaps is hard to predict.
bool MarkableUnder(const Rect& box, const SpriteType& s)
{
    return s.Dirty == 0 && ((s.Active != 0) & CornerInRect(box, RectOf(s)));
}

} // namespace

bool CentreInside(const SpriteType& a, const SpriteType& b)
{
    // Sums in 64 bits: a stored rectangle may hold any values.
    const auto cx = static_cast<std::int32_t>((static_cast<std::int64_t>(a.Left) + a.Right) / 2);
    const auto cy = static_cast<std::int32_t>((static_cast<std::int64_t>(a.Top) + a.Bottom) / 2);
    return b.Left < cx && cx < b.Right && b.Top < cy && cy < b.Bottom;
}

CellType* CellAt(GateType& gate, std::int32_t col, std::int32_t row)
{
    if (col < 0 || row < 0 || static_cast<std::size_t>(col) >= gate.Cells.size()) return nullptr;
    auto& column = gate.Cells[static_cast<std::size_t>(col)];
    if (static_cast<std::size_t>(row) >= column.size()) return nullptr;
    return column[static_cast<std::size_t>(row)].get();
}

const CellType* CellAt(const GateType& gate, std::int32_t col, std::int32_t row)
{
    return CellAt(const_cast<GateType&>(gate), col, row);
}

bool CellOpen(const GateType& gate, std::int32_t col, std::int32_t row)
{
    const CellType* cell = CellAt(gate, col, row);
    return cell != nullptr && cell->Block == BlockOpen;
}

void PlaceOnCell(const GameType& game, SpriteType& s, std::int32_t col, std::int32_t row)
{
    s.Col = col;
    s.Row = row;
    s.OffsetX = 0;
    s.OffsetY = 0;
    s.Left = WrapMul(col, game.CellWidth);
    s.Top = WrapMul(row, game.CellHeight);
    s.Right = WrapSub(WrapAdd(s.Left, game.CellWidth), 1);
    s.Bottom = WrapSub(WrapAdd(s.Top, game.CellHeight), 1);
}

void MarkSprite(MainState& state, SpriteType& s)
{
    if (!s.Active) return;
    s.Dirty = 1;
    // The marking spreads along chains of overlapping sprites toward later
    // list positions. A work list instead of recursion keeps the depth
    // bounded however many sprites pile up in one corner; the set it marks is
    // the same, since a sprite is taken only once, when it is first marked.
    SpriteList& sprites = state.Game.Gate->Sprites;
    const std::size_t count = sprites.size(); // marking never changes the list
    std::vector<SpriteType*>& work = state.MarkWork;
    work.clear();
    work.push_back(&s);
    while (!work.empty()) {
        SpriteType* from = work.back();
        work.pop_back();
        const Rect box = RectOf(*from);
        const std::size_t first = from->Index < 0 ? 0 : static_cast<std::size_t>(from->Index) + 1;
        for (std::size_t j = first; j < count; ++j) {
            SpriteType& other = *sprites[j];
            if (MarkableUnder(box, other)) {
                other.Dirty = 1;
                work.push_back(&other);
            }
        }
    }
}

void MarkCell(MainState& state, CellType& c)
{
    c.Dirty = 1;
    const Rect box = RectOf(c);
    SpriteList& sprites = state.Game.Gate->Sprites;
    const std::size_t count = sprites.size();
    for (std::size_t j = 0; j < count; ++j)
        if (MarkableUnder(box, *sprites[j])) MarkSprite(state, *sprites[j]);
}

void NextFrame(const MainState& state, SpriteType& s)
{
    const auto& images = state.Game.Images;
    if (s.ImageGroup < 0 || static_cast<std::size_t>(s.ImageGroup) >= images.size()) return;
    const ImageGroup& group = images[static_cast<std::size_t>(s.ImageGroup)];
    if (s.Direction < 0 || static_cast<std::size_t>(s.Direction) >= group.size()) return;
    const std::size_t frames = group[static_cast<std::size_t>(s.Direction)].size();
    s.Frame = WrapAdd(s.Frame, 1);
    if (s.Frame < 0 || static_cast<std::size_t>(s.Frame) >= frames) s.Frame = 0;
}

} // namespace brakkon
