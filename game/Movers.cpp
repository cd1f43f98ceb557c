#include "game/Movers.h"

#include "game/Geometry.h"
#include "game/Hits.h"
#include "game/WrapInt.h"

#include <algorithm>

namespace brakkon {
namespace {

/// One axis of motion: the sprite fields and field sizes it works on.
struct Axis {
    std::int32_t SpriteType::*Offset;  ///< OffsetX or OffsetY
    std::int32_t SpriteType::*Index;   ///< Col or Row
    std::int32_t SpriteType::*Low;     ///< Left or Top
    std::int32_t SpriteType::*High;    ///< Right or Bottom
    std::int32_t GameType::*Count;     ///< Cols or Rows
    std::int32_t GameType::*Size;      ///< CellWidth or CellHeight
    std::int32_t StepCol;              ///< the neighbour ahead on this axis
    std::int32_t StepRow;
};

constexpr Axis Horizontal{&SpriteType::OffsetX, &SpriteType::Col, &SpriteType::Left, &SpriteType::Right,
                          &GameType::Cols, &GameType::CellWidth, 1, 0};
constexpr Axis Vertical{&SpriteType::OffsetY, &SpriteType::Row, &SpriteType::Top, &SpriteType::Bottom,
                        &GameType::Rows, &GameType::CellHeight, 0, 1};

/// The next cell along the axis, when the sprite is not in the last one and
/// reaches into it.
CellType* CellAhead(GameType& game, const SpriteType& s, const Axis& axis)
{
    if (s.*axis.Index >= game.*axis.Count - 1) return nullptr;
    CellType* cell = CellAt(*game.Gate, s.Col + axis.StepCol, s.Row + axis.StepRow);
    if (cell == nullptr || !CornerInRect(RectOf(*cell), RectOf(s))) return nullptr;
    return cell;
}

/// Shortens a move that would take the sprite past the field's edge. Play
/// never asks for one, but a sprite loaded with an offset that is not a
/// multiple of the present step would otherwise step off the map.
std::int32_t KeepInField(const GameType& game, const SpriteType& s, std::int32_t d, const Axis& axis)
{
    const std::int64_t low = s.*axis.Low;
    const std::int64_t last = static_cast<std::int64_t>(game.*axis.Count - 1) * (game.*axis.Size);
    if (d < 0) return static_cast<std::int32_t>(std::max<std::int64_t>(d, std::min<std::int64_t>(0, -low)));
    if (d > 0) return static_cast<std::int32_t>(std::min<std::int64_t>(d, std::max<std::int64_t>(0, last - low)));
    return 0;
}

/// An enemy tank destroyed by a shell comes back at the top corner on the far
/// side from the shell while enemies are left to come; otherwise it is out.
void DestroyEnemy(MainState& state, GameHost& host, SpriteType& enemy, const SpriteType& shell)
{
    GameType& game = state.Game;
    host.PlayEffect(SoundEffect::EnemyDestroyed);
    if (game.Gate->EnemiesLeft > 0) {
        game.Gate->EnemiesLeft -= 1;
        MoveX(state, host, enemy, 0);
        MoveY(state, host, enemy, 0);
        enemy.Direction = DirDown;
        enemy.Armour = WrapMul(2, enemy.Level);
        PlaceOnCell(game, enemy, shell.Col > game.Cols / 2 ? 0 : game.Cols - 1, 0);
    } else {
        enemy.Active = 0;
    }
    MoveX(state, host, enemy, 0);
    MoveY(state, host, enemy, 0);
}

/// A shell lying exactly on a wall cell bursts there and breaks the wall when
/// the wall is not harder than the shell.
void WallCheck(MainState& state, SpriteType& s)
{
    if (s.OffsetX != 0 || s.OffsetY != 0) return;
    CellType* cell = CellAt(*state.Game.Gate, s.Col, s.Row);
    if (cell == nullptr || cell->Block != BlockWall) return;
    NextFrame(state, s);
    if (cell->Hardness <= s.Level) {
        cell->Block = BlockOpen;
        cell->WallImage = TileNone;
    }
}

/// A player's shell strikes the first enemy tank whose centre it covers, and
/// cancels every enemy shell it covers on the way there.
void PlayerShellStrikes(MainState& state, GameHost& host, SpriteType& s)
{
    SpriteList& sprites = state.Game.Gate->Sprites;
    bool hit = false;
    const std::size_t count = sprites.size();
    for (std::size_t i = 2; i < count; ++i) {
        SpriteType& e = *sprites[i];
        if (e.Kind == KindEnemy && e.Active && CentreInside(e, s)) {
            hit = true;
            e.Armour = WrapSub(WrapSub(e.Armour, s.Level), 1);
            if (e.Armour < 0) DestroyEnemy(state, host, e, s);
            NextFrame(state, s);
            break;
        }
        if (e.Kind == KindEnemyShell && e.Active && CentreInside(e, s)) {
            // Both shells vanish without a sound, and the scan goes on.
            hit = true;
            s.Active = 0;
            e.Active = 0;
        }
    }
    if (!hit) WallCheck(state, s);
}

/// An enemy's shell strikes player 1's tank, else player 2's, whichever
/// centre it covers first.
void EnemyShellStrikes(MainState& state, GameHost& host, SpriteType& s)
{
    SpriteList& sprites = state.Game.Gate->Sprites;
    bool hit = false;
    for (std::size_t p = 0; p < 2 && p < sprites.size(); ++p) {
        SpriteType& player = *sprites[p];
        if (player.Active && CentreInside(player, s)) {
            hit = true;
            MoveX(state, host, player, 0);
            MoveY(state, host, player, 0);
            NextFrame(state, s);
            HitTank(state, host, player);
            break;
        }
    }
    if (!hit) WallCheck(state, s);
}

void Move(MainState& state, GameHost& host, SpriteType& s, std::int32_t d, const Axis& axis)
{
    GameType& game = state.Game;
    GateType& gate = *game.Gate;

    // 1. The cells the sprite covers before the move.
    CellType* oldCell = CellAt(gate, s.Col, s.Row);
    CellType* nextCell = CellAhead(game, s, axis);
    CellType* enteredCell = nullptr;

    // 2. The move, crossing at most one cell boundary.
    d = KeepInField(game, s, d, axis);
    if (d != 0) {
        const std::int32_t size = game.*axis.Size;
        s.*axis.Offset += d;
        s.*axis.Low += d;
        s.*axis.High += d;
        if (s.*axis.Offset < 0) {
            s.*axis.Index -= 1;
            s.*axis.Offset += size;
            enteredCell = CellAt(gate, s.Col, s.Row);
        } else if (s.*axis.Offset >= size) {
            s.*axis.Index += 1;
            s.*axis.Offset -= size;
            enteredCell = CellAhead(game, s, axis);
        } else if (nextCell == nullptr) {
            // Leaving the cell's origin: the far edge has just reached into
            // the next cell, whose cover must be drawn over it at once.
            enteredCell = CellAhead(game, s, axis);
        }
    }

    // 3. A player's tank in play takes the bonus of the cell it stands on.
    //    (Steps 3 to 6 each concern one kind of sprite, so one order of them
    //    serves MoveX and MoveY alike.)
    if ((s.Kind == KindPlayer1 || s.Kind == KindPlayer2) && s.Active && s.OffsetX == 0 && s.OffsetY == 0) {
        CellType* cell = CellAt(gate, s.Col, s.Row);
        if (cell != nullptr && cell->Bonus >= BonusLevelUp && cell->Bonus <= BonusShield) {
            TakeBonus(state, host, s, cell->Bonus);
            cell->Bonus = BonusNone;
            cell->TopImage = TileNone;
        }
    }

    const bool shell = s.Kind == KindPlayerShell || s.Kind == KindEnemyShell;
    // 4. A shell that burst in its last move vanishes now.
    if (shell && s.Active && s.Frame > 0) s.Active = 0;
    // 5. and 6. Strikes.
    if (s.Kind == KindPlayerShell && s.Active) PlayerShellStrikes(state, host, s);
    if (s.Kind == KindEnemyShell && s.Active) EnemyShellStrikes(state, host, s);

    // 7. The cells left, covered and entered are drawn again.
    if (oldCell != nullptr) MarkCell(state, *oldCell);
    if (nextCell != nullptr) MarkCell(state, *nextCell);
    if (enteredCell != nullptr) MarkCell(state, *enteredCell);
}

} // namespace

void MoveX(MainState& state, GameHost& host, SpriteType& s, std::int32_t dx) { Move(state, host, s, dx, Horizontal); }

void MoveY(MainState& state, GameHost& host, SpriteType& s, std::int32_t dy) { Move(state, host, s, dy, Vertical); }

void TurnSprite(MainState& state, GameHost& host, SpriteType& s, std::int32_t direction)
{
    if (direction == s.Direction) return;
    s.Direction = direction;
    s.Frame = 0;
    MoveX(state, host, s, 0);
    MoveY(state, host, s, 0);
}

void TakeBonus(MainState& state, GameHost& host, SpriteType& s, std::int32_t bonus)
{
    GateType& gate = *state.Game.Gate;
    switch (bonus) {
    case BonusLevelUp:
        if (s.Level < 2) {
            s.Level += 1;
            s.ImageGroup = WrapAdd(s.ImageGroup, 1);
        }
        break;
    case BonusExtraLife:
        if (!gate.Sprites.empty() && &s == gate.Sprites[0].get()) {
            if (gate.Lives1 < 3) gate.Lives1 += 1;
        } else if (gate.Sprites.size() > 1 && &s == gate.Sprites[1].get()) {
            if (gate.Lives2 < 3) gate.Lives2 += 1;
        }
        break;
    case BonusShield:
        s.Shield = 10;
        break;
    default:
        break;
    }
    host.PlayEffect(SoundEffect::Bonus);
    host.ShowIndicators();
}

} // namespace brakkon
