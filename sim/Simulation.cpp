#include "sim/Simulation.h"

#include "content/GateJson.h"
#include "content/Json.h"
#include "game/GameData.h"
#include "game/SavedGame.h"
#include "sim/StartUp.h"

#include <algorithm>

namespace brakkon {

namespace {
constexpr std::int64_t ClockInterval = 1000;
}

bool Simulation::Begin(const SimStart& start, std::string& error)
{
    Time.Interval = start.Interval;
    StartUpPlan plan;
    plan.Advance = start.Seed + 1;
    plan.MoveStep = start.MoveStep;
    plan.LoadData = [&](GameType& game) { return LoadGameDataFile(start.DataFile, game); };
    if (!StartUp(State, Host, plan)) {
        error = "cannot load the data file " + start.DataFile.string();
        return false;
    }
    if (start.Load) {
        std::vector<std::uint8_t> bytes;
        if (!ReadSavedGameFile(*start.Load, bytes) || !Driver.Apply(Command::LoadGame(std::move(bytes)))) {
            error = "cannot load the saved game " + start.Load->string();
            return false;
        }
    } else {
        const std::int32_t gate = start.Gate.value_or(0);
        if (!Driver.Apply(Command::NewGame(start.Players == 2 ? 2 : 1, gate))) {
            error = "gate " + std::to_string(gate) + " is not in the data file (it holds " +
                    std::to_string(State.Game.Gates.size()) + " gates)";
            return false;
        }
    }
    Driver.Apply(Command::Of(CommandKind::Resume));
    Host.ClockRestarted = false;
    return true;
}

bool Simulation::BeginReplay(const std::filesystem::path& dataFile, const Replay& replay, std::string& error)
{
    error = DataMismatch(replay, IdentityOfFile(dataFile), dataFile.string());
    if (!error.empty()) return false;
    if (!LoadGameDataFile(dataFile, State.Game)) {
        error = "cannot load the data file " + dataFile.string();
        return false;
    }
    Driver.Play(replay);
    return true;
}

void Simulation::RunReplay()
{
    for (;;) {
        Host.Slot = Driver.PlayedTicks();
        const bool wasOver = State.GameOver;
        const bool ticked = Driver.PlayTick();
        if (ticked) ++TicksRun;
        NoteGameOver(wasOver);
        if (!ticked) return;
    }
}

void Simulation::Run(std::int64_t slots, const std::vector<KeyEvent>& keys,
                     const std::function<void(const Simulation&)>& afterTick, std::span<KeyPlayer* const> players)
{
    std::vector<KeyEvent> ordered = keys;
    std::stable_sort(ordered.begin(), ordered.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.Tick < b.Tick; });
    std::size_t nextKey = 0;
    for (std::int64_t slot = 0; slot < slots; ++slot) {
        const std::int64_t before = TicksRun;
        RunSlot(slot, ordered, nextKey, players);
        if (afterTick && TicksRun != before) afterTick(*this);
    }
}

void Simulation::RunSlot(std::int64_t slot, const std::vector<KeyEvent>& keys, std::size_t& nextKey,
                         std::span<KeyPlayer* const> players)
{
    while (nextKey < keys.size() && keys[nextKey].Tick < slot) ++nextKey; // events of slots never run
    const std::size_t first = nextKey;
    while (nextKey < keys.size() && keys[nextKey].Tick == slot) ++nextKey;
    RunSlot(slot, std::span(keys).subspan(first, nextKey - first), players);
}

void Simulation::RunSlot(std::int64_t slot, std::span<const KeyEvent> events, std::span<KeyPlayer* const> players)
{
    Host.Slot = slot;
    const bool wasOver = State.GameOver;
    for (const KeyEvent& event : events) ApplyKey(event);
    for (KeyPlayer* player : players) {
        playerKeys_.clear();
        player->Keys(*State.Game.Gate, slot, playerKeys_);
        for (const KeyEvent& event : playerKeys_) ApplyKey(event);
    }

    if (Host.TimersEnabled) {
        if (Host.ClockRestarted) {
            Time.NextClock = Time.Elapsed + ClockInterval;
            Host.ClockRestarted = false;
        }
        Time.Elapsed += Time.Interval;
        while (Time.Elapsed >= Time.NextClock) {
            ++ClockTicks;
            Driver.Apply(Command::Of(CommandKind::Clock));
            Time.NextClock += ClockInterval;
        }
        if (State.NextGatePending && !GateWonTick) GateWonTick = slot;
        ++TicksRun;
        Driver.Tick();
    }
    NoteGameOver(wasOver);
}

void Simulation::ApplyKey(const KeyEvent& event)
{
    Driver.Apply(event.Press ? Command::Press(event.Key) : Command::Release(event.Key));
}

void Simulation::NoteGameOver(bool wasOver)
{
    if (!wasOver && State.GameOver && !GameOverTick) GameOverTick = Host.Slot;
}

std::string Simulation::Json() const
{
    JsonWriter j;
    j.BeginObject()
        .Member("Ticks", TicksRun)
        .Key("Playing").Bool(State.Playing)
        .Key("GameOver").Bool(State.GameOver)
        .Key("NextGatePending").Bool(State.NextGatePending)
        .Member("MoveStep", State.MoveStep)
        .Key("Gate");
    WriteGateJson(j, *State.Game.Gate);
    j.Key("Effects").BeginArray();
    for (const auto& [slot, index] : Host.Effects) j.BeginArray().Int(slot).Int(index).EndArray();
    j.EndArray().Key("GameOverTick");
    if (GameOverTick)
        j.Int(*GameOverTick);
    else
        j.Null();
    j.EndObject();
    return j.Text();
}

} // namespace brakkon
