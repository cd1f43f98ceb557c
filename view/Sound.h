// The game's two sound channels: short effects chosen by priority, and the
// music that loops for the whole run.
//
// GameSound owns the effects player (MediaPlayer1) and the music player
// (MediaPlayer2) and the effects' own state (SoundOn, CurrentSound); the
// main window owns the GameSound and forwards the engine's PlayEffect,
// MusicStopped and PlayMusic to it, starts it when the window shows, and the
// Game Control dialog switches the effects and stops the music through it.
// The sound files lie beside the executable, in the folder StartSound is
// given. Sound never stops the game: a missing effect is skipped, errors
// while playing are swallowed, and only a file that is there and cannot be
// opened when the window shows is reported, through the error seam.
#pragma once

#include "game/SoundEffects.h"
#include "platform/MediaPlayer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace brakkon {

/// CurrentSound before the first effect.
constexpr std::int32_t NoSoundYet = 100;

class GameSound {
public:
    GameSound(std::unique_ptr<MediaPlayer> effects, std::unique_ptr<MediaPlayer> music);

    /// Starts `effect` unless sound is off or a more important effect (of a
    /// lower code, game/SoundEffects.h) still sounds. The same effect again
    /// restarts it from the beginning; another one replaces the open file,
    /// from the player's memory: no file is read here. An effect whose file
    /// was missing or unreadable when the sound started, or an error of the
    /// player, leaves the effect silent and CurrentSound as it was.
    void PlayEffect(SoundEffect effect);

    /// When the window shows, with the folder of the sound files: every
    /// effect's file there is read into the effects player's memory, once
    /// (one that cannot be read stays silent), the effects player opens
    /// "Explode.wav", the music player opens "Music.mid" and, when
    /// `playMusic`, starts it. A missing file is passed over; "Explode.wav"
    /// or "Music.mid" that cannot be opened is reported and ends the start.
    void StartSound(const std::string& appPath, bool playMusic = true);
    /// StartSound's reading and opening done ahead (while the intro shows),
    /// its failure held: the next StartSound of the same folder plays what
    /// was opened and reports the failure then.
    void OpenSound(const std::string& appPath);

    /// True when the music has played to its end or was stopped; false when
    /// no music file is open.
    [[nodiscard]] bool MusicStopped() { return MediaPlayer2->Stopped(); }
    /// Starts the music: from where it stood, or from the start after its end.
    void PlayMusic() { (void)MediaPlayer2->Play(); }
    /// Stops the music where it stands.
    void StopMusic() { (void)MediaPlayer2->Stop(); }

    const std::unique_ptr<MediaPlayer> MediaPlayer1; ///< the effects
    const std::unique_ptr<MediaPlayer> MediaPlayer2; ///< the music
    bool SoundOn = true;                    ///< sound effects are played
    std::int32_t CurrentSound = NoSoundYet; ///< effect last started

private:
    std::string folder_; ///< of the sound files, no trailing separator
    std::optional<std::string> openedAhead_; ///< the folder OpenSound opened, until StartSound
    std::string failure_;                    ///< what OpenSound could not open; empty: nothing
    bool musicOpen_ = false;                 ///< OpenSound opened the music
    std::array<bool, EffectFiles.size()> loaded_{}; ///< by code: in the effects player's memory
};

/// The game's sound over SDL2_mixer: silent when there is no sound device.
std::unique_ptr<GameSound> MakeGameSound();

} // namespace brakkon
