#include "platform/MediaRecorder.h"

#include <algorithm>
#include <filesystem>

namespace brakkon {

void MediaRecorder::FinishPlaying()
{
    if (where_ == Where::Playing) where_ = Where::End;
}

MediaResult MediaRecorder::Open(const std::string& fileName)
{
    Close();
    const std::string name = std::filesystem::path(fileName).filename().string();
    if (std::find(Broken.begin(), Broken.end(), name) != Broken.end())
        return MediaResult::Failed("Cannot open \"" + fileName + "\": damaged file");
    file_ = name;
    where_ = Where::Start;
    return MediaResult::Done();
}

void MediaRecorder::Close() { file_.clear(); }

MediaResult MediaRecorder::Play()
{
    if (file_.empty()) return MediaResult::Failed(std::string(MsgNoDeviceOpen));
    if (where_ != Where::Playing) {
        const bool fromStart = where_ == Where::Start || where_ == Where::End;
        Heard.push_back(file_ + (fromStart ? " from the start" : " on"));
    }
    where_ = Where::Playing;
    return MediaResult::Done();
}

MediaResult MediaRecorder::Stop()
{
    if (file_.empty()) return MediaResult::Failed(std::string(MsgNoDeviceOpen));
    if (where_ == Where::Playing) where_ = Where::Paused;
    return MediaResult::Done();
}

MediaResult MediaRecorder::SeekToStart()
{
    if (file_.empty()) return MediaResult::Failed(std::string(MsgNoDeviceOpen));
    where_ = Where::Start;
    return MediaResult::Done();
}

} // namespace brakkon
