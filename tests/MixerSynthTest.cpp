// The mixer's MIDI synthesiser made by the game's constructor: the music
// opened through the game's own players gets a synthesiser with the lean
// polyphony (read back from it) and sounds; with the lean settings off it
// has the library's default. The real constructor is looked up only in libraries
// already loaded; without it there is no synthesiser, and a library without
// the settings' call still gets its plain synthesiser. Real SDL2_mixer on the
// dummy driver, loaded as the game loads it (this program links neither).
#include "platform/MediaSdl.h"
#include "platform/MixerSynth.h"
#include "platform/SdlLibrary.h"

#include "tests/MixCapture.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <chrono>
#include <thread>
#include <vector>

namespace brakkon {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string BinDir = BRAKKON_BIN_DIR;
constexpr const char* MixerFile = "libSDL2_mixer-2.0.so.0";
constexpr int Audible = 1000;
constexpr int DefaultPolyphony = 256;

using test::CaptureMix;
using test::MixedPeak;

/// A call of the mixer or the synthesiser, from the copy the game loaded.
template <typename Call>
Call Loaded(const char* name)
{
    void* library = ::dlopen(MixerFile, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    void* found = library != nullptr ? ::dlsym(library, name) : nullptr;
    if (library != nullptr) ::dlclose(library);
    return reinterpret_cast<Call>(found);
}

bool SoundsSoon()
{
    MixedPeak = 0;
    for (const Clock::time_point end = Clock::now() + 20s; MixedPeak.load() <= Audible;) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

struct LeanCase {
    const char* name;
    bool lean;
    int polyphony;
};

class MusicSynth : public ::testing::TestWithParam<LeanCase> {
protected:
    void TearDown() override { SetLeanSynth(true); }
};

TEST_P(MusicSynth, MadeWithItsSettingsAndSounds)
{
    SetLeanSynth(GetParam().lean);
    const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
    ASSERT_TRUE(audio->Available());
    const auto setPostMix = Loaded<void (*)(void (*)(void*, Uint8*, int), void*)>("Mix_SetPostMix");
    ASSERT_NE(setPostMix, nullptr);
    const int before = LastSynthMade().Count;
    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio);
    ASSERT_TRUE(music->Open(BinDir + "/Music.mid"));
    const SynthMade made = LastSynthMade();
    EXPECT_EQ(made.Count, before + 1) << "the mixer's synthesiser was not made by the game's constructor";
    EXPECT_EQ(made.Polyphony, GetParam().polyphony);
    setPostMix(CaptureMix, nullptr);
    ASSERT_TRUE(music->Play());
    EXPECT_TRUE(SoundsSoon()) << "the music is silent";
    setPostMix(nullptr, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Settings, MusicSynth,
                         ::testing::Values(LeanCase{"Lean", true, SynthPolyphony},
                                           LeanCase{"LibraryDefaults", false, DefaultPolyphony}),
                         test::CaseName);

struct LookupCase {
    const char* name;
    std::vector<const char*> libraries;
    bool found;
};

class SynthLookup : public ::testing::TestWithParam<LookupCase> {};

// The mixer is loaded (as when the sound starts); nothing is loaded for the lookup.
TEST_P(SynthLookup, OnlyInLoadedLibraries)
{
    ASSERT_NE(Mixer(), nullptr);
    const std::vector<const char*>& libraries = GetParam().libraries;
    const SynthCalls calls = FindSynthCalls(libraries.data(), static_cast<int>(libraries.size()));
    const bool found = GetParam().found;
    EXPECT_EQ(calls.NewSynth != nullptr, found);
    EXPECT_NE(calls.NewSynth, &::new_fluid_synth);
    for (const bool present : {calls.SetInt != nullptr, calls.GetPolyphony != nullptr, calls.ActiveVoices != nullptr})
        EXPECT_EQ(present, found);
    EXPECT_EQ(::dlopen("libno-such-synth.so.1", RTLD_NOW | RTLD_NOLOAD), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, SynthLookup,
    ::testing::Values(LookupCase{"TheMixer", {MixerFile}, true}, LookupCase{"NoneNamed", {}, false},
                      LookupCase{"NotLoaded", {"libno-such-synth.so.1"}, false},
                      LookupCase{"NotLoadedThenTheMixer", {"libno-such-synth.so.1", MixerFile}, true},
                      LookupCase{"WithoutTheSynthesiser", {"libSDL2-2.0.so.0"}, false}),
    test::CaseName);

struct MissingCase {
    const char* name;
    bool withConstructor;
    bool withSetInt;
    bool made;
    int polyphony;
};

class SynthMissing : public ::testing::TestWithParam<MissingCase> {};

// A library short of a call: no constructor, no synthesiser; no way to set,
// the library's defaults. Never a crash.
TEST_P(SynthMissing, MakesWhatItCan)
{
    ASSERT_NE(Mixer(), nullptr);
    const auto newSettings = Loaded<FluidSettings* (*)()>("new_fluid_settings");
    const auto deleteSettings = Loaded<void (*)(FluidSettings*)>("delete_fluid_settings");
    const auto deleteSynth = Loaded<void (*)(FluidSynth*)>("delete_fluid_synth");
    ASSERT_TRUE(newSettings != nullptr && deleteSettings != nullptr && deleteSynth != nullptr);
    SynthCalls calls = MixerSynthCalls();
    ASSERT_NE(calls.NewSynth, nullptr);
    const SynthCalls full = calls;
    if (!GetParam().withConstructor) calls.NewSynth = nullptr;
    if (!GetParam().withSetInt) calls.SetInt = nullptr;

    FluidSettings* settings = newSettings();
    ASSERT_NE(settings, nullptr);
    FluidSynth* synth = MakeSynth(settings, calls, true);
    EXPECT_EQ(synth != nullptr, GetParam().made);
    if (synth != nullptr) {
        EXPECT_EQ(full.GetPolyphony(synth), GetParam().polyphony);
        deleteSynth(synth);
    }
    deleteSettings(settings);
}

INSTANTIATE_TEST_SUITE_P(Calls, SynthMissing,
                         ::testing::Values(MissingCase{"All", true, true, true, SynthPolyphony},
                                           MissingCase{"NoSetting", true, false, true, DefaultPolyphony},
                                           MissingCase{"NoConstructor", false, true, false, 0}),
                         test::CaseName);

} // namespace
} // namespace brakkon
