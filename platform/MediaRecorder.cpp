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
    if (std::find(Broken.begin(), Broken.end(), name) != Broken.end()) {
        Log.push_back("Open " + name + " failed");
        return MediaResult::Failed("Cannot open \"" + fileName + "\": damaged file");
    }
    Log.push_back("Open " + name);
    file_ = name;
    where_ = Where::Start;
    return MediaResult::Done();
}

void MediaRecorder::Close()
{
    if (file_.empty()) return;
    Log.emplace_back("Close");
    file_.clear();
}

MediaResult MediaRecorder::Play()
{
    if (file_.empty()) return Refused("Play");
    const bool fromStart = where_ == Where::Start || where_ == Where::End;
    Log.emplace_back(fromStart ? "Play from start" : "Play on");
    where_ = Where::Playing;
    return MediaResult::Done();
}

MediaResult MediaRecorder::Stop()
{
    if (file_.empty()) return Refused("Stop");
    Log.emplace_back("Stop");
    if (where_ == Where::Playing) where_ = Where::Paused;
    return MediaResult::Done();
}

MediaResult MediaRecorder::SeekToStart()
{
    if (file_.empty()) return Refused("Seek");
    Log.emplace_back("Seek");
    where_ = Where::Start;
    return MediaResult::Done();
}

MediaResult MediaRecorder::Refused(const char* command)
{
    Log.push_back(std::string(command) + " refused");
    return MediaResult::Failed(std::string(MsgNoDeviceOpen));
}

} // namespace brakkon
