#include "game/GameFlow.h"

#include "game/DrawChanges.h"
#include "game/Geometry.h"
#include "game/Hits.h"
#include "game/Movers.h"
#include "game/SpriteUpdate.h"
#include "game/WrapInt.h"

#include <algorithm>

namespace brakkon {

void PauseGame(MainState& state, GameHost& host)
{
    if (!state.GameOver) host.EnableTimers(false);
    host.ShowMenu(true);
    state.Playing = false;
}

void ResumeGame(MainState& state, GameHost& host)
{
    host.ShowMenu(false);
    host.EnableTimers(true);
    state.Playing = true;
    state.GameOver = false;
}

void GameTimerTick(MainState& state, GameHost& host)
{
    if (state.NextGatePending) {
        StartNextGate(state, host); // draws the new gate in full
        return;
    }
    UpdateSprites(state, host);
    RemoveSpentShells(*state.Game.Gate);
    DrawChanges(state, host);
    host.RepaintField();
    CheckBase(state, host);
}

void ClockTimerTick(MainState& state, GameHost& host)
{
    GateType& gate = *state.Game.Gate;
    gate.PlayTime = WrapAdd(gate.PlayTime, 1);
    if (gate.Sprites.size() > 1)
        for (std::size_t p = 0; p < 2; ++p)
            if (gate.Sprites[p]->Shield > 0) gate.Sprites[p]->Shield -= 1;
    host.ShowPlayTime();
    if (GateCleared(gate)) FinishGate(state);
    if (state.MusicOn && host.MusicStopped()) host.PlayMusic();
}

void UpdateSprites(MainState& state, GameHost& host)
{
    SpriteList& sprites = state.Game.Gate->Sprites;
    const std::size_t count = sprites.size();
    // By position: an appended shell may move the list's storage, never a record.
    for (std::size_t i = 0; i < count; ++i)
        if (sprites[i]->Active) UpdateSprite(state, host, *sprites[i]);
}

void RemoveSpentShells(GateType& gate)
{
    auto spent = [](const std::unique_ptr<SpriteType>& s) {
        return !s->Active && (s->Kind == KindPlayerShell || s->Kind == KindEnemyShell);
    };
    // One pass keeps the order of the rest, as removing one by one from the
    // end would.
    gate.Sprites.erase(std::remove_if(gate.Sprites.begin(), gate.Sprites.end(), spent), gate.Sprites.end());
}

void CheckBase(MainState& state, GameHost& host)
{
    const GameType& game = state.Game;
    const GateType& gate = *game.Gate;
    if (gate.Cells.size() != static_cast<std::size_t>(game.Cols) || !state.Playing) return;
    const CellType* base = CellAt(gate, BaseCol, BaseRow);
    if (base == nullptr || base->Block != BlockOpen) return;
    host.PlayEffect(SoundEffect::Explode);
    ShowGameOver(state, host);
}

bool GateCleared(const GateType& gate)
{
    const SpriteList& sprites = gate.Sprites;
    if (sprites.size() <= 2) return false;
    return std::none_of(sprites.begin() + 2, sprites.end(), [](const auto& s) { return s->Active != 0; });
}

void SnapSpritesToCells(GameType& game)
{
    for (auto& s : game.Gate->Sprites) PlaceOnCell(game, *s, s->Col, s->Row);
}

void ApplyMoveStep(MainState& state, GameHost& host, std::int32_t moveStep)
{
    const std::int32_t old = state.MoveStep;
    state.MoveStep = moveStep;
    if (moveStep <= old) return;
    SnapSpritesToCells(state.Game);
    host.DrawField(state.Game.Gate.get());
}

} // namespace brakkon
