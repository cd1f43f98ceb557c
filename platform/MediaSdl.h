// The media players over SDL2_mixer.
//
// SdlAudio opens the sound device once for the whole run and is shared by
// the players made from it; with no device (a server, CI, a sound card in
// use) it stays silent and the players open files without playing them, so
// the game runs on quietly. A waveform file becomes one Mix_Chunk on a
// channel reserved for its player; a MIDI file becomes the one Mix_Music,
// sounded through the General-MIDI sound font that FindSoundFont locates,
// cut to the music's programs (platform/FontLoader.h).
#pragma once

#include "platform/MediaPlayer.h"

#include <functional>
#include <memory>
#include <string>

struct Mix_Chunk;

namespace brakkon {

class SdlAudio {
public:
    /// Opens the sound device; a failure leaves the audio silent, never an error.
    static std::shared_ptr<SdlAudio> Open();
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    /// True when a sound device is open and players really sound.
    [[nodiscard]] bool Available() const { return available_; }
    /// A mixer channel of its own for one effects player; -1 when silent.
    [[nodiscard]] int ReserveChannel();

private:
    SdlAudio() = default;

    bool available_ = false;
    int reserved_ = 0;
};

/// A media player over `audio`; it keeps the audio open while it lives.
std::unique_ptr<MediaPlayer> MakeSdlMediaPlayer(std::shared_ptr<SdlAudio> audio);

/// Cuts a loaded chunk's buffer to its sound: the mixer leaves it the size
/// of its conversion's largest step.
void FitChunk(Mix_Chunk& chunk);

/// Reads an environment variable; null when unset.
using EnvLookup = std::function<const char*(const char*)>;

/// The sound font for the MIDI music: the first of "TimGM6mb.sf2", then
/// "default-GM.sf2", in the "sounds/sf2" folder of the user's data directory
/// and then of each system data directory, as the XDG variables name them
/// (with their usual defaults). Empty when none is there.
[[nodiscard]] std::string FindSoundFont(const EnvLookup& getEnv);

} // namespace brakkon
