// The built music and effects played through SDL2_mixer, as the game plays
// them: the music through FluidSynth with the General MIDI sound font, each
// effect on a channel of its own. Runs on SDL's dummy audio driver, which
// mixes in real time without a device; the mixed output is captured to see
// that the music really sounds.
#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::filesystem::path BinDir = BRAKKON_BIN_DIR;

/// Peak magnitude of the mixed output since the last reset, fed by SDL's mixer thread.
std::atomic<int> MixedPeak{0};

/// Waits, with a deadline that only a hung mixer misses, until `done` holds.
template <typename Condition>
bool WaitFor(Condition done)
{
    for (const Uint64 deadline = SDL_GetTicks64() + 20000; !done();) {
        if (SDL_GetTicks64() > deadline) return false;
        SDL_Delay(5);
    }
    return true;
}

void CaptureMix(void*, Uint8* stream, int len)
{
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    int peak = MixedPeak.load();
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    MixedPeak.store(peak);
}

class Playback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
        opened_ = true;
        ASSERT_EQ(Mix_QuerySpec(&frequency_, &format_, &channels_), 1);
        ASSERT_EQ(format_, AUDIO_S16SYS);
        Mix_SetPostMix(CaptureMix, nullptr);
    }

    void TearDown() override
    {
        if (opened_) {
            Mix_SetPostMix(nullptr, nullptr);
            Mix_CloseAudio();
        }
        SDL_Quit();
    }

    bool opened_ = false;
    int frequency_ = 0;
    Uint16 format_ = 0;
    int channels_ = 0;
};

TEST_F(Playback, MusicPlaysThroughTheSoundFont)
{
    ASSERT_TRUE(std::filesystem::exists(BRAKKON_SOUND_FONT)) << BRAKKON_SOUND_FONT;
    ASSERT_EQ(Mix_SetSoundFonts(BRAKKON_SOUND_FONT), 1) << Mix_GetError();
    Mix_Music* music = Mix_LoadMUS((BinDir / "Music.mid").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MID);
    MixedPeak = 0;
    ASSERT_EQ(Mix_PlayMusic(music, 0), 0) << Mix_GetError();
    EXPECT_TRUE(WaitFor([] { return MixedPeak.load() > 1000; })) << "the music is silent";
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    Mix_HaltMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    Mix_FreeMusic(music);
}

TEST_F(Playback, EveryEffectLoadsAndPlays)
{
    struct Effect {
        const char* file;
        double seconds; ///< length of the file
    };
    const Effect effects[] = {{"Explode.wav", 1.0}, {"Ding.wav", 0.5}, {"Gun.wav", 0.18}, {"Move.wav", 0.5}};
    for (const Effect& e : effects) {
        Mix_Chunk* chunk = Mix_LoadWAV((BinDir / e.file).c_str());
        ASSERT_NE(chunk, nullptr) << e.file << ": " << Mix_GetError();
        // The chunk is converted to the device's format: its length follows.
        const double bytes = e.seconds * frequency_ * channels_ * 2;
        EXPECT_NEAR(static_cast<double>(chunk->alen), bytes, bytes * 0.01) << e.file;
        MixedPeak = 0;
        const int channel = Mix_PlayChannel(-1, chunk, 0);
        ASSERT_GE(channel, 0) << e.file << ": " << Mix_GetError();
        EXPECT_EQ(Mix_Playing(channel), 1) << e.file;
        ASSERT_TRUE(WaitFor([channel] { return Mix_Playing(channel) == 0; })) << e.file << " never ends";
        EXPECT_GT(MixedPeak.load(), 1000) << e.file << " is silent";
        EXPECT_LT(MixedPeak.load(), 32767) << e.file << " clips after conversion to the device's rate";
        ASSERT_EQ(Mix_PlayChannel(channel, chunk, 0), channel);
        Mix_HaltChannel(channel);
        EXPECT_EQ(Mix_Playing(channel), 0) << e.file;
        Mix_FreeChunk(chunk);
    }
}

} // namespace
