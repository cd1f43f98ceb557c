// What rollback costs in a network game, on the fort of the tests' data
// (argument 0: 13 enemies at once) and on a crowded open field (argument 2:
// 60 at once), the enemies coming back for ever, two players driving:
//
//   BM_SaveState       keeping the whole state at the start of a tick
//   BM_TickAlone       one tick slot of brakkon-sim, for comparison
//   BM_TickWithSave    one tick as rollback runs it when the other side's
//                      inputs come in time: the state kept, then the tick
//   BM_RollbackOf8     one tick whose other side's inputs came 8 ticks late
//                      and differ: the tick, then back 8 ticks and the 8 run
//                      again, each with its state kept
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "net/SimSlots.h"
#include "tests/SimSupport.h"

#include <benchmark/benchmark.h>

namespace brakkon {
namespace {

struct Crowd {
    Simulation sim;
    std::unique_ptr<SimSlots> slots;

    explicit Crowd(std::int32_t gate)
    {
        sim.State.Game = test::SimGameData();
        sim.State.Game.Gates[static_cast<std::size_t>(gate)]->Total = 1 << 30;
        sim.State.Rand.Skip(1);
        StartGate(sim.State, sim.Host, gate, true, true);
        ResumeGame(sim.State, sim.Host);
        for (std::int64_t slot = 0; slot < 600; ++slot) sim.RunSlot(slot, std::span<const KeyEvent>{});
        slots = std::make_unique<SimSlots>(sim);
    }
};

/// Player 1 turns every few ticks; player 2's key goes down and up.
SlotInput Hands(std::int64_t slot, Side side)
{
    SlotInput input;
    const KeyCode p1[] = {VkLeft, VkUp, VkRight, VkDown};
    if (side == Side::Host && slot % 16 == 0) input.Add(true, p1[(slot / 16) % 4]);
    if (side == Side::Joiner) input.Add(slot % 2 == 0, VkLetter('T'));
    return input;
}

void BM_SaveState(benchmark::State& state)
{
    Crowd crowd(static_cast<std::int32_t>(state.range(0)));
    SlotState kept;
    for (auto _ : state) {
        crowd.slots->Save(kept);
        benchmark::DoNotOptimize(kept.Engine.Cells.data());
    }
    state.counters["sprites"] = static_cast<double>(kept.Engine.Sprites.size());
}
BENCHMARK(BM_SaveState)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TickAlone(benchmark::State& state)
{
    Crowd crowd(static_cast<std::int32_t>(state.range(0)));
    std::int64_t slot = 600;
    for (auto _ : state) {
        const SlotInput keys = Hands(slot, Side::Host);
        const KeyEvent events[] = {{slot, true, keys.Keys[0].Key}};
        crowd.sim.RunSlot(slot, std::span(events).first(keys.Count));
        ++slot;
    }
}
BENCHMARK(BM_TickAlone)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_TickWithSave(benchmark::State& state)
{
    Crowd crowd(static_cast<std::int32_t>(state.range(0)));
    Rollback game(*crowd.slots, Side::Host, {});
    for (auto _ : state) {
        const std::int64_t slot = game.Current();
        game.PushLocal(Hands(slot, Side::Host));
        (void)game.PutRemote(slot, Hands(slot, Side::Joiner));
        game.RunOne();
        game.Acknowledged(game.Current());
        if (slot % 600 == 0) (void)game.TakeHashes();
    }
    if (game.Stats().Rollbacks != 0) state.SkipWithError("inputs in time must not roll back");
}
BENCHMARK(BM_TickWithSave)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_RollbackOf8(benchmark::State& state)
{
    Crowd crowd(static_cast<std::int32_t>(state.range(0)));
    constexpr std::int64_t Late = 8;
    Rollback game(*crowd.slots, Side::Host, {Late, 60, std::numeric_limits<std::int64_t>::max()});
    for (std::int64_t slot = 0; slot < Late; ++slot) {
        game.PushLocal(Hands(slot, Side::Host));
        game.RunOne();
    }
    for (auto _ : state) {
        // The other side's input of 8 ticks ago came, and it differs.
        (void)game.PutRemote(game.RemoteEnd(), Hands(game.RemoteEnd(), Side::Joiner));
        game.Reconcile();
        const std::int64_t slot = game.Current();
        game.PushLocal(Hands(slot, Side::Host));
        game.RunOne();
        game.Acknowledged(game.Current());
        if (slot % 600 == 0) (void)game.TakeHashes();
    }
    if (game.Stats().Longest != Late) state.SkipWithError("the rollbacks were not 8 ticks long");
    state.counters["rollbacks"] = static_cast<double>(game.Stats().Rollbacks);
}
BENCHMARK(BM_RollbackOf8)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace brakkon

BENCHMARK_MAIN();
