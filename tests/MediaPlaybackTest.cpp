// The SDL2_mixer players with the shipped sound files, on SDL's dummy audio
// driver (it mixes in real time without a device): every effect and the
// music open, sound, stop where they stand and go on; the music ends at its
// length and plays again (a short score here, the shipped music's whole
// round in the slow suite); no effect clips; with no device everything is
// silent. The tests wait for what the mixer does, never for a time.
#include "content/MidiLength.h"
#include "platform/MediaSdl.h"
#include "content/Midi.h"
#include "game/SoundEffects.h"
#include "tests/MixCapture.h"
#include "tests/TempFolder.h"
#include "tests/TestSupport.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>
#include <vector>

namespace brakkon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string BinDir = BRAKKON_BIN_DIR;

using test::Audible;
using test::CaptureMix;
using test::MixedBuffers;
using test::MixedPeak;
using test::SoundsSoon;
using test::WaitFor;

/// Peak of the next few buffers the mixer mixes (INT_MAX if it mixes none).
int PeakOfNextBuffers()
{
    MixedPeak = 0;
    const int until = MixedBuffers.load() + 4;
    return WaitFor([until] { return MixedBuffers.load() >= until; }) ? MixedPeak.load() : INT_MAX;
}

class MediaPlayback : public ::testing::Test {
protected:
    void SetUp() override
    {
        audio_ = SdlAudio::Open();
        ASSERT_TRUE(audio_->Available()) << "no dummy audio device: " << SDL_GetError();
        Mix_SetPostMix(CaptureMix, nullptr);
    }
    void TearDown() override
    {
        if (audio_ && audio_->Available()) Mix_SetPostMix(nullptr, nullptr);
    }

    std::shared_ptr<SdlAudio> audio_;
};

TEST_F(MediaPlayback, EveryEffectSoundsStopsWhereItStandsAndEnds)
{
    const std::unique_ptr<MediaPlayer> player = MakeSdlMediaPlayer(audio_);
    for (const char* file : {"Explode.wav", "Ding.wav", "Gun.wav", "Move.wav"}) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(player->Open(BinDir + "/" + file));
        EXPECT_TRUE(player->Stopped());
        ASSERT_TRUE(player->Play());
        EXPECT_FALSE(player->Stopped());
        EXPECT_TRUE(SoundsSoon());
        ASSERT_TRUE(player->Stop());
        EXPECT_TRUE(player->Stopped());
        EXPECT_LT(PeakOfNextBuffers(), Audible) << "still sounds after Stop";
        ASSERT_TRUE(player->Play());
        EXPECT_FALSE(player->Stopped()) << "goes on after Stop";
        EXPECT_TRUE(WaitFor([&] { return player->Stopped(); })) << "never ends";
        ASSERT_TRUE(player->Play()) << "starts again after its end";
        EXPECT_FALSE(player->Stopped());
        ASSERT_TRUE(player->SeekToStart());
        EXPECT_TRUE(player->Stopped());
    }
    player->Close();
    EXPECT_EQ(player->Play().Text(), MsgNoDeviceOpen);
}

// A loaded effect keeps only its sound: the mixer's conversion leaves its
// buffer several times that size, every page of it written.
TEST_F(MediaPlayback, ALoadedEffectKeepsOnlyItsSound)
{
    for (const char* file : {"Explode.wav", "Gun.wav"}) {
        SCOPED_TRACE(file);
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile((BinDir + "/" + file).c_str(), "rb"), 1);
        ASSERT_NE(chunk, nullptr) << SDL_GetError();
        const std::vector<Uint8> sound(chunk->abuf, chunk->abuf + chunk->alen);
        EXPECT_GE(malloc_usable_size(chunk->abuf), 2 * std::size_t{chunk->alen}) << "the mixer's buffer, as loaded";
        FitChunk(*chunk);
        EXPECT_LT(malloc_usable_size(chunk->abuf), std::size_t{chunk->alen} + 4096);
        EXPECT_EQ(std::vector<Uint8>(chunk->abuf, chunk->abuf + chunk->alen), sound);
        Mix_FreeChunk(chunk);
    }
}

// Each shipped effect, played whole through the player at the device's rate,
// is heard and never reaches full scale: a file that clips after the mixer
// converts it would crackle in every game.
TEST_F(MediaPlayback, EveryEffectSoundsWholeWithoutClipping)
{
    const std::unique_ptr<MediaPlayer> player = MakeSdlMediaPlayer(audio_);
    for (const SoundEffect effect : {SoundEffect::Explode, SoundEffect::Bonus, SoundEffect::Gun, SoundEffect::Move}) {
        const std::string file(EffectFile(effect));
        SCOPED_TRACE(file);
        ASSERT_TRUE(player->Open(BinDir + "/" + file));
        MixedPeak = 0;
        ASSERT_TRUE(player->Play());
        ASSERT_TRUE(WaitFor([&] { return player->Stopped(); })) << "never ends";
        EXPECT_GT(MixedPeak.load(), Audible) << "silent";
        EXPECT_LT(MixedPeak.load(), 32767) << "clips at the device's rate";
    }
}

TEST_F(MediaPlayback, MusicStopsWhereItStandsAndGoesOn)
{
    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio_);
    ASSERT_TRUE(music->Open(BinDir + "/Music.mid"));
    ASSERT_TRUE(music->Play());
    EXPECT_TRUE(SoundsSoon()) << "the music is silent";
    ASSERT_TRUE(music->Stop());
    EXPECT_TRUE(music->Stopped());
    EXPECT_EQ(Mix_PausedMusic(), 1) << "a stop must pause, not halt";
    ASSERT_TRUE(music->Play());
    EXPECT_FALSE(music->Stopped());
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_TRUE(SoundsSoon());
}

/// Two seconds of music: eight quarter notes at 240 a minute.
std::vector<std::uint8_t> ShortScore()
{
    audio::ScoreTrack track{"Lead", 0, 80, 100, {}, 8 * audio::TicksPerQuarter};
    for (std::uint8_t i = 0; i < 8; ++i)
        track.Notes.push_back({i * audio::TicksPerQuarter, audio::TicksPerQuarter * 3 / 4, static_cast<std::uint8_t>(60 + i), 100});
    return audio::EncodeMidi({"Short", 240, 4, 4, {track}});
}

std::vector<std::uint8_t> ShippedMusic()
{
    std::ifstream in(BinDir + "/Music.mid", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct MusicCase {
    const char* name;
    std::vector<std::uint8_t> (*bytes)();
};

class MusicRound : public MediaPlayback, public ::testing::WithParamInterface<MusicCase> {};

// The player says it stands once the music's length has passed, and never
// later than a second after; then it plays again from the start (the clock
// timer asks once a second and starts it again: this is how the music loops).
// Whatever the load, "stopped" comes after the end and "playing" was said
// before it: the times on either side of each answer bound the end.
TEST_P(MusicRound, EndsAtItsLengthAndPlaysAgain)
{
    const test::TempFolder dir("brakkon-music");
    const std::vector<std::uint8_t> bytes = GetParam().bytes();
    const MidiLength length = ReadMidiLength(bytes);
    ASSERT_TRUE(length);
    const std::filesystem::path file = dir / "Music.mid";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio_);
    ASSERT_TRUE(music->Open(file.string()));
    const Clock::time_point started = Clock::now();
    ASSERT_TRUE(music->Play());
    Clock::time_point lastPlaying = started;
    const auto round = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(length.Seconds));
    ASSERT_TRUE(WaitFor(
        [&] {
            const Clock::time_point asked = Clock::now();
            if (music->Stopped()) return true;
            lastPlaying = asked;
            return false;
        },
        round + 20s))
        << "the music never ends";
    const std::chrono::duration<double> stopped = Clock::now() - started;
    const std::chrono::duration<double> playing = lastPlaying - started;
    std::printf("music: %.2f s long, last playing at %.3f s, stopped at %.3f s\n", length.Seconds, playing.count(),
                stopped.count());
    EXPECT_GE(stopped.count(), length.Seconds - 0.05) << "cut off before its end";
    EXPECT_LE(playing.count(), length.Seconds + 1.0) << "still playing a second after its end";
    ASSERT_TRUE(music->Play());
    EXPECT_FALSE(music->Stopped());
    EXPECT_TRUE(SoundsSoon()) << "silent after the restart";
}

// The shipped music's whole round takes 67 s: CTest runs it in the slow suite (make test-slow).
INSTANTIATE_TEST_SUITE_P(Music, MusicRound,
                         ::testing::Values(MusicCase{"ShortScore", ShortScore}, MusicCase{"ShippedMusic", ShippedMusic}),
                         test::CaseName);

// A waveform file read into memory still opens and sounds after it is gone;
// the same name again is not read again; what cannot be read is refused.
TEST_F(MediaPlayback, APreloadedEffectSoundsAfterItsFileWent)
{
    test::TempFolder folder;
    const std::string gun = (folder / "Gun.wav").string();
    std::filesystem::copy_file(BinDir + "/Gun.wav", gun);
    const std::unique_ptr<MediaPlayer> player = MakeSdlMediaPlayer(audio_);
    ASSERT_TRUE(player->Preload(gun));
    std::filesystem::remove(gun);
    EXPECT_TRUE(player->Preload(gun)) << "read a second time";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(player->Open(gun));
        ASSERT_TRUE(player->Play());
        EXPECT_TRUE(SoundsSoon());
        player->Close(); // the memory copy outlives the open file
    }
    struct Refused {
        std::string file;
        const char* why;
    };
    for (const Refused& refused : {Refused{gun + ".gone.wav", "missing"}, Refused{BinDir + "/Music.mid", "not a waveform"},
                                   Refused{BinDir + "/Start.rtf", "not a sound"}}) {
        const MediaResult result = player->Preload(refused.file);
        EXPECT_FALSE(result) << refused.why;
        EXPECT_EQ(result.Text().rfind("Cannot open \"" + refused.file + "\"", 0), 0u) << result.Text();
    }
    EXPECT_FALSE(player->Open(gun + ".gone.wav")) << "a failed preload keeps nothing";
}

TEST(SilentPlayback, WithoutADeviceFilesOpenAndNothingSounds)
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = driver != nullptr ? driver : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    ASSERT_FALSE(audio->Available());
    EXPECT_EQ(audio->ReserveChannel(), -1);
    const std::unique_ptr<MediaPlayer> player = MakeSdlMediaPlayer(audio);
    EXPECT_TRUE(player->Open(BinDir + "/Start.rtf.mid")) << "no device: not even a missing file is an error";
    EXPECT_TRUE(player->Play());
    EXPECT_TRUE(player->Stopped());
    EXPECT_FALSE(player->Open(BinDir + "/Start.rtf")) << "no device plays a text file";
}

} // namespace
} // namespace brakkon
