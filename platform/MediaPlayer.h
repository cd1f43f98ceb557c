// What the game asks of a media player: one open file at a time on the
// device its extension chooses, played asynchronously, stopped where it
// stands, wound back to the start, and asked whether it stands still.
// Waveform files can be read once into the player's memory beforehand, so
// that opening them later reads no file (the effects, opened in the tick).
//
// The window owns two players (effects and music) through GameSound; the
// SDL2_mixer back end (MediaSdl.h) and the tests' recorder (MediaRecorder.h)
// implement this interface. A player never throws: each command answers
// with a MediaResult that carries the media layer's error text.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace brakkon {

/// Text of a command given to a player that holds no open file.
inline constexpr std::string_view MsgNoDeviceOpen = "No MCI device open";

/// The outcome of one media command: success, or the media layer's error text.
class [[nodiscard]] MediaResult {
public:
    static MediaResult Done() { return MediaResult(); }
    static MediaResult Failed(std::string text) { return MediaResult(std::move(text)); }

    explicit operator bool() const { return !failed_; }
    [[nodiscard]] const std::string& Text() const { return text_; }

private:
    MediaResult() = default;
    explicit MediaResult(std::string text) : failed_(true), text_(std::move(text)) {}

    bool failed_ = false;
    std::string text_;
};

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    /// Closes what is open, then opens `fileName` on the waveform device
    /// (".wav") or the MIDI sequencer (".mid"). The player stands at the start.
    virtual MediaResult Open(const std::string& fileName) = 0;
    /// Reads the waveform file `fileName` into the player's memory, once:
    /// each later Open of that same name opens the memory copy and reads no
    /// file, even when the file is gone by then. Nothing sounds; the open
    /// file stays open. A file that cannot be read fails as Open would.
    virtual MediaResult Preload(const std::string& fileName) = 0;
    /// Closes the open file, if any.
    virtual void Close() = 0;
    /// Starts playing and returns at once: from where the player stands, or
    /// from the start when the file has played to its end.
    virtual MediaResult Play() = 0;
    /// Stops where the player stands; the next Play goes on from there.
    virtual MediaResult Stop() = 0;
    /// Stops and winds back to the start.
    virtual MediaResult SeekToStart() = 0;
    /// True when nothing sounds: after Open, Stop, SeekToStart, or once the
    /// file has played to its end. A player without an open file is not
    /// stopped: there is nothing to start again.
    [[nodiscard]] virtual bool Stopped() = 0;
    /// True while a file is open.
    [[nodiscard]] virtual bool IsOpen() const = 0;
};

} // namespace brakkon
