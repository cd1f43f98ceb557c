#include "sim/Bot.h"

#include "game/Movers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace brakkon {
namespace {

constexpr std::int32_t Cell = FieldCellWidth;
/// A tank seen to move within this many slots is taken as moving (the
/// heaviest enemies move on every third tick).
constexpr std::int64_t StillMoving = 3;
/// An enemy shell nearer than this (pixels) is shot at or faced.
constexpr std::int32_t ShellWatch = 6 * Cell;
/// Slots of standing still with a key held before it gives the way up.
constexpr std::int32_t StuckSlots = 10;
/// What each cell between a place and the post adds to the cost of going there.
constexpr double Leash = 0.25;
/// Tanks numbered this high or higher are not followed (none is, in play).
constexpr std::int32_t MaxTracked = 1024;
/// Ticks ahead in which it looks for shells that would strike its tank.
constexpr std::int32_t EvadeHorizon = 16;
/// Slots between two looks for a way while it stands on the grid.
constexpr std::int64_t ThinkGap = 4;
/// What staying with the last slot's goal is worth, in cells.
constexpr double KeepGoal = 2.0;
/// The urgency added to the enemy it was after in the last slot.
constexpr double KeepTarget = 2.0;

bool Aligned(const BotSprite& s) { return s.Left % Cell == 0 && s.Top % Cell == 0; }

/// How much an enemy threatens the base: more the nearer it is, most in the
/// base's column above it or in the base's row.
double Urgency(BotCell e)
{
    const std::int32_t away = std::abs(e.Col - BaseCol) + std::abs(e.Row - BaseRow);
    double u = std::max(0, 12 - away) / 2.0;
    if (e.Col == BaseCol || e.Row == BaseRow) u += 4;
    return u;
}

/// True when a shot from `from` in `direction` runs on toward the base.
bool LineHitsBase(BotCell from, std::int32_t direction)
{
    switch (direction) {
    case DirDown: return from.Col == BaseCol && from.Row < BaseRow;
    case DirLeft: return from.Row == BaseRow && from.Col > BaseCol;
    case DirRight: return from.Row == BaseRow && from.Col < BaseCol;
    default: return false;
    }
}

/// The enemies' speeds by their pictures: the light cars move every tick,
/// the medium tank every second, the heavy tank every third.
double SpeedOf(std::int32_t imageGroup, std::int32_t moveStep)
{
    switch (imageGroup) {
    case GroupEnemyTank: return moveStep / 2.0;
    case GroupEnemyLargeTank: return moveStep / 3.0;
    default: return moveStep;
    }
}

} // namespace

Bot::Bot(std::int32_t player, std::int32_t moveStep)
    : entry_(player == 2 ? 1 : 0), moveStep_(moveStep), keys_(player == 2 ? Player2Keys : Player1Keys),
      field_(entry_, moveStep)
{
}

void Bot::Keys(const GateType& gate, std::int64_t slot, std::vector<KeyEvent>& out)
{
    if (fireDown_) {
        out.push_back({slot, false, keys_.FireKey});
        fireDown_ = false;
    }
    if (entry_ >= gate.Sprites.size() || !gate.Sprites[entry_]->Active) {
        if (held_ != 0) out.push_back({slot, false, held_});
        held_ = 0;
        return;
    }
    field_.Look(gate);
    Watch(field_, slot);
    field_.TakeSpeeds(speeds_);
    ToKeys(Decide(field_, slot), field_.Me(), slot, out);
}

void Bot::Watch(const BotField& field, std::int64_t slot)
{
    for (const BotSprite& e : field.Enemies()) {
        if (e.Index < 0 || e.Index >= MaxTracked) continue; // a saved game may number its tanks oddly
        const auto i = static_cast<std::size_t>(e.Index);
        if (i >= tracks_.size()) {
            tracks_.resize(i + 1);
            speeds_.resize(i + 1);
        }
        Track& t = tracks_[i];
        if (t.Left != e.Left || t.Top != e.Top) t.Moved = slot;
        t.Left = e.Left;
        t.Top = e.Top;
        speeds_[i] = slot - t.Moved <= StillMoving ? SpeedOf(e.ImageGroup, moveStep_) : 0.0;
    }
}

std::optional<Bot::Incoming> Bot::IncomingShell(const BotField& field) const
{
    const BotSprite& me = field.Me();
    std::optional<Incoming> nearest;
    std::int32_t nearestAhead = ShellWatch;
    for (const BotSprite& s : field.EnemyShells()) {
        const BotCell step = StepOf(s.Direction);
        // Its box must come to hold our centre: in our row or column, closing in.
        const std::int32_t across = step.Row == 0 ? s.Top - me.Top : s.Left - me.Left;
        const std::int32_t ahead = step.Row == 0 ? (me.Left - s.Left) * step.Col : (me.Top - s.Top) * step.Row;
        if (std::abs(across) >= Cell / 2 || ahead <= 0 || ahead >= nearestAhead) continue;
        // A wall between stops it.
        bool shut = false;
        const BotCell from = CentreCell(s), to = CentreCell(me);
        for (BotCell c = from; !(c == to) && field.Inside(c); c = {c.Col + step.Col, c.Row + step.Row})
            shut = shut || (!(c == from) && field.At(c).Block == BlockWall);
        if (shut) continue;
        nearestAhead = ahead;
        nearest = Incoming{Opposite(s.Direction), static_cast<std::int64_t>((ahead - Cell / 2) / std::max(1.0, s.Speed))};
    }
    return nearest;
}

Bot::Plan Bot::Decide(const BotField& field, std::int64_t slot) { return Evade(field, Intend(field, slot)); }

Bot::Plan Bot::Evade(const BotField& field, Plan plan) const
{
    const BotSprite& me = field.Me();
    const bool aligned = Aligned(me);
    // Where a plan takes the tank in the next ticks: a tap or no key stands.
    auto strike = [&](const Plan& p) {
        if (p.Face || !p.Move) return field.StrikeTick(me.Direction, false, EvadeHorizon);
        const BotCell step = StepOf(*p.Move);
        const bool moves = !aligned || field.Drivable({me.Left / Cell + step.Col, me.Top / Cell + step.Row});
        return field.StrikeTick(*p.Move, moves, EvadeHorizon);
    };
    std::int32_t latest = strike(plan);
    if (latest >= BotField::Far) return plan;
    // Something will strike: of standing, going on, backing off and, on the
    // grid, turning aside, take what is struck last (or never).
    std::vector<Plan> ways{Plan{}};
    for (const std::int32_t way : {DirLeft, DirRight, DirUp, DirDown})
        if (aligned || way == me.Direction || way == Opposite(me.Direction)) ways.push_back(Plan{way, std::nullopt, false});
    const bool fire = plan.Fire && (!plan.Face || *plan.Face == me.Direction);
    for (const Plan& way : ways) {
        const std::int32_t when = strike(way);
        if (when > latest) {
            latest = when;
            plan = way;
            plan.Fire = fire;
        }
    }
    return plan;
}

Bot::Plan Bot::Intend(const BotField& field, std::int64_t slot)
{
    const BotSprite& me = field.Me();
    Plan plan;
    const bool ready = !fireDown_ && slot - lastFire_ >= FireGap;
    const bool aligned = Aligned(me);
    auto shootable = [&](std::int32_t direction) {
        if (!ready) return false;
        const BotField::Shot shot = field.Fire(direction);
        return shot.StrikesTarget;
    };

    // Stuck between cells or on one, with a key held: give the way up.
    const bool stood = me.Left == lastLeft_ && me.Top == lastTop_;
    stuck_ = stood && held_ != 0 ? stuck_ + 1 : 0;
    lastLeft_ = me.Left;
    lastTop_ = me.Top;
    if (slot >= avoidUntil_) avoid_.clear();

    // 1. A shell coming at us: shoot it when there is time (else Evade steps aside).
    if (const auto shell = IncomingShell(field)) {
        const bool canFace = shell->Way == me.Direction || aligned || Opposite(me.Direction) == shell->Way;
        const std::int64_t readyIn = ready ? 0 : std::max<std::int64_t>(1, FireGap - (slot - lastFire_));
        if (canFace && readyIn + 2 < shell->Ticks) {
            plan.Face = shell->Way;
            plan.Fire = ready && !field.Fire(shell->Way).Harmful;
            return plan;
        }
    }

    // 2. Whatever is in front.
    plan.Fire = shootable(me.Direction);

    // 3. Where to go.
    if (!aligned) {
        plan.Move = stuck_ >= StuckSlots ? Opposite(me.Direction) : me.Direction;
        if (stuck_ >= StuckSlots) stuck_ = 0;
        return plan;
    }
    const BotCell here{me.Left / Cell, me.Top / Cell};
    if (!field.Inside(here)) return plan; // a saved game may hold a tank off the field
    if (stuck_ >= StuckSlots) {
        const BotCell step = StepOf(me.Direction);
        avoid_ = {{here.Col + step.Col, here.Row + step.Row}};
        avoidUntil_ = slot + 4 * StuckSlots;
        stuck_ = 0;
        route_ = {};
    }
    // Standing on the grid it thinks again every few slots; moving, on every cell.
    if (!(here == route_.From) || slot - route_.Slot >= ThinkGap) route_ = FindRoute(field, here, slot);
    if (!route_.Way) return plan;
    if (route_.AtGoal) {
        plan.Face = *route_.Way;
        plan.Fire = shootable(*route_.Way);
        return plan;
    }
    const BotCell step = StepOf(*route_.Way);
    const BotCell next{here.Col + step.Col, here.Row + step.Row};
    if (field.Drivable(next)) {
        plan.Move = *route_.Way;
        return plan;
    }
    // A wall on the way: shoot through it.
    plan.Face = *route_.Way;
    const BotField::Shot shot = field.Fire(*route_.Way);
    plan.Fire = ready && !shot.Harmful && (shot.StrikesTarget || shot.WallMet == next);
    return plan;
}

Bot::Route Bot::FindRoute(const BotField& field, BotCell here, std::int64_t slot)
{
    Route route{here, slot, std::nullopt, false};
    std::array<std::int32_t, BotField::Cells> dist{};
    std::array<std::int8_t, BotField::Cells> lastStep{};
    field.Distances(here, avoid_, dist, lastStep);
    const auto goal = ChooseGoal(field, dist);
    if (!goal) return route;
    if (goal->Cell == here) {
        route.Way = goal->Face;
        route.AtGoal = true;
        return route;
    }
    // The first step of the way back from the goal.
    BotCell at = goal->Cell;
    std::int32_t first = DirUp;
    while (!(at == here)) {
        first = lastStep[static_cast<std::size_t>(BotField::Key(at))];
        const BotCell step = StepOf(first);
        at = {at.Col - step.Col, at.Row - step.Row};
    }
    route.Way = first;
    return route;
}

std::optional<Bot::Goal> Bot::ChooseGoal(const BotField& field, const std::array<std::int32_t, BotField::Cells>& dist)
{
    const BotSprite& me = field.Me();
    const Goal post = Home(field, dist);
    const BotCell home = post.Cell;
    std::optional<Goal> best;
    double bestCost = 1e9;
    std::int32_t bestTarget = -1;
    auto consider = [&](BotCell c, std::int32_t face, double cost, std::int32_t target) {
        if (c == goal_.Cell && face == goal_.Face) cost -= KeepGoal; // a plan changed only for a clearly better one
        cost += Leash * (std::abs(c.Col - home.Col) + std::abs(c.Row - home.Row));
        if (cost < bestCost) {
            bestCost = cost;
            best = Goal{c, face};
            bestTarget = target;
        }
    };
    double mostUrgent = 0;
    for (const BotSprite& e : field.Enemies()) {
        const BotCell ec = CentreCell(e);
        const double urgency = Urgency(ec) + (e.Index == target_ ? KeepTarget : 0.0);
        mostUrgent = std::max(mostUrgent, urgency);
        for (std::int32_t dir = DirLeft; dir <= DirDown; ++dir) {
            const BotCell step = StepOf(dir);
            const std::int32_t face = Opposite(dir); // from the cell back toward the enemy
            std::int32_t line = 1;
            for (BotCell c{ec.Col + step.Col, ec.Row + step.Row}; field.Inside(c) && field.At(c).Block != BlockWall;
                 c = {c.Col + step.Col, c.Row + step.Row}, ++line) {
                const std::int32_t d = dist[static_cast<std::size_t>(BotField::Key(c))];
                if (!field.Drivable(c) || d >= BotField::Far) continue;
                consider(c, face, d + line / 2.0 - 1.5 * urgency + (LineHitsBase(c, face) ? 2.0 : 0.0), e.Index);
            }
        }
    }
    // A bonus close by, when nothing presses.
    if (mostUrgent < 5) {
        for (std::int32_t key = 0; key < BotField::Cells; ++key) {
            const BotCell c{key % FieldCols, key / FieldCols};
            const std::int32_t d = dist[static_cast<std::size_t>(key)];
            if (d <= 8 && field.At(c).Bonus != BonusNone) consider(c, me.Direction, d - 3.0, -1);
        }
    }
    // Nothing in sight: back to the post, watching the way down to the base.
    if (!best && dist[static_cast<std::size_t>(BotField::Key(home))] < BotField::Far) best = post;
    target_ = bestTarget;
    goal_ = best.value_or(Goal{});
    return best;
}

Bot::Goal Bot::Home(const BotField& field, const std::array<std::int32_t, BotField::Cells>& dist) const
{
    // The ways a shell reaches the base: down its column, along its row from
    // either side. Each is watched from the first open cell outside the
    // bricks; the way open the longest is the one to watch, and a second
    // player watches the next.
    struct Way {
        Goal Post;
        std::int32_t Open = -1; ///< cells a shell flies through toward the bricks
    };
    std::vector<Way> ways;
    for (const std::int32_t out : {DirUp, DirLeft, DirRight}) {
        const BotCell step = StepOf(out);
        Way way;
        for (BotCell c{BaseCol + 2 * step.Col, BaseRow + 2 * step.Row}; field.Inside(c) && field.At(c).Block != BlockWall;
             c = {c.Col + step.Col, c.Row + step.Row}) {
            ++way.Open;
            if (way.Post.Cell.Col < 0 && field.Drivable(c) && dist[static_cast<std::size_t>(BotField::Key(c))] < BotField::Far)
                way.Post = Goal{c, out};
        }
        if (way.Post.Cell.Col >= 0) ways.push_back(way);
    }
    std::stable_sort(ways.begin(), ways.end(), [](const Way& a, const Way& b) { return a.Open > b.Open; });
    const std::size_t pick = entry_ == 1 && !field.Mates().empty() ? 1 : 0;
    if (!ways.empty()) return ways[std::min(pick, ways.size() - 1)].Post;
    // Walled in on every side: the reachable open cell nearest to the base.
    Goal home{{BaseCol, BaseRow}, DirUp};
    std::int32_t nearest = BotField::Far;
    for (std::int32_t key = 0; key < BotField::Cells; ++key) {
        const BotCell c{key % FieldCols, key / FieldCols};
        const std::int32_t away = std::abs(c.Col - BaseCol) + std::abs(c.Row - BaseRow);
        if (dist[static_cast<std::size_t>(key)] < BotField::Far && field.Drivable(c) && away < nearest) {
            nearest = away;
            home.Cell = c;
        }
    }
    return home;
}

void Bot::ToKeys(const Plan& plan, const BotSprite& me, std::int64_t slot, std::vector<KeyEvent>& out)
{
    const KeyCode moveKeys[] = {keys_.LeftKey, keys_.RightKey, keys_.UpKey, keys_.DownKey};
    auto letGo = [&] {
        if (held_ != 0) out.push_back({slot, false, held_});
        held_ = 0;
    };
    if (plan.Face) {
        letGo();
        if (*plan.Face != me.Direction) {
            const KeyCode key = moveKeys[*plan.Face];
            out.push_back({slot, true, key}); // a tap turns the tank where it stands
            out.push_back({slot, false, key});
        }
    } else if (plan.Move) {
        const KeyCode key = moveKeys[*plan.Move];
        if (held_ != key) {
            letGo();
            out.push_back({slot, true, key});
            held_ = key;
        }
    } else {
        letGo();
    }
    if (plan.Fire) {
        out.push_back({slot, true, keys_.FireKey});
        fireDown_ = true;
        lastFire_ = slot;
    }
}

} // namespace brakkon
