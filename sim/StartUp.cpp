#include "sim/StartUp.h"

#include "game/GameFlow.h"

namespace brakkon {

bool StartUp(MainState& state, GameHost& host, const StartUpPlan& plan)
{
    state.NextGatePending = false;
    state.Rand.Skip(plan.Advance);
    const bool loaded = plan.LoadData && plan.LoadData(state.Game);
    if (plan.LoadScene && plan.LoadScene(*state.Game.Gate)) host.DrawField(state.Game.Gate.get());
    // A larger step than the default snaps the scene's sprites to their cells.
    ApplyMoveStep(state, host, plan.MoveStep);
    PauseGame(state, host); // before any game: the menu shows and the field runs on
    return loaded;
}

} // namespace brakkon
