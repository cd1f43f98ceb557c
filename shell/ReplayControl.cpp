#include "shell/ReplayControl.h"

#include "game/GameFlow.h"

#include <cstdio>

namespace brakkon {

void ReplayControl::Record(std::filesystem::path path)
{
    recordPath_ = std::move(path);
    recorder_ = std::make_unique<ReplayRecorder>();
}

bool ReplayControl::Finish()
{
    if (!recorder_) return true;
    const std::unique_ptr<ReplayRecorder> recorder = std::move(recorder_);
    if (!recorder->Recording()) return true; // no game was started
    if (SaveReplay(recordPath_, recorder->Recorded())) return true;
    // The window may be going away: no message box, the terminal hears of it.
    std::fprintf(stderr, "brakkon: cannot write the replay %s\n", recordPath_.c_str());
    return false;
}

void ReplayControl::GameStarts(const MainState& state, const std::filesystem::path& data)
{
    if (!recorder_ || recorder_->Recording()) return;
    recorder_->GameStarts(state, IdentityOfFile(data).value_or(DataIdentity{}));
}

void ReplayControl::Note(ReplayWhat what, std::int32_t value)
{
    if (recorder_) recorder_->Note(what, value);
}

void ReplayControl::NoteLoad(const GateType& gate)
{
    if (recorder_) recorder_->NoteLoad(gate);
}

void ReplayControl::GameTick()
{
    if (recorder_) recorder_->GameTick();
}

std::string ReplayControl::Play(const std::filesystem::path& path, const std::filesystem::path& data)
{
    auto replay = std::make_unique<Replay>();
    if (TextResult read = LoadReplay(path, *replay); !read) return read.Message;
    if (std::string refused = DataMismatch(*replay, IdentityOfFile(data), data.string()); !refused.empty())
        return refused;
    replay_ = std::move(replay);
    recorder_.reset();
    player_ = std::make_unique<ReplayPlayer>(*replay_);
    return {};
}

void ReplayControl::Start(MainState& state) const
{
    if (player_) player_->Start(state);
}

bool ReplayControl::Tick(MainState& state, GameHost& host)
{
    if (!player_->EventsBeforeTick(state, host)) return false;
    GameTimerTick(state, host);
    player_->TickRan();
    return true;
}

} // namespace brakkon
