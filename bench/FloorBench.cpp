// The floor: what this platform costs for the game's pictures. A bare window
// of the field's size gets, every 16 ms, the rectangles that one tick of a
// real game changed (FloorFrames), and the process does nothing else. The
// pixels come from two pictures of that game's field, taken in turns, so the
// screen really changes. scripts/xvfb-bench measures this program's CPU and
// the X server's beside the game's; bench/README.md has what was found.
//
//   bench_floor [--seconds N] [--replay FILE] [--data FILE]
//               [--path store|repaint|update|labels] [--timer periodic|restart]
//
//   --path store    a QWindow that paints the changed rectangles into its
//                   QBackingStore and flushes them (the default: cheapest)
//          repaint  an opaque QWidget, QWidget::repaint(region)
//          update   the same widget, QWidget::update(region)
//          labels   repaint, with the game's status line (texts and twelve
//                   icons drawn by the field's paint, the "[Menu]" button a
//                   transparent child) over the field, the time changing
//                   every second
//   --timer periodic  one precise 16 ms QTimer (the default)
//           restart   a single-shot timer stopped and started every tick
//   --replay FILE   the frames of a game recorded with `brakkon --record`
//                   (by default two players driving and firing for a minute)
//
// Reports the ticks, the rectangles and pixels per tick, the median and 99th
// percentile of the interval between ticks and the process's CPU share.
#include "bench/FloorFrames.h"
#include "bench/FloorWindows.h"
#include "bench/GuiBenchMain.h"

#include <QApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>

namespace brakkon::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int TickMs = 16;

struct Options {
    int Seconds = 10;
    std::string Replay;
    std::string Data = BRAKKON_BIN_DIR "/Game.dat";
    std::string Path = "store";
    bool Periodic = true;
};

Options options;
FloorFrames frames;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

std::unique_ptr<FloorSurface> MakeSurface()
{
    if (options.Path == "store") return MakeStoreSurface(frames.First);
    if (options.Path == "repaint") return MakeWidgetSurface(frames.First, WidgetPush::Repaint, false);
    if (options.Path == "update") return MakeWidgetSurface(frames.First, WidgetPush::Update, false);
    if (options.Path == "labels") return MakeWidgetSurface(frames.First, WidgetPush::Repaint, true);
    return nullptr;
}

void BM_Floor(benchmark::State& bench)
{
    const std::unique_ptr<FloorSurface> surface = MakeSurface();
    if (!surface) return bench.SkipWithError("unknown --path");
    surface->Show();
    std::vector<Clock::time_point> ticks;
    ticks.reserve(static_cast<std::size_t>(options.Seconds) * 1000 / TickMs + 16);
    std::size_t next = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(TickMs);
    timer.setSingleShot(!options.Periodic);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!options.Periodic) timer.stop(); // as the game's Timer: off during the tick...
        ticks.push_back(Clock::now());
        const std::size_t at = next++ % frames.Frames.size();
        surface->Push(frames.Frames[at], next % 2 == 0 ? frames.First : frames.Last);
        if (at % (1000 / TickMs) == 0) surface->Second();
        if (!options.Periodic) timer.start(); // ...and on again at its end
    });
    for (auto _ : bench) {
        ticks.clear();
        const double cpuStart = CpuSeconds();
        const auto wallStart = Clock::now();
        timer.start();
        QTimer::singleShot(options.Seconds * 1000, qApp, &QCoreApplication::quit);
        QApplication::exec();
        timer.stop();
        const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
        std::vector<double> intervals;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            intervals.push_back(std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
        bench.SetIterationTime(wall);
        bench.counters["ticks"] = static_cast<double>(ticks.size());
        bench.counters["rects"] = frames.RectsPerFrame();
        bench.counters["kpixels"] = frames.PixelsPerFrame() / 1000;
        bench.counters["median_ms"] = Percentile(intervals, 0.5);
        bench.counters["p99_ms"] = Percentile(intervals, 0.99);
        bench.counters["cpu_pct"] = 100.0 * (CpuSeconds() - cpuStart) / wall;
    }
}
BENCHMARK(BM_Floor)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

bool Parse(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a.rfind("--benchmark_", 0) == 0) continue;
        if (value == nullptr) return false;
        if (a == "--seconds") options.Seconds = std::max(1, std::atoi(value));
        else if (a == "--replay") options.Replay = value;
        else if (a == "--data") options.Data = value;
        else if (a == "--path") options.Path = value;
        else if (a == "--timer") options.Periodic = std::string_view(value) != "restart";
        else return false;
        ++i;
    }
    return true;
}

} // namespace
} // namespace brakkon::bench

int main(int argc, char** argv)
{
    using namespace brakkon::bench;
    if (!Parse(argc, argv)) {
        std::fprintf(stderr, "usage: bench_floor [--seconds N] [--replay FILE] [--data FILE] "
                             "[--path store|repaint|update|labels] [--timer periodic|restart]\n");
        return 2;
    }
    const brakkon::Replay replay = [] {
        brakkon::Replay r;
        if (options.Replay.empty()) return HandsSession(options.Data, 60);
        if (const brakkon::TextResult read = brakkon::LoadReplay(options.Replay, r); !read) {
            std::fprintf(stderr, "bench_floor: %s\n", read.Message.c_str());
            std::exit(1);
        }
        return r;
    }();
    if (const std::string why = RecordFrames(options.Data, replay, frames); !why.empty()) {
        std::fprintf(stderr, "bench_floor: %s\n", why.c_str());
        return 1;
    }
    std::printf("floor: %zu ticks of %s, %.1f rectangles and %.1f kpixels a tick\n", frames.Frames.size(),
                options.Replay.empty() ? "two players driving and firing" : options.Replay.c_str(),
                frames.RectsPerFrame(), frames.PixelsPerFrame() / 1000);
    std::fflush(stdout);
    // As the game: a QImage shown through the backing store, no OpenGL, and
    // Qt's own event loop (the game's, cheaper per wake-up than glib's).
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    return brakkon::bench::RunWindowBenchmarks(argc, argv);
}
