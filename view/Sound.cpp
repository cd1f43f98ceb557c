#include "view/Sound.h"

#include "game/ErrorReport.h"
#include "platform/MediaSdl.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace brakkon {
namespace {

bool FileThere(const std::string& fileName)
{
    std::error_code error;
    return std::filesystem::is_regular_file(fileName, error);
}

std::string Beside(const std::string& appPath, std::string_view name)
{
    return appPath + "/" + std::string(name);
}

/// A player sounds while it holds a file that is neither stopped nor over.
bool Sounding(MediaPlayer& player)
{
    return player.IsOpen() && !player.Stopped();
}

} // namespace

GameSound::GameSound(std::unique_ptr<MediaPlayer> effects, std::unique_ptr<MediaPlayer> music)
    : MediaPlayer1(std::move(effects)), MediaPlayer2(std::move(music))
{
}

void GameSound::PlayEffect(SoundEffect effect)
{
    if (!SoundOn) return;
    MediaPlayer& player = *MediaPlayer1;
    const std::int32_t code = EffectCode(effect);
    // Never cut off a more important effect that still sounds; drop this one.
    if (code > CurrentSound && Sounding(player)) return;
    if (code == CurrentSound && player.IsOpen()) {
        if (!player.Stop() || !player.SeekToStart()) return;
    } else {
        // Only what the start read: the tick touches no file.
        if (!loaded_[static_cast<std::size_t>(code)]) return;
        player.Close();
        if (!player.Open(Beside(folder_, EffectFile(effect)))) return;
    }
    CurrentSound = code;
    (void)player.Play();
}

void GameSound::OpenSound(const std::string& appPath)
{
    openedAhead_ = appPath;
    failure_.clear();
    musicOpen_ = false;
    folder_ = appPath;
    for (std::size_t code = 0; code < EffectFiles.size(); ++code) {
        const std::string file = Beside(appPath, EffectFiles[code]);
        loaded_[code] = FileThere(file) && MediaPlayer1->Preload(file);
    }
    const std::string effects = Beside(appPath, EffectFile(SoundEffect::Explode));
    if (FileThere(effects))
        if (const MediaResult opened = MediaPlayer1->Open(effects); !opened) {
            failure_ = opened.Text();
            return;
        }
    const std::string music = Beside(appPath, MusicFile);
    if (!FileThere(music)) return;
    const MediaResult opened = MediaPlayer2->Open(music);
    musicOpen_ = static_cast<bool>(opened);
    if (!opened) failure_ = opened.Text();
}

void GameSound::StartSound(const std::string& appPath, bool playMusic)
{
    if (openedAhead_ != appPath) OpenSound(appPath);
    openedAhead_.reset(); // a later start reads the files again
    if (!failure_.empty()) {
        ReportError(std::exchange(failure_, {}));
        return;
    }
    if (!musicOpen_ || !playMusic) return;
    if (const MediaResult played = MediaPlayer2->Play(); !played) ReportError(played.Text());
}

std::unique_ptr<GameSound> MakeGameSound()
{
    const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
    return std::make_unique<GameSound>(MakeSdlMediaPlayer(audio), MakeSdlMediaPlayer(audio));
}

} // namespace brakkon
