// The game's sound over recording players: the priority of the effects, the
// start when the window shows, and the music looped by the clock tick.
#include "game/GameFlow.h"
#include "tests/SoundSupport.h"
#include "tests/TempFolder.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::SoundRig;
using Heard = std::vector<std::string>;

/// A step of a case: an effect asked for, or something that befalls the player.
struct Step {
    enum What { Play, Finish, Break } what = Play;
    SoundEffect effect = SoundEffect::Explode;
    Step(SoundEffect e) : effect(e) {}
    Step(What w) : what(w) {}
};
constexpr Step::What Finish = Step::Finish; ///< the sounding effect comes to its end
constexpr Step::What Break = Step::Break;   ///< "Ding.wav" cannot be opened from now on

constexpr SoundEffect Explode = SoundEffect::Explode;
constexpr SoundEffect Enemy = SoundEffect::EnemyDestroyed;
constexpr SoundEffect Bonus = SoundEffect::Bonus;
constexpr SoundEffect Gun = SoundEffect::Gun;
constexpr SoundEffect Move = SoundEffect::Move;

/// What each effect asked for makes heard: its file from the start, or
/// Dropped when it stays silent.
const std::string Dropped = "-";

/// The shipped files, beside the test programs.
const std::string AppPath = BRAKKON_BIN_DIR;

struct EffectCase {
    const char* name;
    std::vector<Step> steps;
    Heard heard;          ///< per effect asked for, in order
    std::string sounding; ///< the file sounding at the end; empty for silence
};

void PrintTo(const EffectCase& c, std::ostream* os) { *os << c.name; }

class EffectPriority : public ::testing::TestWithParam<EffectCase> {};

TEST_P(EffectPriority, FollowsTheTable)
{
    const EffectCase& c = GetParam();
    SoundRig rig;
    rig.Sound.StartSound(AppPath);
    Heard heard;
    for (const Step& step : c.steps) {
        if (step.what == Finish) {
            rig.Effects->FinishPlaying();
        } else if (step.what == Break) {
            rig.Effects->Broken.push_back("Ding.wav");
        } else {
            rig.Effects->Heard.clear();
            rig.Sound.PlayEffect(step.effect);
            ASSERT_LE(rig.Effects->Heard.size(), 1u);
            heard.push_back(rig.Effects->Heard.empty() ? Dropped : rig.Effects->Heard[0]);
        }
    }
    EXPECT_EQ(heard, c.heard);
    EXPECT_EQ(rig.Effects->Playing() ? rig.Effects->OpenFile() : "", c.sounding);
}

const std::string GunHeard = "Gun.wav from the start";
const std::string ExplodeHeard = "Explode.wav from the start";
const std::string DingHeard = "Ding.wav from the start";

INSTANTIATE_TEST_SUITE_P(
    Sound, EffectPriority,
    ::testing::Values(
        EffectCase{"FirstEffectAlwaysPlays", {Move}, {"Move.wav from the start"}, "Move.wav"},
        EffectCase{"ShotRestartsAShotStillSounding", {Gun, Gun}, {GunHeard, GunHeard}, "Gun.wav"},
        EffectCase{"ChimeDroppedDuringAnExplosion", {Enemy, Bonus}, {ExplodeHeard, Dropped}, "Explode.wav"},
        EffectCase{"ShotSilentDuringAnExplosion", {Explode, Gun}, {ExplodeHeard, Dropped}, "Explode.wav"},
        EffectCase{"ChimeAfterTheExplosionEnded", {Enemy, Finish, Bonus}, {ExplodeHeard, DingHeard}, "Ding.wav"},
        EffectCase{"ShotSilentDuringAChime", {Bonus, Gun}, {DingHeard, Dropped}, "Ding.wav"},
        EffectCase{"ChimeCutsAShot", {Gun, Bonus}, {GunHeard, DingHeard}, "Ding.wav"},
        EffectCase{"PlayerExplosionCutsAnEnemyExplosion", {Enemy, Explode}, {ExplodeHeard, ExplodeHeard}, "Explode.wav"},
        EffectCase{"EnemyExplosionSilentDuringAPlayers", {Explode, Enemy}, {ExplodeHeard, Dropped}, "Explode.wav"},
        // The last effect is remembered after it ended: a lesser one may follow.
        EffectCase{"AnyEffectAfterTheLastEnded", {Explode, Finish, Move}, {ExplodeHeard, "Move.wav from the start"}, "Move.wav"},
        // A chime that cannot be opened leaves the player empty: the next shot
        // opens its file again instead of restarting a file that is gone.
        EffectCase{"BrokenChimeDoesNotSilenceTheNextShot", {Gun, Finish, Break, Bonus, Gun}, {GunHeard, Dropped, GunHeard}, "Gun.wav"},
        EffectCase{"AfterABrokenChimeAnEnemyExplosionStillSounds", {Explode, Finish, Break, Bonus, Enemy}, {ExplodeHeard, Dropped, ExplodeHeard}, "Explode.wav"}),
    [](const ::testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

TEST(Sound, SoundOffSilencesEffectsButNotTheMusic)
{
    SoundRig rig;
    MainState state;
    rig.Sound.SoundOn = false;
    test::SoundHost host(rig.Sound);
    rig.Sound.StartSound(AppPath);
    for (const SoundEffect effect : {Explode, Enemy, Bonus, Gun, Move}) rig.Sound.PlayEffect(effect);
    EXPECT_TRUE(rig.Effects->Heard.empty());
    EXPECT_EQ(rig.Sound.CurrentSound, NoSoundYet);

    rig.Music->FinishPlaying();
    ClockTimerTick(state, host);
    EXPECT_EQ(rig.Music->Heard, (Heard{"Music.mid from the start", "Music.mid from the start"}));
}

TEST(Sound, AMissingEffectFileIsSkippedQuietly)
{
    SoundRig rig;
    test::ErrorRecorder errors;
    rig.Sound.StartSound(AppPath + "/no-such-folder");
    rig.Sound.PlayEffect(Gun);
    EXPECT_TRUE(rig.Effects->Heard.empty());
    EXPECT_EQ(rig.Sound.CurrentSound, NoSoundYet);
    EXPECT_TRUE(errors.messages.empty());
}

// The start reads every effect once; after it the effects' files may go:
// each effect asked for then is heard from the player's memory, and nothing
// is read again. A file missing at the start stays silent when it turns up.
struct MemoryCase {
    const char* name;
    std::vector<std::string> atStart; ///< the sound folder's files when the sound starts
    std::vector<std::string> later;   ///< the files put there after the start
    std::vector<SoundEffect> effects; ///< asked for after the start, each after the last ended
    Heard heard;
    std::vector<std::string> readAtStart;
};

void PrintTo(const MemoryCase& c, std::ostream* os) { *os << c.name; }

class EffectsFromMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(EffectsFromMemory, NoFileIsReadAfterTheStart)
{
    const MemoryCase& c = GetParam();
    test::TempFolder folder;
    const auto copy = [&](const std::vector<std::string>& names) {
        for (const std::string& name : names) std::filesystem::copy_file(AppPath + "/" + name, folder / name);
    };
    copy(c.atStart);
    SoundRig rig;
    rig.Sound.StartSound(folder.path.string());
    EXPECT_EQ(rig.Effects->FilesRead, c.readAtStart);
    rig.Effects->FilesRead.clear();
    for (const std::string& name : c.atStart) std::filesystem::remove(folder / name);
    copy(c.later);
    Heard heard;
    for (const SoundEffect effect : c.effects) {
        rig.Effects->Heard.clear();
        rig.Sound.PlayEffect(effect);
        heard.push_back(rig.Effects->Heard.empty() ? Dropped : rig.Effects->Heard[0]);
        rig.Effects->FinishPlaying();
    }
    EXPECT_EQ(heard, c.heard);
    EXPECT_TRUE(rig.Effects->FilesRead.empty()) << "read in a tick: " << rig.Effects->FilesRead[0];
}

const std::vector<std::string> AllEffects = {"Explode.wav", "Ding.wav", "Gun.wav", "Move.wav"};

INSTANTIATE_TEST_SUITE_P(
    Sound, EffectsFromMemory,
    ::testing::Values(
        MemoryCase{"EveryEffectAfterItsFileWent", AllEffects, {}, {Move, Gun, Bonus, Enemy, Explode, Gun},
                   {"Move.wav from the start", GunHeard, DingHeard, ExplodeHeard, ExplodeHeard, GunHeard}, AllEffects},
        MemoryCase{"AShotAgainAndAgain", AllEffects, {}, {Gun, Gun, Gun}, {GunHeard, GunHeard, GunHeard}, AllEffects},
        MemoryCase{"AFileMissingAtTheStartStaysSilent", {"Explode.wav", "Gun.wav"}, {"Ding.wav"}, {Bonus, Gun},
                   {Dropped, GunHeard}, {"Explode.wav", "Gun.wav"}}),
    [](const ::testing::TestParamInfo<MemoryCase>& info) { return std::string(info.param.name); });

struct StartCase {
    const char* name;
    std::string appPath;
    std::vector<std::string> broken;
    std::string effectsOpen; ///< the file the effects player holds, silent
    Heard music;
    std::size_t errors;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class SoundStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(SoundStart, OpensTheEffectsAndStartsTheMusic)
{
    const StartCase& c = GetParam();
    SoundRig rig;
    rig.Effects->Broken = c.broken;
    rig.Music->Broken = c.broken;
    test::ErrorRecorder errors;
    rig.Sound.StartSound(c.appPath);
    EXPECT_TRUE(rig.Effects->Heard.empty());
    EXPECT_EQ(rig.Effects->OpenFile(), c.effectsOpen);
    EXPECT_EQ(rig.Music->Heard, c.music);
    ASSERT_EQ(errors.messages.size(), c.errors);
    for (const std::string& message : errors.messages) EXPECT_EQ(message.rfind("Cannot open \"", 0), 0u) << message;
}

// Opened ahead, while the intro shows: nothing sounds and nothing is said
// until the start, which then does as above.
TEST_P(SoundStart, OpenedAheadSaysNothingUntilTheStart)
{
    const StartCase& c = GetParam();
    SoundRig rig;
    rig.Effects->Broken = c.broken;
    rig.Music->Broken = c.broken;
    test::ErrorRecorder errors;
    rig.Sound.OpenSound(c.appPath);
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_TRUE(rig.Music->Heard.empty());
    rig.Sound.StartSound(c.appPath);
    EXPECT_EQ(rig.Effects->OpenFile(), c.effectsOpen);
    EXPECT_EQ(rig.Music->Heard, c.music);
    EXPECT_EQ(errors.messages.size(), c.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Sound, SoundStart,
    ::testing::Values(
        StartCase{"AllThere", AppPath, {}, "Explode.wav", {"Music.mid from the start"}, 0},
        StartCase{"BrokenEffectStopsTheStartBeforeTheMusic", AppPath, {"Explode.wav"}, "", {}, 1},
        StartCase{"BrokenMusicIsReported", AppPath, {"Music.mid"}, "Explode.wav", {}, 1},
        StartCase{"MissingFilesAreNoError", AppPath + "/no-such-folder", {}, "", {}, 0}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace brakkon
