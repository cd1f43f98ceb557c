#include "game/GateStart.h"

#include "game/ByteStream.h"
#include "game/Geometry.h"
#include "game/GateStream.h"
#include "game/SpriteUpdate.h"
#include "game/WrapInt.h"

namespace brakkon {
namespace {

/// What a gate takes over from the game so far.
struct Carry {
    std::int32_t Level1 = 0;   ///< player 1's tank level
    std::int32_t Level2 = 0;   ///< player 2's tank level
    bool InPlay1 = true;       ///< player 1 takes part
    bool InPlay2 = false;      ///< player 2 takes part
    std::int32_t Lives1 = 1;   ///< reserve tanks
    std::int32_t Lives2 = 1;
    std::int32_t PlayTime = 0; ///< seconds played
    std::int32_t GateNo = 1;   ///< gate number shown
};

Carry TakeCarry(const GateType& gate, bool fresh, bool secondPlayer)
{
    Carry carry;
    if (fresh) {
        carry.InPlay2 = secondPlayer;
        return carry;
    }
    // Every gate start and every saved game provides both players' entries;
    // a working gate without them carries players that are out.
    const SpriteList& sprites = gate.Sprites;
    carry.Level1 = sprites.size() > 0 ? sprites[0]->Level : 0;
    carry.InPlay1 = sprites.size() > 0 && sprites[0]->Active;
    carry.Level2 = sprites.size() > 1 ? sprites[1]->Level : 0;
    carry.InPlay2 = sprites.size() > 1 && sprites[1]->Active;
    carry.Lives1 = gate.Lives1;
    carry.Lives2 = gate.Lives2;
    carry.PlayTime = gate.PlayTime;
    carry.GateNo = gate.GateNo;
    return carry;
}

/// Copies the stored gate through its serial form, as saving and loading
/// would, so the working gate shares nothing with it.
void CopyStoredGate(const GateType& stored, GateType& working)
{
    ByteWriter out;
    if (!WriteGate(out, &stored)) return; // reported; a read of the rest would only report again
    ByteReader in(out.Bytes());
    (void)ReadGate(in, &working);
}

void AddPlayer(MainState& state, std::uint8_t kind, std::int32_t level, bool inPlay)
{
    GateType& gate = *state.Game.Gate;
    auto tank = std::make_unique<SpriteType>();
    const bool first = kind == KindPlayer1;
    tank->Index = first ? 0 : 1;
    tank->Kind = kind;
    tank->Level = level;
    tank->ImageGroup = WrapAdd(level, first ? GroupPlayer1 : GroupPlayer2);
    tank->Frame = 0;
    tank->Direction = DirUp;
    tank->Active = inPlay ? 1 : 0;
    tank->StepPeriod = 1;
    tank->StepCount = 0;
    tank->Dirty = 1;
    tank->Shield = inPlay ? StartShield : 0;
    PlaceOnCell(state.Game, *tank, first ? Player1StartCol : Player2StartCol, PlayerStartRow);
    gate.Sprites.push_back(std::move(tank));
}

/// The four kinds of enemy tank, in the order gate start places them.
struct EnemyKind {
    std::int32_t GateType::*Quota; ///< how many of this kind the gate places
    std::int32_t Level;            ///< power level; armour is twice it
    std::int32_t ImageGroup;       ///< picture group
    std::int32_t StepPeriod;       ///< moves every StepPeriod ticks
};

constexpr EnemyKind EnemyKinds[] = {
    {&GateType::KC, 0, GroupEnemyKC, 1},
    {&GateType::ZJC, 0, GroupEnemyZJC, 1},
    {&GateType::Tank, 1, GroupEnemyTank, 2},
    {&GateType::LargeTank, 2, GroupEnemyLargeTank, 3},
};

void AddEnemy(MainState& state, const EnemyKind& kind)
{
    GameType& game = state.Game;
    GateType& gate = *game.Gate;
    gate.EnemiesLeft = WrapSub(gate.EnemiesLeft, 1);
    auto enemy = std::make_unique<SpriteType>();
    enemy->Index = static_cast<std::int32_t>(gate.Sprites.size());
    enemy->Kind = KindEnemy;
    enemy->Level = kind.Level;
    enemy->ImageGroup = kind.ImageGroup;
    enemy->StepPeriod = kind.StepPeriod;
    enemy->Frame = 0;
    enemy->StepCount = 0;
    enemy->Direction = DirDown;
    enemy->ReverseChance = EnemyReverseChance;
    enemy->TurnChance = EnemyTurnChance;
    enemy->BackChance = EnemyBackChance;
    enemy->FireChance = EnemyFireChance;
    enemy->Active = 1;
    enemy->Armour = 2 * kind.Level;
    PlaceOnCell(game, *enemy, Chance(state, 5000) ? 0 : game.Cols - 1, 0);
    enemy->Dirty = 1;
    gate.Sprites.push_back(std::move(enemy));
}

} // namespace

void StartGate(MainState& state, GameHost& host, std::int32_t index, bool fresh, bool secondPlayer)
{
    GameType& game = state.Game;
    if (index < 0 || static_cast<std::size_t>(index) >= game.Gates.size()) return;
    GateType& gate = *game.Gate;
    const Carry carry = TakeCarry(gate, fresh, secondPlayer);

    gate.Sprites.clear();
    gate.Cells.clear();
    CopyStoredGate(*game.Gates[static_cast<std::size_t>(index)], gate);
    gate.Sprites.clear(); // sprites stored with a gate play no part in starting it

    gate.Lives1 = carry.Lives1;
    gate.Lives2 = carry.Lives2;
    gate.PlayTime = carry.PlayTime;
    gate.GateNo = carry.GateNo;
    AddPlayer(state, KindPlayer1, carry.Level1, carry.InPlay1);
    AddPlayer(state, KindPlayer2, carry.Level2, carry.InPlay2);

    if (CellType* base = CellAt(gate, BaseCol, BaseRow)) {
        base->WallImage = TileBase;
        base->Hardness = 0;
        base->Block = BlockWall;
    }

    gate.EnemiesLeft = gate.Total;
    std::int32_t placed = 0;
    for (const EnemyKind& kind : EnemyKinds)
        for (std::int32_t i = 0; i < gate.*kind.Quota && placed < MaxEnemiesPlaced; ++i, ++placed)
            AddEnemy(state, kind);

    host.DrawField(&gate);
}

} // namespace brakkon
