// Replays: playing a recorded game in brakkon-sim's driver, the recorder's
// cost in the window's game tick, and writing and reading the file at the
// end of a long session.
//
//   BM_ReplayMinute   a minute of two-player play on the shipped first gate
//                     (3750 ticks at 16 ms, the clock every 1000 ms, both
//                     players turning every 64 ticks and firing every 10),
//                     played to its end; per iteration, loading excluded
//   BM_RecordTick     what recording adds to one game tick: the count, and a
//                     key noted every 10th tick
//   BM_WriteReplay    the text of an hour's recording (3600 clock ticks and
//                     72000 key events), as written when the window closes
//   BM_ReadReplay     and read back
#include "sim/ReplayPlay.h"
#include "sim/Simulation.h"

#include <benchmark/benchmark.h>

namespace brakkon {
namespace {

const std::filesystem::path DataFile = BRAKKON_GAME_DAT;

/// A recording of `seconds` of play as the window would make it.
Replay MakeSession(std::int64_t seconds)
{
    Replay r;
    r.Data = IdentityOfFile(DataFile).value_or(DataIdentity{});
    MainState fresh;
    fresh.Rand.Skip(1234);
    r.Start = CaptureStart(fresh);
    r.Events = {{0, ReplayWhat::NewGame, 2}, {0, ReplayWhat::Resume, 0}};
    constexpr std::array<KeyCode, 4> P1 = {VkLeft, VkUp, VkRight, VkDown};
    constexpr std::array<KeyCode, 4> P2 = {VkLetter('F'), VkLetter('T'), VkLetter('H'), VkLetter('G')};
    const std::int64_t ticks = seconds * 1000 / 16;
    for (std::int64_t t = 0, elapsed = 0, clock = 1000; t < ticks; ++t) {
        if (t % 64 == 0) {
            const auto turn = static_cast<std::size_t>(t / 64 % 4);
            r.Events.push_back({t, ReplayWhat::Press, P1[turn]});
            r.Events.push_back({t, ReplayWhat::Press, P2[turn]});
        }
        if (t % 10 == 0) {
            for (KeyCode fire : {VkSpace, VkLetter('A')}) {
                r.Events.push_back({t, ReplayWhat::Press, fire});
                r.Events.push_back({t, ReplayWhat::Release, fire});
            }
        }
        for (elapsed += 16; elapsed >= clock; clock += 1000) r.Events.push_back({t, ReplayWhat::Clock, 0});
    }
    r.Ticks = ticks;
    return r;
}

void BM_ReplayMinute(benchmark::State& st)
{
    const Replay replay = MakeSession(60);
    std::int64_t ticks = 0;
    for (auto _ : st) {
        st.PauseTiming();
        Simulation sim;
        std::string error;
        if (!sim.BeginReplay(DataFile, replay, error)) {
            st.SkipWithError(error.c_str());
            return;
        }
        st.ResumeTiming();
        sim.RunReplay();
        ticks += sim.TicksRun;
        benchmark::DoNotOptimize(sim.State.Game.Gate->PlayTime);
    }
    st.SetItemsProcessed(ticks);
    st.counters["ticks"] = static_cast<double>(replay.Ticks);
}
BENCHMARK(BM_ReplayMinute)->Unit(benchmark::kMillisecond);

void BM_RecordTick(benchmark::State& st)
{
    MainState state;
    auto recorder = std::make_unique<ReplayRecorder>();
    recorder->GameStarts(state, {});
    std::int64_t n = 0;
    for (auto _ : st) {
        recorder->GameTick();
        if (++n % 10 == 0) recorder->Note(ReplayWhat::Press, VkSpace);
        if (n % (1 << 22) == 0) { // an over-long session: start another
            st.PauseTiming();
            recorder = std::make_unique<ReplayRecorder>();
            recorder->GameStarts(state, {});
            st.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(recorder->Recorded().Ticks);
}
BENCHMARK(BM_RecordTick);

void BM_WriteReplay(benchmark::State& st)
{
    const Replay hour = MakeSession(3600);
    std::size_t bytes = 0;
    for (auto _ : st) {
        const std::string text = WriteReplayText(hour);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    st.counters["events"] = static_cast<double>(hour.Events.size());
}
BENCHMARK(BM_WriteReplay)->Unit(benchmark::kMillisecond);

void BM_ReadReplay(benchmark::State& st)
{
    const std::string text = WriteReplayText(MakeSession(3600));
    for (auto _ : st) {
        Replay back;
        if (!ReadReplay(TextSource::FromString("hour", text), back)) st.SkipWithError("unreadable");
        benchmark::DoNotOptimize(back.Ticks);
    }
    st.SetBytesProcessed(static_cast<std::int64_t>(text.size() * st.iterations()));
}
BENCHMARK(BM_ReadReplay)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brakkon

BENCHMARK_MAIN();
