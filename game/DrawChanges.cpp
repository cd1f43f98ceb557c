#include "game/DrawChanges.h"

#include "game/Movers.h"

namespace brakkon {

BlinkingTanks BeginDrawChanges(MainState& state, GameHost& host)
{
    BlinkingTanks blinking;
    state.BlinkPhase = !state.BlinkPhase;
    SpriteList& sprites = state.Game.Gate->Sprites;
    if (sprites.size() < 2) return blinking;
    for (std::size_t p = 0; p < 2; ++p) {
        SpriteType& tank = *sprites[p];
        if (!tank.Active || tank.Shield <= 0) continue;
        MoveX(state, host, tank, 0);
        MoveY(state, host, tank, 0);
        blinking.Tanks[p] = &tank;
    }
    // Active is lent to the blink only after both tanks were re-checked: a
    // bonus taken there refreshes the status line, which must not see player
    // 1's tank as out of play while it only blinks.
    for (SpriteType* tank : blinking.Tanks)
        if (tank != nullptr) tank->Active = state.BlinkPhase ? 1 : 0;
    return blinking;
}

void EndDrawChanges(const BlinkingTanks& blinking)
{
    for (SpriteType* tank : blinking.Tanks) {
        if (tank == nullptr) continue;
        tank->Active = 1;
        tank->Dirty = 1;
    }
}

void ClearDirtyMarks(GateType& gate)
{
    for (auto& column : gate.Cells)
        for (auto& cell : column) cell->Dirty = 0;
    for (auto& sprite : gate.Sprites) sprite->Dirty = 0;
}

void DrawChanges(MainState& state, GameHost& host)
{
    const BlinkingTanks blinking = BeginDrawChanges(state, host);
    host.PaintChanges(*state.Game.Gate);
    ClearDirtyMarks(*state.Game.Gate);
    EndDrawChanges(blinking);
}

} // namespace brakkon
