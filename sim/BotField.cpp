#include "sim/BotField.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace brakkon {
namespace {

constexpr std::int32_t Cell = FieldCellWidth; // cells are square
/// Shells start on this lattice in front of the tank that fires them.
constexpr std::int32_t Lattice = 16;
/// What a wall to be shot through weighs against a cell to drive over: the
/// turn, the shot, and the wait for the shell.
constexpr std::int32_t DigWeight = 3;
/// What a cell in an enemy's line of fire weighs extra, for each enemy.
constexpr std::int32_t DangerWeight = 3;

bool IsCover(std::int32_t topImage) { return topImage >= TileCoverFirst && topImage <= TileCoverLast; }

/// The pixel at which a shell of a tank standing at (left, top) starts, as it
/// is seen to come out of the barrel: on the lattice, inside the field.
std::pair<std::int32_t, std::int32_t> ShellStart(std::int32_t left, std::int32_t top, std::int32_t direction)
{
    const std::int32_t right = left + Cell - 1, bottom = top + Cell - 1;
    std::int32_t x = left, y = top;
    switch (direction) {
    case DirLeft: x = std::max(0, left - Lattice - left % Lattice); break;
    case DirRight: x = right - right % Lattice; break;
    case DirUp: y = std::max(0, top - Lattice - top % Lattice); break;
    case DirDown: y = bottom - bottom % Lattice; break;
    default: break;
    }
    if (x / Cell >= FieldCols - 1) x = (FieldCols - 1) * Cell;
    if (y / Cell >= FieldRows - 1) y = (FieldRows - 1) * Cell;
    return {x, y};
}

/// The moves k (whole, from 1) at which a point that closes in on a box
/// lies strictly inside it: each axis narrows an open span of k.
struct MoveSpan {
    double Lo = 0;
    double Hi = 0;

    /// 0 < gap + closing * k < Cell - 1 on one axis.
    void Within(double gap, double closing)
    {
        if (closing == 0) {
            if (gap <= 0 || gap >= Cell - 1) Hi = Lo;
            return;
        }
        const double a = -gap / closing, b = (Cell - 1 - gap) / closing;
        Lo = std::max(Lo, std::min(a, b));
        Hi = std::min(Hi, std::max(a, b));
    }

    /// The first whole move in the span, or none.
    [[nodiscard]] std::optional<std::int32_t> First() const
    {
        const double k = std::floor(Lo) + 1;
        return k < Hi ? std::optional(static_cast<std::int32_t>(k)) : std::nullopt;
    }
};

/// The centre of a sprite seen at (left, top), `ticks` ticks on at its speed.
std::pair<double, double> CentreAfter(const BotSprite& s, std::int32_t ticks)
{
    const BotCell step = StepOf(s.Direction);
    return {s.Left + Cell / 2 - 1 + step.Col * s.Speed * ticks, s.Top + Cell / 2 - 1 + step.Row * s.Speed * ticks};
}

} // namespace

BotCell CentreCell(const BotSprite& s) { return {(s.Left + Cell / 2) / Cell, (s.Top + Cell / 2) / Cell}; }

BotCell StepOf(std::int32_t direction)
{
    switch (direction) {
    case DirLeft: return {-1, 0};
    case DirRight: return {1, 0};
    case DirUp: return {0, -1};
    case DirDown: return {0, 1};
    default: return {0, 0};
    }
}

BotField::BotField(std::size_t self, std::int32_t moveStep) : self_(self), moveStep_(moveStep) {}

BotField::BotField(const GateType& gate, std::size_t self, std::int32_t moveStep) : BotField(self, moveStep)
{
    Look(gate);
}

void BotField::Look(const GateType& gate)
{
    gate_ = &gate;
    fullGrid_ = true;
    for (std::int32_t col = 0; col < FieldCols && fullGrid_; ++col) fullGrid_ = HasCell({col, FieldRows - 1});
    me_ = {};
    myLevel_ = 0;
    enemies_.clear();
    enemyShells_.clear();
    mates_.clear();
    occupied_.fill(false);
    danger_.fill(0);
    auto seen = [&](const SpriteType& s) {
        BotSprite b{s.Index, s.Kind, s.ImageGroup, s.Direction, s.Left, s.Top, 0.0, 0};
        if (s.Kind == KindEnemyShell) {
            b.Speed = moveStep_ * (s.ImageGroup > GroupShell ? 4.0 : 2.0); // heavier shells fly twice as fast
            b.Range = ShellRange(b);
        }
        return b;
    };
    for (std::size_t entry = 0; entry < gate.Sprites.size(); ++entry) {
        const SpriteType& s = *gate.Sprites[entry];
        if (!s.Active) continue;
        if (entry == self_) {
            me_ = seen(s);
            myLevel_ = s.Level;
            continue;
        }
        if (Covered(s)) continue;
        if (s.Kind == KindEnemy) {
            enemies_.push_back(seen(s));
            Occupy(enemies_.back());
            const BotCell step = StepOf(s.Direction);
            if (!(step == BotCell{}))
                for (BotCell c = CentreCell(enemies_.back()); Inside(c) && At(c).Block != BlockWall;
                     c = {c.Col + step.Col, c.Row + step.Row})
                    ++danger_[static_cast<std::size_t>(Key(c))];
        } else if (s.Kind == KindEnemyShell) {
            enemyShells_.push_back(seen(s));
            const BotCell step = StepOf(s.Direction);
            const std::int32_t cells = enemyShells_.back().Range * static_cast<std::int32_t>(enemyShells_.back().Speed) / Cell;
            BotCell c = CentreCell(enemyShells_.back());
            for (std::int32_t n = 0; n <= cells && Inside(c); ++n, c = {c.Col + step.Col, c.Row + step.Row})
                ++danger_[static_cast<std::size_t>(Key(c))];
        } else if (s.Kind == KindPlayer1 || s.Kind == KindPlayer2) {
            mates_.push_back(seen(s));
            Occupy(mates_.back());
        }
    }
}

std::int32_t BotField::ShellRange(const BotSprite& s) const
{
    const BotCell step = StepOf(s.Direction);
    if (step == BotCell{} || s.Speed <= 0) return 0;
    const bool horizontal = step.Row == 0;
    const std::int32_t along = horizontal ? s.Left : s.Top, sign = step.Col + step.Row;
    const std::int32_t across = (horizontal ? s.Top : s.Left) / Cell;
    // The cell boundaries ahead, where it is checked against walls.
    std::int32_t at = sign > 0 ? (along / Cell + 1) * Cell : (along % Cell == 0 ? along - Cell : along / Cell * Cell);
    for (;; at += sign * Cell) {
        const BotCell c = horizontal ? BotCell{at / Cell, across} : BotCell{across, at / Cell};
        if (at < 0 || !Inside(c) || At(c).Block == BlockWall) break;
    }
    return static_cast<std::int32_t>(std::abs(at - along) / s.Speed);
}

std::int32_t BotField::StrikeTick(std::int32_t direction, bool moving, std::int32_t horizon) const
{
    const BotCell way = StepOf(direction);
    const double speed = moving ? moveStep_ : 0.0;
    const double cx = me_.Left + Cell / 2 - 1, cy = me_.Top + Cell / 2 - 1;
    std::int32_t first = Far;
    for (const BotSprite& s : enemyShells_) {
        const BotCell flight = StepOf(s.Direction);
        MoveSpan span{0, std::min(s.Range, horizon) + 1.0};
        span.Within(cx - s.Left, way.Col * speed - flight.Col * s.Speed);
        span.Within(cy - s.Top, way.Row * speed - flight.Row * s.Speed);
        if (const auto k = span.First()) first = std::min(first, *k);
    }
    return first;
}

void BotField::TakeSpeeds(std::span<const double> tankSpeeds)
{
    for (BotSprite& e : enemies_)
        e.Speed = e.Index >= 0 && static_cast<std::size_t>(e.Index) < tankSpeeds.size()
                      ? tankSpeeds[static_cast<std::size_t>(e.Index)]
                      : 0.0;
}

bool BotField::HasCell(BotCell c) const
{
    return static_cast<std::size_t>(c.Col) < gate_->Cells.size() &&
           static_cast<std::size_t>(c.Row) < gate_->Cells[static_cast<std::size_t>(c.Col)].size();
}

const CellType& BotField::At(BotCell c) const
{
    return *gate_->Cells[static_cast<std::size_t>(c.Col)][static_cast<std::size_t>(c.Row)];
}

bool BotField::Diggable(BotCell c) const
{
    if (!Inside(c) || IsBase(c) || At(c).Block != BlockWall || At(c).Hardness > myLevel_) return false;
    // The bricks around the base are its only cover.
    return std::abs(c.Col - BaseCol) > 1 || std::abs(c.Row - BaseRow) > 1;
}

bool BotField::Covered(const SpriteType& s) const
{
    for (std::int32_t col = s.Left / Cell; col <= (s.Left + Cell - 1) / Cell; ++col)
        for (std::int32_t row = s.Top / Cell; row <= (s.Top + Cell - 1) / Cell; ++row)
            if (!Inside({col, row}) || !IsCover(At({col, row}).TopImage)) return false;
    return true;
}

void BotField::Occupy(const BotSprite& s)
{
    for (std::int32_t col = s.Left / Cell; col <= (s.Left + Cell - 1) / Cell; ++col)
        for (std::int32_t row = s.Top / Cell; row <= (s.Top + Cell - 1) / Cell; ++row)
            if (Inside({col, row})) occupied_[static_cast<std::size_t>(Key({col, row}))] = true;
}

BotField::Shot BotField::Fire(std::int32_t direction) const
{
    Shot shot;
    const BotCell step = StepOf(direction);
    if (step == BotCell{}) return shot;
    const auto [x0, y0] = ShellStart(me_.Left, me_.Top, direction);
    const std::int32_t speed = moveStep_ * (myLevel_ >= 1 ? 4 : 2);
    const bool horizontal = step.Row == 0;
    if (speed <= 0) return shot;

    // The flight: it leaves the field from the first or last cell of its way,
    // or bursts on the first wall it lies on exactly.
    std::int32_t x = x0, y = y0, ticks = 0;
    for (;;) {
        const std::int32_t along = horizontal ? x : y, last = horizontal ? FieldCols - 1 : FieldRows - 1;
        if (along % Cell == 0 && (along / Cell == 0 || along / Cell >= last)) break;
        x += step.Col * speed;
        y += step.Row * speed;
        ++ticks;
        if (x % Cell != 0 || y % Cell != 0) continue;
        const BotCell at{x / Cell, y / Cell};
        if (Inside(at) && At(at).Block == BlockWall) {
            shot.WallMet = at;
            break;
        }
    }

    // What it strikes before the wall: what has its centre strictly inside
    // the shell's box after one of its moves. Both move in straight lines, so
    // each axis gives an open span of moves; a whole move in both is a strike.
    for (const auto* list : {&enemies_, &enemyShells_})
        for (const BotSprite& s : *list) {
            const auto [cx0, cy0] = CentreAfter(s, 0);
            const BotCell way = StepOf(s.Direction);
            MoveSpan span{0, ticks + 1.0};
            span.Within(cx0 - x0, way.Col * s.Speed - step.Col * speed);
            span.Within(cy0 - y0, way.Row * s.Speed - step.Row * speed);
            if (span.First()) {
                shot.StrikesTarget = true;
                return shot;
            }
        }
    if (shot.WallMet.Col >= 0) {
        const BotCell beyond{shot.WallMet.Col + step.Col, shot.WallMet.Row + step.Row};
        shot.Harmful = IsBase(shot.WallMet) || (At(shot.WallMet).Hardness <= myLevel_ && IsBase(beyond));
    }
    return shot;
}

void BotField::Distances(BotCell from, std::span<const BotCell> avoid, std::array<std::int32_t, Cells>& dist,
                         std::array<std::int8_t, Cells>& lastStep) const
{
    // What entering each cell costs.
    std::array<std::int32_t, Cells> weight{};
    for (std::int32_t key = 0; key < Cells; ++key) {
        const BotCell c{key % FieldCols, key / FieldCols};
        const auto k = static_cast<std::size_t>(key);
        weight[k] = !Inside(c) || occupied_[k] ? Far
                    : Drivable(c)              ? 1 + DangerWeight * danger_[k]
                    : Diggable(c)              ? 1 + DigWeight + DangerWeight * danger_[k]
                                               : Far;
    }
    for (const BotCell& c : avoid)
        if (Inside(c)) weight[static_cast<std::size_t>(Key(c))] = Far;

    // Dijkstra's way with the small whole weights in buckets by distance.
    dist.fill(Far);
    lastStep.fill(-1);
    std::vector<std::vector<std::int32_t>>& buckets = buckets_;
    for (auto& bucket : buckets) bucket.clear();
    if (buckets.empty()) buckets.resize(1);
    dist[static_cast<std::size_t>(Key(from))] = 0;
    buckets[0].push_back(Key(from));
    constexpr std::int32_t dc[] = {-1, 1, 0, 0}, dr[] = {0, 0, -1, 1}; // by direction
    for (std::size_t d = 0; d < buckets.size(); ++d) {
        for (std::size_t i = 0; i < buckets[d].size(); ++i) {
            const std::int32_t key = buckets[d][i];
            if (static_cast<std::size_t>(dist[static_cast<std::size_t>(key)]) != d) continue;
            const std::int32_t col = key % FieldCols, row = key / FieldCols;
            for (std::int32_t dir = DirLeft; dir <= DirDown; ++dir) {
                const std::int32_t nc = col + dc[dir], nr = row + dr[dir];
                if (nc < 0 || nr < 0 || nc >= FieldCols || nr >= FieldRows) continue;
                const auto n = static_cast<std::size_t>(nr * FieldCols + nc);
                if (weight[n] >= Far) continue;
                const std::int32_t nd = static_cast<std::int32_t>(d) + weight[n];
                if (nd >= dist[n]) continue;
                dist[n] = nd;
                lastStep[n] = static_cast<std::int8_t>(dir);
                if (buckets.size() <= static_cast<std::size_t>(nd)) buckets.resize(static_cast<std::size_t>(nd) + 1);
                buckets[static_cast<std::size_t>(nd)].push_back(static_cast<std::int32_t>(n));
            }
        }
    }
}

} // namespace brakkon
