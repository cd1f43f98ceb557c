// The game's timers and the frame that drives them.
//
// FrameTimer is the main thread's one wake-up while the game runs: a
// periodic precise QTimer that calls the window's frame every 16 ms, never
// killed and started again. A Timer is a tick with an Enabled flag and an
// interval, as the game's timers need; it does not wake anything itself: the
// frame runs it (Run), and it ticks once for each interval that has come due,
// so a game interval shorter than a frame ticks several times in one frame
// and a longer one skips frames. A tick never runs inside another one.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace brakkon {

using FrameClock = std::chrono::steady_clock;

class Timer {
public:
    explicit Timer(int intervalMs) : interval_(intervalMs) {}

    /// The work of one tick.
    void SetHandler(std::function<void()> handler) { handler_ = std::move(handler); }

    /// On: the next tick comes one interval from `now` (from the moment it
    /// was switched on, not from an earlier start). Off: no tick comes.
    void SetEnabled(bool enabled, FrameClock::time_point now = FrameClock::now());
    [[nodiscard]] bool Enabled() const { return enabled_; }

    /// Off: the timer keeps its Enabled state and interval but Run never
    /// ticks it; whoever drives it calls the handler's work directly (the
    /// tests do, so that no tick comes at a time the machine's speed chose).
    void SetTicksByItself(bool ticks) { ticksByItself_ = ticks; }

    /// Takes effect from the next tick.
    void SetInterval(int intervalMs) { interval_ = intervalMs; }
    [[nodiscard]] int Interval() const { return interval_; }

    /// Ticks for each interval that is due at `now`, give or take half a
    /// frame (`frame`): the frame closest to a tick's time runs it. Ticks
    /// more than a frame behind (a long modal dialog, a stopped process) are
    /// dropped, not caught up.
    void Run(FrameClock::time_point now, FrameClock::duration frame);

private:
    int interval_;
    std::function<void()> handler_;
    FrameClock::time_point due_{};
    bool enabled_ = false;
    bool ticksByItself_ = true;
    bool running_ = false;
};

class FrameTimer : public QObject {
    Q_OBJECT
public:
    explicit FrameTimer(int intervalMs, QObject* parent = nullptr);

    void SetFrame(std::function<void()> frame) { frame_ = std::move(frame); }
    void Start() { timer_.start(); }
    void Stop() { timer_.stop(); }
    [[nodiscard]] bool Active() const { return timer_.isActive(); }
    [[nodiscard]] FrameClock::duration Interval() const { return std::chrono::milliseconds(timer_.interval()); }

private:
    QTimer timer_;
    std::function<void()> frame_;
};

} // namespace brakkon
