// The mixer's MIDI synthesiser made by the game's constructor: the music
// opened through the game's own players gets a synthesiser with the lean
// polyphony (read back from it) and sounds; with the lean settings off it
// has the library's default. The real constructor is looked up only in libraries
// already loaded; without it there is no synthesiser, and a library without
// the settings' call still gets its plain synthesiser. Real SDL2_mixer on the
// dummy driver, loaded as the game loads it (this program links neither).
// The music's synthesiser reads the sound font cut to the music's programs;
// with the cut off, with nothing announced or without the loader's calls
// it reads the whole font.
#include "content/SoundFont.h"
#include "platform/FontLoader.h"
#include "platform/MediaSdl.h"
#include "platform/MixerSynth.h"
#include "platform/SdlLibrary.h"

#include "tests/MixCapture.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace brakkon {
namespace {

const std::string BinDir = BRAKKON_BIN_DIR;
constexpr const char* MixerFile = "libSDL2_mixer-2.0.so.0";
constexpr int DefaultPolyphony = 256;

using test::CaptureMix;
using test::MixedPeak;
using test::SoundsSoon;

/// A call of the mixer or the synthesiser, from the copy the game loaded.
template <typename Call>
Call Loaded(const char* name)
{
    void* library = ::dlopen(MixerFile, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    void* found = library != nullptr ? ::dlsym(library, name) : nullptr;
    if (library != nullptr) ::dlclose(library);
    return reinterpret_cast<Call>(found);
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

/// The sound font the game gives the mixer; empty when the machine has none.
std::string GameSoundFont()
{
    return FindSoundFont([](const char* name) { return std::getenv(name); });
}

/// Presets in the first sound font `synth` loaded, counted through the library.
int LoadedPresets(FluidSynth* synth)
{
    struct Font;
    struct Preset;
    const auto getFont = Loaded<Font* (*)(FluidSynth*, unsigned)>("fluid_synth_get_sfont");
    const auto start = Loaded<void (*)(Font*)>("fluid_sfont_iteration_start");
    const auto next = Loaded<Preset* (*)(Font*)>("fluid_sfont_iteration_next");
    if (getFont == nullptr || start == nullptr || next == nullptr || synth == nullptr) return -1;
    Font* font = getFont(synth, 0);
    if (font == nullptr) return -1;
    int presets = 0;
    start(font);
    while (next(font) != nullptr) ++presets;
    return presets;
}

/// Presets in the whole font, read from its file.
int WholeFontPresets(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const SoundFontRead read = ReadSoundFont(bytes);
    return read ? static_cast<int>(read.Font.Presets.size()) - 1 : -1;
}

constexpr int MusicPresets = 5; ///< lead, brass, bass, the piano and the drum kit

struct CutCase {
    const char* name;
    bool cut;
    bool served;
};

class MusicFont : public ::testing::TestWithParam<CutCase> {
protected:
    void TearDown() override { SetCutSoundFont(true); }
};

TEST_P(MusicFont, LoadedWithTheMusicsPresetsOnly)
{
    const std::string font = GameSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General-MIDI sound font installed (scripts/deps installs timgm6mb-soundfont)";
    SetCutSoundFont(GetParam().cut);
    const std::shared_ptr<SdlAudio> audio = SdlAudio::Open();
    ASSERT_TRUE(audio->Available());
    const int served = LastFontServed().Count;
    const std::unique_ptr<MediaPlayer> music = MakeSdlMediaPlayer(audio);
    ASSERT_TRUE(music->Open(BinDir + "/Music.mid"));
    const int presets = LoadedPresets(LastSynthMade().Synth);
    EXPECT_EQ(LastFontServed().Count, served + (GetParam().served ? 1 : 0));
    if (GetParam().served) {
        EXPECT_EQ(presets, MusicPresets);
        EXPECT_EQ(LastFontServed().Presets, MusicPresets);
    } else {
        EXPECT_EQ(presets, WholeFontPresets(font));
        EXPECT_GT(presets, 100);
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, MusicFont,
                         ::testing::Values(CutCase{"Cut", true, true}, CutCase{"Whole", false, false}),
                         test::CaseName);

struct LoaderCase {
    const char* name;
    std::optional<MidiProgramSet> announced;
    bool withLoaderCalls;
    int presets; ///< -1: the whole font's
};

class FontLoaderCalls : public ::testing::TestWithParam<LoaderCase> {};

// The synthesiser made and loaded here as the mixer does it.
TEST_P(FontLoaderCalls, CutOnlyWhenAnnouncedAndPossible)
{
    const std::string font = GameSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General-MIDI sound font installed (scripts/deps installs timgm6mb-soundfont)";
    ASSERT_NE(Mixer(), nullptr);
    const auto newSettings = Loaded<FluidSettings* (*)()>("new_fluid_settings");
    const auto deleteSettings = Loaded<void (*)(FluidSettings*)>("delete_fluid_settings");
    const auto deleteSynth = Loaded<void (*)(FluidSynth*)>("delete_fluid_synth");
    const auto load = Loaded<int (*)(FluidSynth*, const char*, int)>("fluid_synth_sfload");
    ASSERT_TRUE(newSettings != nullptr && deleteSettings != nullptr && deleteSynth != nullptr && load != nullptr);
    SynthCalls calls = MixerSynthCalls();
    if (!GetParam().withLoaderCalls) calls.AddLoader = nullptr;

    FluidSettings* settings = newSettings();
    FluidSynth* synth = MakeSynth(settings, calls, true);
    ASSERT_NE(synth, nullptr);
    EXPECT_EQ(AddFontLoader(synth, settings, calls), GetParam().withLoaderCalls);
    {
        const MusicAnnounced announced(GetParam().announced);
        EXPECT_GE(load(synth, font.c_str(), 1), 0);
    }
    const int expected = GetParam().presets < 0 ? WholeFontPresets(font) : GetParam().presets;
    EXPECT_EQ(LoadedPresets(synth), expected);
    deleteSynth(synth);
    deleteSettings(settings);
}

INSTANTIATE_TEST_SUITE_P(
    Loader, FontLoaderCalls,
    ::testing::Values(LoaderCase{"MusicAnnounced", MidiProgramSet().set(80), true, 3}, // the lead, the piano, the drum kit
                      LoaderCase{"NoProgramsButTheReset", MidiProgramSet(), true, 2},     // the piano and the drum kit
                      LoaderCase{"NothingAnnounced", std::nullopt, true, -1},
                      LoaderCase{"NoLoaderCalls", MidiProgramSet().set(80), false, -1}),
    test::CaseName);

} // namespace
} // namespace brakkon
