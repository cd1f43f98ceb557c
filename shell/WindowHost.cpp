#include "shell/WindowHost.h"

namespace brakkon {

void WindowHost::DrawField(const GateType* gate)
{
    parts_.Canvas.DrawField(gate);
    (void)parts_.Canvas.TakeChangedRegion(); // the whole field goes to the screen
    parts_.Field.update();
    ShowGateNo();
    ShowPlayTime();
    ShowIndicators();
}

void WindowHost::RepaintField()
{
    const QRegion changed = parts_.Canvas.TakeChangedRegion();
    if (!changed.isEmpty()) parts_.Field.repaint(changed);
}

void WindowHost::EnableTimers(bool enabled)
{
    parts_.GameTimer.SetEnabled(enabled);
    parts_.ClockTimer.SetEnabled(enabled);
}

} // namespace brakkon
