// The SDL2_mixer players with the shipped sound files, on SDL's dummy audio
// driver (it mixes in real time without a device): every effect and the
// music open, sound, stop where they stand and go on; the music comes round
// again within a second of its end; with no device everything is silent.
#include "MediaMidi.h"
#include "MediaSdl.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace brakkon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string BinDir = BRAKKON_BIN_DIR;
constexpr int Audible = 1000; ///< peak of a mix that sounds, of 32767

/// Peak magnitude of the mix since the last reset, fed by the mixer's thread.
std::atomic<int> MixedPeak{0};

void CaptureMix(void*, Uint8* stream, int len)
{
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int peak = MixedPeak.load();
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    MixedPeak.store(peak);
}

/// Peak of what the mixer plays during the next `time`.
int PeakOver(Clock::duration time)
{
    MixedPeak = 0;
    std::this_thread::sleep_for(time);
    return MixedPeak.load();
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
        EXPECT_GT(PeakOver(60ms), Audible);
        ASSERT_TRUE(player->Stop());
        EXPECT_TRUE(player->Stopped());
        EXPECT_LT(PeakOver(60ms), Audible) << "still sounds after Stop";
        ASSERT_TRUE(player->Play());
        EXPECT_FALSE(player->Stopped()) << "goes on after Stop";
        const Clock::time_point deadline = Clock::now() + 1500ms; // the longest effect lasts 1 s
        while (!player->Stopped() && Clock::now() < deadline) std::this_thread::sleep_for(10ms);
        EXPECT_TRUE(player->Stopped()) << "never ends";
        ASSERT_TRUE(player->Play()) << "starts again after its end";
        EXPECT_FALSE(player->Stopped());
        ASSERT_TRUE(player->SeekToStart());
        EXPECT_TRUE(player->Stopped());
    }
    player->Close();
    EXPECT_EQ(player->Play().Text(), MsgNoDeviceOpen);
}

TEST_F(MediaPlayback, MusicStopsWhereItStandsAndGoesOn)
{
    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio_);
    ASSERT_TRUE(music->Open(BinDir + "/Music.mid"));
    ASSERT_TRUE(music->Play());
    EXPECT_GT(PeakOver(1500ms), Audible) << "the music is silent";
    ASSERT_TRUE(music->Stop());
    EXPECT_TRUE(music->Stopped());
    EXPECT_EQ(Mix_PausedMusic(), 1) << "a stop must pause, not halt";
    ASSERT_TRUE(music->Play());
    EXPECT_FALSE(music->Stopped());
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_GT(PeakOver(500ms), Audible);
}

// A whole round of the music (about 67 s): the clock ticks once a second
// and starts the music again when the player says it has stopped.
TEST_F(MediaPlayback, MusicLoopsWithAPauseOfAtMostASecond)
{
    std::ifstream in(BinDir + "/Music.mid", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const MidiLength length = ReadMidiLength(bytes);
    ASSERT_TRUE(length);
    const auto musicTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(length.Seconds));

    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio_);
    ASSERT_TRUE(music->Open(BinDir + "/Music.mid"));
    const Clock::time_point started = Clock::now();
    ASSERT_TRUE(music->Play());
    Clock::time_point tick = started;
    while (!music->Stopped()) {
        ASSERT_LT(Clock::now() - started, musicTime + 10s) << "the music never ends";
        tick += 1s;
        std::this_thread::sleep_until(tick);
    }
    const Clock::time_point restarted = Clock::now();
    ASSERT_TRUE(music->Play());
    const std::chrono::duration<double> pause = restarted - (started + musicTime);
    std::printf("music: %.2f s long, restarted %.3f s after its end\n", length.Seconds, pause.count());
    EXPECT_GE(pause.count(), -0.05) << "cut off before its end";
    EXPECT_LE(pause.count(), 1.05);
    EXPECT_GT(PeakOver(1s), Audible) << "silent after the restart";
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
