#include "shell/WindowHost.h"

namespace brakkon {

void WindowHost::DrawField(const GateType* gate)
{
    parts_.Canvas.DrawField(gate);
    ShowChanges(); // the whole field
    ShowGateNo();
    ShowPlayTime();
    ShowIndicators();
}

void WindowHost::RepaintField() { ShowChanges(); }

void WindowHost::HoldDrawing(bool held)
{
    held_ = held;
    // The screen hears of every frame, whether or not the field changed: a
    // magnified view looks for the labels' changes then.
    if (!held) ShowChanges();
}

void WindowHost::ShowChanges()
{
    if (held_) return;
    const QRegion changed = parts_.Canvas.TakeChangedRegion();
    if (screen_)
        screen_(changed);
    else if (!changed.isEmpty())
        parts_.Field.repaint(changed);
}

void WindowHost::EnableTimers(bool enabled)
{
    parts_.GameTimer.SetEnabled(enabled);
    parts_.ClockTimer.SetEnabled(enabled);
}

} // namespace brakkon
