// The pacing of the real main window: ten seconds of scripted two-player
// play on the offscreen platform, with the shipped data. Reports the median
// and the 99th percentile of the interval between game ticks (the timer's
// interval is 16 ms) and the process's CPU time as a share of one core.
//
//   bench_pacing [--seconds N]
#include "bench/GuiBenchMain.h"
#include "shell/MainUnit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace brakkon {
namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void Key(QWidget& window, QEvent::Type type, int key)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

int seconds = 10;

void BM_Pacing(benchmark::State& bench)
{
    std::vector<Clock::time_point> ticks;
    ticks.reserve(static_cast<std::size_t>(seconds) * 100);
    MainSeams seams;
    seams.GameTickObserved = [&ticks] { ticks.push_back(Clock::now()); };
    MainForm window(QStringLiteral(BRAKKON_BIN_DIR), seams);
    window.show();
    QCoreApplication::processEvents();

    // Two players, shielded for the whole run; a new game when the base falls.
    auto newGame = [&window] {
        Key(window, QEvent::KeyPress, Qt::Key_2);
        for (std::size_t p = 0; p < 2; ++p) window.State().Game.Gate->Sprites[p]->Shield = 1 << 30;
    };
    newGame();
    int games = 1;
    // Up first and never down: shells fired along the bottom row would break
    // the players' own base.
    constexpr int ways1[] = {Qt::Key_Up, Qt::Key_Left, Qt::Key_Up, Qt::Key_Right};
    constexpr int ways2[] = {Qt::Key_T, Qt::Key_H, Qt::Key_T, Qt::Key_F};
    int step = 0;
    QTimer hands;
    QObject::connect(&hands, &QTimer::timeout, [&] {
        // Every 100 ms a fire press or release; every second a new way to drive.
        if (window.State().GameOver) {
            newGame();
            ++games;
        }
        Key(window, step % 2 == 0 ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Space);
        Key(window, step % 2 == 0 ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_A);
        if (step % 10 == 0) {
            const int way = step / 10;
            Key(window, QEvent::KeyPress, ways1[way % 4]);
            Key(window, QEvent::KeyPress, ways2[way % 4]);
        }
        ++step;
    });
    hands.start(100);

    for (auto _ : bench) {
        ticks.clear();
        const double cpuStart = CpuSeconds();
        const auto wallStart = Clock::now();
        QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
        QApplication::exec();
        const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
        const double cpu = CpuSeconds() - cpuStart;
        std::vector<double> intervals;
        for (std::size_t i = 1; i < ticks.size(); ++i)
            intervals.push_back(std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
        bench.SetIterationTime(wall);
        bench.counters["ticks"] = static_cast<double>(ticks.size());
        bench.counters["median_ms"] = Percentile(intervals, 0.5);
        bench.counters["p99_ms"] = Percentile(intervals, 0.99);
        bench.counters["cpu_pct"] = 100.0 * cpu / wall;
        bench.counters["games"] = games;
    }
}
BENCHMARK(BM_Pacing)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
} // namespace brakkon

int main(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--seconds") brakkon::seconds = std::max(1, std::atoi(argv[i + 1]));
    return brakkon::bench::RunWindowBenchmarks(argc, argv);
}
