#include "game/SpriteUpdate.h"

#include "game/Geometry.h"
#include "game/Movers.h"
#include "game/WrapInt.h"

namespace brakkon {
namespace {

/// The lattice on which shells start, and the cell size it is counted in.
constexpr std::int32_t ShellLattice = 16;
constexpr std::int32_t LatticeCell = 32;

bool Horizontal(std::int32_t direction) { return direction == DirLeft || direction == DirRight; }
bool Vertical(std::int32_t direction) { return direction == DirUp || direction == DirDown; }

/// A tank's one step on its way when the way is open: between two cells it
/// always completes the way; on a cell it needs the next cell open. A player's
/// tank also needs to be on the grid of the other axis.
void StepAhead(MainState& state, GameHost& host, SpriteType& s, bool checkOtherAxis)
{
    const GameType& game = state.Game;
    const GateType& gate = *game.Gate;
    const std::int32_t step = state.MoveStep;
    switch (s.Direction) {
    case DirLeft:
        if ((!checkOtherAxis || s.OffsetY == 0) && (s.OffsetX != 0 || (s.Col > 0 && CellOpen(gate, s.Col - 1, s.Row))))
            MoveX(state, host, s, -step);
        break;
    case DirRight:
        if ((!checkOtherAxis || s.OffsetY == 0) &&
            (s.OffsetX != 0 || (s.Col < game.Cols - 1 && CellOpen(gate, s.Col + 1, s.Row))))
            MoveX(state, host, s, step);
        break;
    case DirUp:
        if ((!checkOtherAxis || s.OffsetX == 0) && (s.OffsetY != 0 || (s.Row > 0 && CellOpen(gate, s.Col, s.Row - 1))))
            MoveY(state, host, s, -step);
        break;
    case DirDown:
        if ((!checkOtherAxis || s.OffsetX == 0) &&
            (s.OffsetY != 0 || (s.Row < game.Rows - 1 && CellOpen(gate, s.Col, s.Row + 1))))
            MoveY(state, host, s, step);
        break;
    default:
        break;
    }
}

void UpdatePlayerTank(MainState& state, GameHost& host, SpriteType& s, const PlayerType& player)
{
    if (player.MoveIdle) return;
    const GameType& game = state.Game;
    const std::int32_t req = player.MoveDir;

    // 1. The tracks turn every tick a key is held, even against a wall.
    NextFrame(state, s);

    // 2. Turn where the tank is on the grid of its present axis; reversing is always allowed.
    if (req != s.Direction && ((s.OffsetX == 0 && Vertical(req)) || (s.OffsetY == 0 && Horizontal(req)))) {
        TurnSprite(state, host, s, req);
        return;
    }

    // 3. Cornering help: between two cells, head for the nearer boundary
    //    (exactly half a cell counts as nearer to the next cell).
    if (s.OffsetX != 0 && ((req == DirUp && s.Row > 0) || (req == DirDown && s.Row < game.Rows - 1)))
        TurnSprite(state, host, s, s.OffsetX < game.CellWidth / 2 ? DirLeft : DirRight);
    else if (s.OffsetY != 0 && ((req == DirLeft && s.Col > 0) || (req == DirRight && s.Col < game.Cols - 1)))
        TurnSprite(state, host, s, s.OffsetY < game.CellHeight / 2 ? DirUp : DirDown);

    // 4. and 5. Another tank in front stops it; otherwise one step.
    if (TankAhead(*game.Gate, s)) return;
    StepAhead(state, host, s, true);
}

void UpdateShell(MainState& state, GameHost& host, SpriteType& s)
{
    const GameType& game = state.Game;
    // 1. A shell lying on the first or last cell of its axis of travel leaves the field.
    const bool leavesAcross = Horizontal(s.Direction) && s.OffsetX == 0 && (s.Col == 0 || s.Col >= game.Cols - 1);
    const bool leavesDown = Vertical(s.Direction) && s.OffsetY == 0 && (s.Row == 0 || s.Row >= game.Rows - 1);
    if (leavesAcross || leavesDown) {
        s.Active = 0;
        if (CellType* cell = CellAt(*game.Gate, s.Col, s.Row)) MarkCell(state, *cell);
        return;
    }

    // 2. and 3. Flight: heavier shells fly twice as fast.
    const std::int32_t distance = state.MoveStep * (s.Level == 1 || s.Level == 2 ? 4 : 2);
    switch (s.Direction) {
    case DirLeft:
        if (s.OffsetX != 0 || s.Col > 0) MoveX(state, host, s, -distance);
        break;
    case DirRight:
        if (s.OffsetX != 0 || s.Col < game.Cols - 1) MoveX(state, host, s, distance);
        break;
    case DirUp:
        if (s.OffsetY != 0 || s.Row > 0) MoveY(state, host, s, -distance);
        break;
    case DirDown:
        if (s.OffsetY != 0 || s.Row < game.Rows - 1) MoveY(state, host, s, distance);
        break;
    default:
        break;
    }
}

/// The random turn of an enemy on a cell boundary: into an open side way,
/// or back when the way ahead is shut. Returns whether it turned.
bool ChooseTurn(MainState& state, GameHost& host, SpriteType& s)
{
    const GameType& game = state.Game;
    const GateType& gate = *game.Gate;
    if (Horizontal(s.Direction)) {
        if (s.OffsetX != 0) return false;
        const bool upOpen = s.Row > 0 && CellOpen(gate, s.Col, s.Row - 1);
        const bool downOpen = s.Row < game.Rows - 1 && CellOpen(gate, s.Col, s.Row + 1);
        if ((upOpen || downOpen) && Chance(state, s.TurnChance)) {
            const bool up = upOpen && downOpen ? Chance(state, 5000) : upOpen;
            TurnSprite(state, host, s, up ? DirUp : DirDown);
            return true;
        }
        if (s.Direction == DirLeft && (s.Col == 0 || !CellOpen(gate, s.Col - 1, s.Row)) &&
            Chance(state, s.BackChance)) {
            TurnSprite(state, host, s, DirRight);
            return true;
        }
        if (s.Direction == DirRight && (s.Col == game.Cols - 1 || !CellOpen(gate, s.Col + 1, s.Row)) &&
            Chance(state, s.BackChance)) {
            TurnSprite(state, host, s, DirLeft);
            return true;
        }
        return false;
    }
    if (s.OffsetY != 0) return false;
    const bool leftOpen = s.Col > 0 && CellOpen(gate, s.Col - 1, s.Row);
    const bool rightOpen = s.Col < game.Cols - 1 && CellOpen(gate, s.Col + 1, s.Row);
    if ((leftOpen || rightOpen) && Chance(state, s.TurnChance)) {
        const bool left = leftOpen && rightOpen ? Chance(state, 5000) : leftOpen;
        TurnSprite(state, host, s, left ? DirLeft : DirRight);
        return true;
    }
    if (s.Direction == DirUp && (s.Row == 0 || !CellOpen(gate, s.Col, s.Row - 1)) && Chance(state, s.BackChance)) {
        TurnSprite(state, host, s, DirDown);
        return true;
    }
    if (s.Direction == DirDown && (s.Row == game.Rows - 1 || !CellOpen(gate, s.Col, s.Row + 1)) &&
        Chance(state, s.BackChance)) {
        TurnSprite(state, host, s, DirUp);
        return true;
    }
    return false;
}

void UpdateEnemyTank(MainState& state, GameHost& host, SpriteType& s)
{
    const GateType& gate = *state.Game.Gate;
    // 1. Fire, every tick, aimed at nothing.
    if (Chance(state, s.FireChance)) LaunchShell(state, s, KindEnemyShell);

    // 2. Only every StepPeriod-th tick is a decision tick.
    s.StepCount = WrapAdd(s.StepCount, 1);
    if (s.StepCount >= 0 && s.StepCount < s.StepPeriod) return;
    s.StepCount = 0;

    // 3. A tank in front: reverse, one time in two.
    if (TankAhead(gate, s)) {
        if (Chance(state, 5000)) TurnSprite(state, host, s, Opposite(s.Direction));
        return;
    }

    // 4. Turn choice.
    if (!Horizontal(s.Direction) && !Vertical(s.Direction)) return;
    const bool turned = ChooseTurn(state, host, s);

    // 5. Now and then a reversal for no reason.
    if (!turned && Chance(state, s.ReverseChance)) {
        TurnSprite(state, host, s, Opposite(s.Direction));
        return;
    }

    // 6. and 7. One step on, unless it turned into a tank.
    if (turned && TankAhead(gate, s)) return;
    NextFrame(state, s);
    StepAhead(state, host, s, false);
}

/// The shell's start on the lattice along one axis: the near side of the
/// front lattice square, never below 0.
std::int32_t LatticeBehind(std::int32_t edge)
{
    const std::int64_t start = std::int64_t{edge} - ShellLattice - edge % ShellLattice;
    return start < 0 ? 0 : static_cast<std::int32_t>(start);
}

/// The far side of the lattice square that holds the front edge.
std::int32_t LatticeAt(std::int32_t edge) { return edge - edge % ShellLattice; }

} // namespace

bool Chance(MainState& state, std::int32_t n) { return state.Rand.Chance(n); }

bool TouchesAhead(const SpriteType& s, const SpriteType& t)
{
    // 64-bit sums: stored rectangles may hold any values.
    using I = std::int64_t;
    const bool acrossOverlap = I{t.Bottom} >= s.Top && I{t.Top} <= s.Bottom;
    const bool alongOverlap = I{t.Right} >= s.Left && I{t.Left} <= s.Right;
    switch (s.Direction) {
    case DirLeft: return I{t.Right} + 1 == s.Left && acrossOverlap;
    case DirRight: return I{t.Left} - 1 == s.Right && acrossOverlap;
    case DirUp: return I{t.Bottom} + 1 == s.Top && alongOverlap;
    case DirDown: return I{t.Top} - 1 == s.Bottom && alongOverlap;
    default: return false;
    }
}

bool TankAhead(const GateType& gate, const SpriteType& s)
{
    for (const auto& t : gate.Sprites) {
        if (t.get() == &s || !t->Active) continue;
        if (t->Kind != KindPlayer1 && t->Kind != KindPlayer2 && t->Kind != KindEnemy) continue;
        if (TouchesAhead(s, *t)) return true;
    }
    return false;
}

void LaunchShell(MainState& state, const SpriteType& tank, std::uint8_t kind)
{
    const GameType& game = state.Game;
    GateType& gate = *game.Gate;
    auto shell = std::make_unique<SpriteType>();
    SpriteType& s = *shell;
    s.Index = static_cast<std::int32_t>(gate.Sprites.size());
    s.Kind = kind;
    s.Level = tank.Level;
    s.ImageGroup = WrapAdd(tank.Level, GroupShell);
    s.Frame = 0;
    s.Direction = tank.Direction;
    s.StepPeriod = 1;
    s.StepCount = 0;
    s.Active = 1;
    s.Shield = 0;
    s.Armour = 0;

    std::int32_t x = 0;
    std::int32_t y = 0;
    switch (tank.Direction) {
    case DirLeft: x = LatticeBehind(tank.Left), y = tank.Top; break;
    case DirRight: x = LatticeAt(tank.Right), y = tank.Top; break;
    case DirUp: x = tank.Left, y = LatticeBehind(tank.Top); break;
    case DirDown: x = tank.Left, y = LatticeAt(tank.Bottom); break;
    default: break;
    }
    // A start left of or above the field is taken as its edge; the division
    // below would otherwise leave a negative offset in column or row 0.
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    s.Col = x / LatticeCell;
    s.Row = y / LatticeCell;
    s.OffsetX = x % LatticeCell;
    s.OffsetY = y % LatticeCell;
    s.Left = x;
    s.Top = y;
    s.Right = WrapSub(WrapAdd(x, game.CellWidth), 1);
    s.Bottom = WrapSub(WrapAdd(y, game.CellHeight), 1);

    // Kept inside the field: a shell launched in the last column or row lies
    // aligned there.
    if (s.Col >= game.Cols - 1) {
        s.Col = game.Cols - 1;
        s.Left = WrapMul(s.Col, game.CellWidth);
        s.Right = WrapSub(WrapAdd(s.Left, game.CellWidth), 1);
        s.OffsetX = 0;
    }
    if (s.Row >= game.Rows - 1) {
        s.Row = game.Rows - 1;
        s.Top = WrapMul(s.Row, game.CellHeight);
        s.Bottom = WrapSub(WrapAdd(s.Top, game.CellHeight), 1);
        s.OffsetY = 0;
    }
    s.Dirty = 1;
    gate.Sprites.push_back(std::move(shell));
}

void UpdateSprite(MainState& state, GameHost& host, SpriteType& s)
{
    if (!s.Active) return;
    switch (s.Kind) {
    case KindPlayer1: UpdatePlayerTank(state, host, s, state.Player1); break;
    case KindPlayer2: UpdatePlayerTank(state, host, s, state.Player2); break;
    case KindPlayerShell:
    case KindEnemyShell: UpdateShell(state, host, s); break;
    case KindEnemy: UpdateEnemyTank(state, host, s); break;
    default: break;
    }
}

} // namespace brakkon
