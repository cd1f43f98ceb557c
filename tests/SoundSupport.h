// The game's sound over two recording players, and an engine host that
// sends its sound calls there as the main window does.
#pragma once

#include "tests/EngineSupport.h"
#include "platform/MediaRecorder.h"
#include "view/Sound.h"

#include <memory>

namespace brakkon::test {

/// A GameSound whose players are recorders the test can read and drive.
struct SoundRig {
    MediaRecorder* Effects = new MediaRecorder;
    MediaRecorder* Music = new MediaRecorder;
    GameSound Sound{std::unique_ptr<MediaPlayer>(Effects), std::unique_ptr<MediaPlayer>(Music)};
};

/// Records the engine's calls and plays its sound through `sound`.
class SoundHost : public RecordingHost {
public:
    explicit SoundHost(GameSound& sound) : sound_(sound) {}

    void PlayEffect(SoundEffect effect) override
    {
        RecordingHost::PlayEffect(effect);
        sound_.PlayEffect(effect);
    }
    [[nodiscard]] bool MusicStopped() override { return sound_.MusicStopped(); }
    void PlayMusic() override { sound_.PlayMusic(); }

private:
    GameSound& sound_;
};

} // namespace brakkon::test
