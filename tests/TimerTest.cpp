// The game's timers as the frame runs them: ticks per frame for intervals
// shorter and longer than a frame, no catching up after a long stop, and a
// handler that switches its timer off.
#include "platform/Timer.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds Frame(16);

struct RunCase {
    const char* name;
    int interval;       ///< the timer's, in milliseconds
    int frames;         ///< frames run, one every 16 ms after the timer was switched on
    int offAfter;       ///< the handler switches the timer off at this tick; 0: never
    bool byItself;
    int ticks;          ///< expected
};

const RunCase RunCases[] = {
    {"one tick a frame at the frame's interval", 16, 10, 0, true, 10},
    // Due up to half a frame ahead counts: 24 in the first frame, 16 in each after.
    {"a shorter interval ticks several times a frame", 1, 10, 0, true, 24 + 9 * 16},
    {"a longer one skips frames", 40, 10, 0, true, 4},
    {"never by itself when the tests drive it", 16, 10, 0, false, 0},
    {"a handler that switches it off ends the frame's ticks", 1, 10, 3, true, 3},
};

TEST(FrameTimers, TickForEachIntervalDue)
{
    for (const RunCase& c : RunCases) {
        SCOPED_TRACE(c.name);
        Timer timer(c.interval);
        const FrameClock::time_point start{};
        int ticks = 0;
        timer.SetHandler([&] {
            if (++ticks == c.offAfter) timer.SetEnabled(false, start);
        });
        timer.SetTicksByItself(c.byItself);
        timer.SetEnabled(true, start);
        for (int f = 1; f <= c.frames; ++f) timer.Run(start + f * Frame, Frame);
        EXPECT_EQ(ticks, c.ticks);
        EXPECT_EQ(timer.Enabled(), c.offAfter == 0);
    }
}

TEST(FrameTimers, ALongStopIsNotCaughtUp)
{
    Timer timer(16);
    int ticks = 0;
    timer.SetHandler([&] { ++ticks; });
    const FrameClock::time_point start{};
    timer.SetEnabled(true, start);
    timer.Run(start + milliseconds(1000), Frame); // a modal dialog held the frames back
    EXPECT_EQ(ticks, 1);
    timer.Run(start + milliseconds(1016), Frame); // and the pace goes on from there
    EXPECT_EQ(ticks, 2);
    timer.Run(start + milliseconds(1016), Frame);
    EXPECT_EQ(ticks, 2);
}

} // namespace
} // namespace brakkon
