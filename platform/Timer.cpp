#include "platform/Timer.h"

namespace brakkon {

Timer::Timer(int intervalMs, QObject* parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &Timer::Fire);
}

void Timer::SetEnabled(bool enabled)
{
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled && ticksByItself_)
        timer_.start();
    else
        timer_.stop();
}

void Timer::SetTicksByItself(bool ticks)
{
    ticksByItself_ = ticks;
    if (!ticks)
        timer_.stop();
    else if (enabled_ && !timer_.isActive())
        timer_.start();
}

void Timer::SetInterval(int intervalMs) { timer_.setInterval(intervalMs); }

void Timer::Fire()
{
    if (!enabled_) return;
    if (handler_) handler_();
    // A handler that switched the timer off and on has started the next
    // interval itself; one that left it on gets it started here.
    if (enabled_ && !timer_.isActive()) timer_.start();
}

} // namespace brakkon
