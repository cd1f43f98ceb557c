// A media player that sounds nothing and writes down what a listener would
// hear, for the tests of the game's sound: which file begins to sound, and
// whether from its start or on from where it stood. It keeps a real player's
// states: an open file plays until the test says it has reached its end, a
// stopped file goes on from where it stood, and a file named in Broken fails
// to open. How the sound got there (closed and opened again, or wound back)
// is not written down: the tests hold the player to what is heard.
#pragma once

#include "platform/MediaPlayer.h"

#include <string>
#include <vector>

namespace brakkon {

class MediaRecorder final : public MediaPlayer {
public:
    /// Each sound as it begins, the file without its folder: "Gun.wav from
    /// the start", or "Music.mid on" when it goes on from where it stopped.
    std::vector<std::string> Heard;
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

    std::string file_;
    Where where_ = Where::Start;
};

} // namespace brakkon
