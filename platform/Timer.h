// A timer with an Enabled flag and an interval, as the game's two timers
// need: switched off while its handler works and on again at its end, so that
// ticks never overlap and a slow tick delays the next one.
//
// Wraps one single-shot QTimer (Qt::PreciseTimer). Enabling starts the
// interval; after each tick the timer starts the next interval unless the
// handler has started it already or switched the timer off. The owner gives
// the handler; the Timer owns its QTimer.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace brakkon {

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(int intervalMs, QObject* parent = nullptr);

    /// The work of one tick.
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    /// On: the next tick comes one interval from now (from the moment it was
    /// switched on, not from an earlier start). Off: no tick comes.
    void SetEnabled(bool enabled);
    [[nodiscard]] bool Enabled() const { return enabled_; }

    /// Off: the timer keeps its Enabled state and interval but never ticks
    /// by itself; whoever drives it calls the handler's work directly (the
    /// tests do, so that no tick comes at a time the machine's speed chose).
    void SetTicksByItself(bool ticks);

    /// Takes effect from the next start of an interval.
    void SetInterval(int intervalMs);
    [[nodiscard]] int Interval() const { return timer_.interval(); }

private:
    void Fire();

    QTimer timer_;
    std::function<void()> handler_;
    bool enabled_ = false;
    bool ticksByItself_ = true;
};

} // namespace brakkon
