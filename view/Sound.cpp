#include "view/Sound.h"

#include "game/ErrorReport.h"
#include "platform/MediaSdl.h"

#include <filesystem>
#include <system_error>

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
        // Before the sound started there is no folder to read from.
        if (folder_.empty()) return;
        const std::string file = Beside(folder_, EffectFile(effect));
        if (!FileThere(file)) return;
        player.Close();
        if (!player.Open(file)) return;
    }
    CurrentSound = code;
    (void)player.Play();
}

void GameSound::StartSound(const std::string& appPath, bool playMusic)
{
    folder_ = appPath;
    const std::string effects = Beside(appPath, EffectFile(SoundEffect::Explode));
    if (FileThere(effects))
        if (const MediaResult opened = MediaPlayer1->Open(effects); !opened) {
            ReportError(opened.Text());
            return;
        }
    const std::string music = Beside(appPath, MusicFile);
    if (!FileThere(music)) return;
    MediaResult result = MediaPlayer2->Open(music);
    if (result && playMusic) result = MediaPlayer2->Play();
    if (!result) ReportError(result.Text());
}

std::unique_ptr<GameSound> MakeGameSound()
{
    const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
    return std::make_unique<GameSound>(MakeSdlMediaPlayer(audio), MakeSdlMediaPlayer(audio));
}

} // namespace brakkon
