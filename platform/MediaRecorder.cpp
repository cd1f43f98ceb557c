#include "platform/MediaRecorder.h"

#include <algorithm>
#include <filesystem>

namespace brakkon {

void MediaRecorder::FinishPlaying()
{
    if (where_ == Where::Playing) where_ = Where::End;
}

namespace {

bool Holds(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string NameOf(const std::string& fileName) { return std::filesystem::path(fileName).filename().string(); }

MediaResult Damaged(const std::string& fileName)
{
    return MediaResult::Failed("Cannot open \"" + fileName + "\": damaged file");
}

} // namespace

MediaResult MediaRecorder::Preload(const std::string& fileName)
{
    if (Holds(Broken, NameOf(fileName))) return Damaged(fileName);
    if (!Holds(preloaded_, fileName)) {
        preloaded_.push_back(fileName);
        FilesRead.push_back(NameOf(fileName));
    }
    return MediaResult::Done();
}

MediaResult MediaRecorder::Open(const std::string& fileName)
{
    Close();
    const std::string name = NameOf(fileName);
    if (Holds(Broken, name)) return Damaged(fileName);
    if (!Holds(preloaded_, fileName)) FilesRead.push_back(name);
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
