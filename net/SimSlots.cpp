#include "net/SimSlots.h"

#include "sim/ReplayPlay.h"
#include "game/SavedGame.h"

#include <array>

namespace brakkon {
namespace {
const ReplayEvent StartLoad{0, ReplayWhat::LoadGame, 0};

bool UsualKeys(const PlayerType& p, const PlayerType& usual)
{
    return p.LeftKey == usual.LeftKey && p.RightKey == usual.RightKey && p.UpKey == usual.UpKey &&
           p.DownKey == usual.DownKey && p.FireKey == usual.FireKey;
}
} // namespace

Replay MakeNetStart(const MainState& state, DataIdentity data)
{
    Replay start;
    start.Data = data;
    start.Start = CaptureStart(state);
    std::vector<std::uint8_t> bytes;
    // A gate that was just started or loaded encodes; only memory can fail.
    if (EncodeSavedGame(*state.Game.Gate, bytes)) start.SavedGames.push_back(std::move(bytes));
    start.Events.push_back(StartLoad);
    return start;
}

TextResult ReadNetStart(std::string_view text, Replay& start)
{
    Replay read;
    const TextSource source = TextSource::FromString("start", text);
    if (TextResult r = ReadReplay(source, read); !r) return r;
    const bool oneLoad = read.Events.size() == 1 && read.Events[0].Tick == 0 &&
                         read.Events[0].What == ReplayWhat::LoadGame && read.SavedGames.size() == 1 && read.Ticks == 0;
    if (!oneLoad) return source.Error("not the start of a game");
    if (!UsualKeys(read.Start.Player1, Player1Keys) || !UsualKeys(read.Start.Player2, Player2Keys))
        return source.Error("the players' keys are not the game's");
    start = std::move(read);
    return TextResult::Ok();
}

void ApplyNetStart(const Replay& start, MainState& state, GameDriver& driver)
{
    ApplyStart(start.Start, state);
    driver.Record(start.Data);
    (void)driver.Apply(CommandOf(start, start.Events.front())); // the reader checked that it loads
}

void SimSlots::Save(SlotState& into) const
{
    SaveEngine(sim_.State, into.Engine);
    into.TimersEnabled = sim_.Host.TimersEnabled;
    into.ClockRestarted = sim_.Host.ClockRestarted;
    into.Elapsed = sim_.Time.Elapsed;
    into.NextClock = sim_.Time.NextClock;
    into.TicksRun = sim_.TicksRun;
    into.ClockTicks = sim_.ClockTicks;
    into.GameOverTick = sim_.GameOverTick;
    into.Effects = sim_.Host.Effects.size();
    into.Journal = sim_.Driver.Recorded().Events.size();
    into.JournalTicks = sim_.Driver.Recorded().Ticks;
}

void SimSlots::Restore(const SlotState& from)
{
    RestoreEngine(from.Engine, sim_.State);
    sim_.Host.TimersEnabled = from.TimersEnabled;
    sim_.Host.ClockRestarted = from.ClockRestarted;
    sim_.Time.Elapsed = from.Elapsed;
    sim_.Time.NextClock = from.NextClock;
    sim_.TicksRun = from.TicksRun;
    sim_.ClockTicks = from.ClockTicks;
    sim_.GameOverTick = from.GameOverTick;
    sim_.Host.Effects.resize(from.Effects);
    sim_.Driver.RewindRecording(from.Journal, from.JournalTicks);
}

void SimSlots::RunSlot(std::int64_t slot, const SlotInput& player1, const SlotInput& player2, bool /*again*/)
{
    // Effects of a slot run again replace the ones logged for it (Restore
    // shortened the log and the recording); nothing here is heard, so
    // nothing is heard twice.
    std::array<KeyEvent, 2 * MaxKeysPerSlot> events{};
    std::size_t count = 0;
    for (const SlotInput* input : {&player1, &player2})
        for (const NetKey& key : input->Events()) events[count++] = {slot, key.Press, key.Key};
    sim_.RunSlot(slot, std::span(events).first(count));
}

Replay SimSlots::ReplayOf(std::size_t events, std::int64_t ticks) const
{
    Replay replay = sim_.Driver.Recorded();
    CutReplay(replay, events, ticks);
    return replay;
}

} // namespace brakkon
