#include "sim/GameDriver.h"

#include "game/GameFlow.h"
#include "game/Keyboard.h"

namespace brakkon {

namespace {
const Replay NothingRecorded;

/// Commands that start a gate afresh. The Game Editor's gate counts: the
/// stored gates it changed before any game must reach the replay too.
bool StartsGame(CommandKind kind)
{
    return kind == CommandKind::NewGame || kind == CommandKind::LoadGame || kind == CommandKind::ShowGate;
}
} // namespace

void GameDriver::Record(DataIdentity data)
{
    Record([data] { return data; });
}

void GameDriver::Record(std::function<DataIdentity()> data)
{
    recorder_ = std::make_unique<ReplayRecorder>();
    data_ = std::move(data);
}

const Replay& GameDriver::Recorded() const { return recorder_ ? recorder_->Recorded() : NothingRecorded; }

void GameDriver::RewindRecording(std::size_t events, std::int64_t ticks)
{
    if (recorder_) recorder_->Rewind(events, ticks);
}

bool GameDriver::Apply(const Command& command)
{
    // The first game's start is the state as that game found it.
    const bool firstGame = recorder_ && !recorder_->Recording() && StartsGame(command.Kind);
    const ReplayStart before = firstGame ? CaptureStart(state_) : ReplayStart{};
    if (!ApplyCommand(state_, host_, command)) return false;
    if (firstGame) recorder_->GameStarts(before, data_());
    if (recorder_) Note(command);
    return true;
}

void GameDriver::Note(const Command& command)
{
    switch (command.Kind) {
    case CommandKind::Press:
    case CommandKind::Release: recorder_->Note(command.Kind, NormaliseKey(static_cast<KeyCode>(command.Value))); break;
    case CommandKind::LoadGame: recorder_->NoteLoad(*state_.Game.Gate); break;
    case CommandKind::ShowGate:
        recorder_->NoteGate(command.Gate, *state_.Game.Gates[static_cast<std::size_t>(command.Gate)]);
        break;
    default: recorder_->Note(command.Kind, command.Value, command.Gate); break;
    }
}

void GameDriver::Tick()
{
    if (recorder_) recorder_->GameTick();
    GameTimerTick(state_, host_);
}

void GameDriver::Play(const Replay& replay)
{
    player_ = std::make_unique<ReplayPlayer>(replay);
    player_->Start(state_);
}

bool GameDriver::PlayTick()
{
    if (!player_) return false;
    Command command;
    while (player_->NextCommand(command)) (void)Apply(command);
    if (!player_->TickFollows()) return false;
    Tick();
    player_->TickRan();
    return true;
}

} // namespace brakkon
