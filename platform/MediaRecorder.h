// A media player that sounds nothing and writes down every command, for the
// tests of the game's sound. It keeps a real player's states: an open file
// plays until the test says it has reached its end, a stopped file goes on
// from where it stood, and a file named in Broken fails to open.
#pragma once

#include "platform/MediaPlayer.h"

#include <string>
#include <vector>

namespace brakkon {

class MediaRecorder final : public MediaPlayer {
public:
    /// Every command in order, with file names without their folder: "Open
    /// Gun.wav", "Close", "Play from start", "Play on", "Stop", "Seek", and
    /// "Play", "Stop" or "Seek" followed by " refused" without an open file.
    std::vector<std::string> Log;
    /// Names (without folder) of files that exist but cannot be opened.
    std::vector<std::string> Broken;

    /// The playing file has come to its end.
    void FinishPlaying();
    /// Name (without folder) of the open file; empty when none is open.
    [[nodiscard]] const std::string& OpenFile() const { return file_; }
    [[nodiscard]] bool Playing() const { return !file_.empty() && where_ == Where::Playing; }

    MediaResult Open(const std::string& fileName) override;
    void Close() override;
    MediaResult Play() override;
    MediaResult Stop() override;
    MediaResult SeekToStart() override;
    [[nodiscard]] bool Stopped() override { return !file_.empty() && where_ != Where::Playing; }
    [[nodiscard]] bool IsOpen() const override { return !file_.empty(); }

private:
    enum class Where { Start, Playing, Paused, End };

    MediaResult Refused(const char* command);

    std::string file_;
    Where where_ = Where::Start;
};

} // namespace brakkon
