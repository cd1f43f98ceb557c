// The main window's replays: recording every game from the first one's start
// until the window goes, and playing a replay in the window in place of the
// keys, the menu and the clock timer. The engine's side is in sim/.
#include "shell/MainUnit.h"

#include "shell/StartData.h"
#include "game/GameFlow.h"

#include <cstdio>

namespace brakkon {

void MainForm::RecordReplay(std::filesystem::path path)
{
    recordPath_ = std::move(path);
    recorder_ = std::make_unique<ReplayRecorder>();
}

bool MainForm::FinishRecording()
{
    if (!recorder_) return true;
    const std::unique_ptr<ReplayRecorder> recorder = std::move(recorder_);
    if (!recorder->Recording()) return true; // no game was started
    if (SaveReplay(recordPath_, recorder->Recorded())) return true;
    // The window may be going away: no message box, the terminal hears of it.
    std::fprintf(stderr, "brakkon: cannot write the replay %s\n", recordPath_.c_str());
    return false;
}

void MainForm::NoteGameStart()
{
    if (!recorder_ || recorder_->Recording()) return;
    recorder_->GameStarts(state_, IdentityOfFile(dataPath_).value_or(DataIdentity{}));
}

void MainForm::Note(ReplayWhat what, std::int32_t value)
{
    if (recorder_) recorder_->Note(what, value);
}

std::string MainForm::PlayReplay(const std::filesystem::path& path)
{
    auto replay = std::make_unique<Replay>();
    if (TextResult read = LoadReplay(path, *replay); !read) return read.Message;
    const std::filesystem::path data = shown_ ? dataPath_ : StartGameDataPath(StartDataFilesOf(state_.AppPath));
    if (std::string refused = DataMismatch(*replay, IdentityOfFile(data), data.string()); !refused.empty())
        return refused;
    replay_ = std::move(replay);
    recorder_.reset(); // a replay is not recorded again
    player_ = std::make_unique<ReplayPlayer>(*replay_);
    if (shown_) player_->Start(state_); // else once the window has loaded its files
    return {};
}

bool MainForm::ReplayTick()
{
    if (!player_->EventsBeforeTick(state_, *this)) {
        EnableTimers(false); // the field stands where the recording ended
        SetTitle("Replay ended", true);
        return false;
    }
    GameTimerTick(state_, *this);
    player_->TickRan();
    return true;
}

} // namespace brakkon
