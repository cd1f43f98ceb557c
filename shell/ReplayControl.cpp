#include "shell/ReplayControl.h"

#include <cstdio>

namespace brakkon {

void ReplayControl::Record(std::filesystem::path path, std::function<std::filesystem::path()> data)
{
    recordPath_ = std::move(path);
    recording_ = true;
    driver_->Record([data = std::move(data)] { return IdentityOfFile(data()).value_or(DataIdentity{}); });
}

bool ReplayControl::Finish()
{
    if (!recording_) return true;
    recording_ = false;
    if (!driver_->Recording()) return true; // no game was started
    if (SaveReplay(recordPath_, driver_->Recorded())) return true;
    // The window may be going away: no message box, the terminal hears of it.
    std::fprintf(stderr, "brakkon: cannot write the replay %s\n", recordPath_.c_str());
    return false;
}

std::string ReplayControl::Play(const std::filesystem::path& path, const std::filesystem::path& data)
{
    auto replay = std::make_unique<Replay>();
    if (TextResult read = LoadReplay(path, *replay); !read) return read.Message;
    if (std::string refused = DataMismatch(*replay, IdentityOfFile(data), data.string()); !refused.empty())
        return refused;
    replay_ = std::move(replay);
    recording_ = false; // a replay is not recorded again
    driver_->StopRecording();
    return {};
}

void ReplayControl::Start()
{
    if (replay_) driver_->Play(*replay_);
}

} // namespace brakkon
