// The cost of one tick of the game timer, the very function the window's
// timer calls: every sprite updated, spent shells removed, the per-tick
// drawing with nothing painted, and the base check.
//
//   BM_TickTypical  the fort with the 13 enemies of quotas 3, 3, 5, 2 and two
//                   players driving and firing
//   BM_TickCrowded  an open field with 200 enemies and their shells
//
// Steady play: enemies come back for ever (a huge total), the players' shields
// never run out (no clock ticks), and the game is restored from a snapshot
// every 4096 ticks, outside the timing, before broken walls change its nature,
// and at once when a broken base has ended the game.
#include "game/ByteStream.h"
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/GateStream.h"
#include "game/Keyboard.h"
#include "bench/PlayersHands.h"
#include "tests/SimSupport.h"

#include <benchmark/benchmark.h>

namespace brakkon {
namespace {

struct Match {
    MainState state;
    SilentHost host;
    std::int64_t tick = 0;

    explicit Match(std::unique_ptr<GateType> gate)
    {
        test::GiveTinyImages(state.Game);
        state.Game.Gates.push_back(std::move(gate));
        state.Rand.Skip(1);
        StartGate(state, host, 0, true, true);
        ResumeGame(state, host);
        for (std::size_t p = 0; p < 2; ++p) state.Game.Gate->Sprites[p]->Shield = 1 << 30;
    }

    void Tick()
    {
        bench::PlayersHands(state, host, tick);
        GameTimerTick(state, host);
        ++tick;
    }
};

/// The working gate and what the tick reads besides it.
struct Snapshot {
    std::vector<std::uint8_t> gate;
    Random rand;
    PlayerType player1, player2;
    bool playing, gameOver, blinkPhase;
    std::int64_t tick = 0;

    explicit Snapshot(const Match& m)
        : rand(m.state.Rand), player1(m.state.Player1), player2(m.state.Player2), playing(m.state.Playing),
          gameOver(m.state.GameOver), blinkPhase(m.state.BlinkPhase), tick(m.tick)
    {
        ByteWriter out;
        (void)WriteGateTo(out, m.state.Game.Gate.get());
        gate = out.TakeBytes();
    }
    void RestoreInto(Match& m) const
    {
        ByteReader in(gate);
        (void)ReadGateFrom(in, m.state.Game.Gate.get());
        m.state.Rand = rand;
        m.state.Player1 = player1;
        m.state.Player2 = player2;
        m.state.Playing = playing;
        m.state.GameOver = gameOver;
        m.state.BlinkPhase = blinkPhase;
        m.tick = tick;
    }
};

void RunTicks(benchmark::State& bench, Match& match, int warmUp)
{
    for (int i = 0; i < warmUp; ++i) match.Tick();
    const Snapshot snapshot(match);
    std::size_t sprites = 0;
    std::int64_t n = 0;
    for (auto _ : bench) {
        match.Tick();
        sprites += match.state.Game.Gate->Sprites.size();
        if (++n % 4096 == 0 || match.state.GameOver) { // play on past a broken base
            bench.PauseTiming();
            snapshot.RestoreInto(match);
            bench.ResumeTiming();
        }
    }
    bench.counters["sprites"] = benchmark::Counter(static_cast<double>(sprites) / static_cast<double>(std::max<std::int64_t>(n, 1)));
}

void BM_TickTypical(benchmark::State& bench)
{
    Match match(test::GateFromMap(test::FortMap, 3, 3, 5, 2, 1000000000, -1));
    RunTicks(bench, match, 600);
}
BENCHMARK(BM_TickTypical);

void BM_TickCrowded(benchmark::State& bench)
{
    Match match(test::GateFromMap(test::OpenMap, 50, 50, 50, 50, 1000000000, -1));
    RunTicks(bench, match, 2000);
}
BENCHMARK(BM_TickCrowded)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

BENCHMARK_MAIN();
