// Replays apart from their text: the data file's identity, the start a
// replay keeps, and the commands its events hold.
#include "sim/Replay.h"

#include "game/FileIo.h"

namespace brakkon {

DataIdentity IdentityOf(std::span<const std::uint8_t> bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
    return {bytes.size(), hash};
}

std::optional<DataIdentity> IdentityOfFile(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return IdentityOf(*bytes);
}

ReplayStart CaptureStart(const MainState& state)
{
    return {state.Rand.Seed, state.MoveStep, state.BlinkPhase, state.Playing, state.GameOver, state.NextGatePending,
            state.Player1, state.Player2};
}

void CutReplay(Replay& replay, std::size_t events, std::int64_t ticks)
{
    // The bytes of the loads and gates dropped go too: they are the last ones.
    while (replay.Events.size() > events) {
        const ReplayWhat what = replay.Events.back().What;
        if (what == ReplayWhat::LoadGame) replay.SavedGames.pop_back();
        if (what == ReplayWhat::ShowGate) replay.GateStreams.pop_back();
        replay.Events.pop_back();
    }
    replay.Ticks = ticks;
}

Command CommandOf(const Replay& replay, const ReplayEvent& event)
{
    Command command{event.What, event.Value, event.Gate, {}};
    if (event.What == ReplayWhat::LoadGame) {
        command.Value = 0;
        command.Bytes = replay.SavedGames.at(static_cast<std::size_t>(event.Value));
    } else if (event.What == ReplayWhat::ShowGate) {
        command.Value = 0;
        command.Bytes = replay.GateStreams.at(static_cast<std::size_t>(event.Value));
    }
    return command;
}

void ApplyStart(const ReplayStart& start, MainState& state)
{
    state.Rand.Seed = start.RandomSeed;
    state.MoveStep = start.MoveStep;
    state.BlinkPhase = start.BlinkPhase;
    state.Playing = start.Playing;
    state.GameOver = start.GameOver;
    state.NextGatePending = start.NextGatePending;
    state.Player1 = start.Player1;
    state.Player2 = start.Player2;
}

} // namespace brakkon
