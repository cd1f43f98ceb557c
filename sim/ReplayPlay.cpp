#include "sim/ReplayPlay.h"

#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/Keyboard.h"
#include "game/SavedGame.h"

namespace brakkon {

namespace {
/// Room for an hour of clock ticks and a busy player's keys before the
/// buffer grows.
constexpr std::size_t ReservedEvents = 16384;
} // namespace

void ReplayRecorder::GameStarts(const MainState& state, DataIdentity data)
{
    if (started_) return;
    started_ = true;
    replay_.Data = data;
    replay_.Start = CaptureStart(state);
    replay_.Events.reserve(ReservedEvents);
}

void ReplayRecorder::Note(ReplayWhat what, std::int32_t value)
{
    if (started_) replay_.Events.push_back({replay_.Ticks, what, value});
}

void ReplayRecorder::NoteLoad(const GateType& gate)
{
    if (!started_) return;
    std::vector<std::uint8_t> bytes;
    if (!EncodeSavedGame(gate, bytes)) return; // it was just decoded: cannot fail
    replay_.Events.push_back({replay_.Ticks, ReplayWhat::LoadGame, static_cast<std::int32_t>(replay_.SavedGames.size())});
    replay_.SavedGames.push_back(std::move(bytes));
}

void ApplyReplayEvent(const Replay& replay, const ReplayEvent& event, MainState& state, GameHost& host)
{
    const auto key = static_cast<KeyCode>(event.Value);
    switch (event.What) {
    case ReplayWhat::Clock: ClockTimerTick(state, host); break;
    case ReplayWhat::Press:
        PauseKey(state, host, key);
        PlayerKeyDown(state, host, key);
        break;
    case ReplayWhat::Release: PlayerKeyUp(state, key); break;
    case ReplayWhat::Focus: ReleaseMovementKeys(state); break;
    case ReplayWhat::Pause: PauseGame(state, host); break;
    case ReplayWhat::Resume: ResumeGame(state, host); break;
    case ReplayWhat::NewGame:
        // As the menu's "New Game": the title, then the first gate afresh.
        host.SetTitle(GameTitle, true);
        state.NextGatePending = false;
        StartGate(state, host, 0, true, event.Value == 2);
        break;
    case ReplayWhat::LoadGame:
        // The reader checked that every saved game decodes.
        if (DecodeSavedGame(replay.SavedGames.at(static_cast<std::size_t>(event.Value)), *state.Game.Gate)) {
            state.NextGatePending = false;
            host.DrawField(state.Game.Gate.get());
            host.SetTitle(GameTitle, false);
        }
        break;
    case ReplayWhat::Step: ApplyMoveStep(state, host, event.Value); break;
    }
}

bool ReplayPlayer::EventsBeforeTick(MainState& state, GameHost& host)
{
    while (next_ < replay_.Events.size() && replay_.Events[next_].Tick <= tick_)
        ApplyReplayEvent(replay_, replay_.Events[next_++], state, host);
    return tick_ < replay_.Ticks;
}

} // namespace brakkon
