#include "platform/Timer.h"

#include <algorithm>

namespace brakkon {

void Timer::SetEnabled(bool enabled, FrameClock::time_point now)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled) due_ = now + std::chrono::milliseconds(interval_);
}

void Timer::Run(FrameClock::time_point now, FrameClock::duration frame)
{
    if (running_ || !ticksByItself_ || !handler_) return;
    const FrameClock::duration interval = std::chrono::milliseconds(std::max(interval_, 1));
    if (now - due_ > frame) due_ = now; // far behind: one tick now, the rest dropped
    running_ = true;
    // A handler may switch the timer off (it stops here) or off and on again
    // (its next tick is then one interval from that moment).
    while (enabled_ && due_ <= now + frame / 2) {
        due_ += interval;
        handler_();
    }
    running_ = false;
}

FrameTimer::FrameTimer(int intervalMs, QObject* parent) : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (frame_) frame_();
    });
}

} // namespace brakkon
