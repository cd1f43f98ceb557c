#include "game/Hits.h"

#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/Geometry.h"
#include "game/Movers.h"
#include "game/WrapInt.h"

namespace brakkon {
namespace {

/// The tank starts again on its start cell, facing up, at level 0, shielded.
void Respawn(const GameType& game, SpriteType& tank, std::int32_t imageGroup, std::int32_t col)
{
    tank.ImageGroup = imageGroup;
    tank.Direction = DirUp;
    tank.Frame = 0;
    tank.Level = 0;
    tank.Shield = RespawnShield;
    PlaceOnCell(game, tank, col, PlayerStartRow);
}

} // namespace

void HitTank(MainState& state, GameHost& host, SpriteType& tank)
{
    GateType& gate = *state.Game.Gate;
    if (tank.Shield > 0) return;
    tank.Level = WrapSub(tank.Level, 1);
    if (tank.Level >= 0) {
        tank.ImageGroup = WrapSub(tank.ImageGroup, 1);
    } else if (tank.Kind == KindPlayer1 || tank.Kind == KindPlayer2) {
        const bool first = tank.Kind == KindPlayer1;
        std::int32_t& lives = first ? gate.Lives1 : gate.Lives2;
        if (lives > 0) {
            lives -= 1;
            host.PlayEffect(SoundEffect::Explode);
            MoveX(state, host, tank, 0);
            MoveY(state, host, tank, 0);
            Respawn(state.Game, tank, first ? GroupPlayer1 : GroupPlayer2, first ? Player1StartCol : Player2StartCol);
        } else {
            host.PlayEffect(SoundEffect::Explode);
            tank.Active = 0;
            MoveX(state, host, tank, 0);
            MoveY(state, host, tank, 0);
        }
    }
    MoveX(state, host, tank, 0);
    MoveY(state, host, tank, 0);
    host.ShowIndicators();
    const SpriteList& sprites = gate.Sprites;
    const bool anyInPlay = (!sprites.empty() && sprites[0]->Active) || (sprites.size() > 1 && sprites[1]->Active);
    if (!anyInPlay) ShowGameOver(state, host);
}

void FinishGate(MainState& state) { state.NextGatePending = true; }

void ShowGameOver(MainState& state, GameHost& host)
{
    state.GameOver = true;
    if (!state.Playing) return;
    host.SetTitle(GameOverTitle, true);
    PauseGame(state, host);
}

void StartNextGate(MainState& state, GameHost& host)
{
    state.NextGatePending = false;
    GateType& gate = *state.Game.Gate;
    const std::int32_t next = gate.NextGate;
    if (next < 0 || static_cast<std::size_t>(next) >= state.Game.Gates.size()) {
        ShowGameOver(state, host);
        return;
    }
    gate.GateNo = WrapAdd(gate.GateNo, 1);
    StartGate(state, host, next, false, true);
}

} // namespace brakkon
