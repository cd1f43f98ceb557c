// The game's sound over recording players: the priority of the effects, the
// start when the window shows, and the music looped by the clock tick.
#include "game/GameFlow.h"
#include "tests/SoundSupport.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::SoundRig;
using Log = std::vector<std::string>;

constexpr std::int32_t Finish = -100; ///< in a sequence: the sounding effect comes to its end
constexpr std::int32_t Break = -101;  ///< in a sequence: "Ding.wav" cannot be opened from now on

/// The shipped files, beside the test programs.
const std::string AppPath = BRAKKON_BIN_DIR;

struct EffectCase {
    const char* name;
    std::vector<std::int32_t> steps; ///< effect indices, Finish or Break
    Log effectsLog;                  ///< what the effects player was told, after the window showed
    std::int32_t currentSound;
};

void PrintTo(const EffectCase& c, std::ostream* os) { *os << c.name; }

class EffectPriority : public ::testing::TestWithParam<EffectCase> {};

TEST_P(EffectPriority, FollowsTheTable)
{
    const EffectCase& c = GetParam();
    SoundRig rig;
    rig.Sound.StartSound(AppPath);
    rig.Effects->Log.clear();
    for (std::int32_t step : c.steps) {
        if (step == Finish) rig.Effects->FinishPlaying();
        else if (step == Break) rig.Effects->Broken.push_back("Ding.wav");
        else rig.Sound.PlayEffect(step);
    }
    EXPECT_EQ(rig.Effects->Log, c.effectsLog);
    EXPECT_EQ(rig.Sound.CurrentSound, c.currentSound);
}

const Log OpenGun = {"Close", "Open Gun.wav", "Play from start"};
const Log OpenExplode = {"Close", "Open Explode.wav", "Play from start"};

INSTANTIATE_TEST_SUITE_P(
    Sound, EffectPriority,
    ::testing::Values(
        EffectCase{"FirstEffectAlwaysPlays", {3}, OpenGun, 3},
        EffectCase{"ShotRestartsAShotStillSounding", {3, 3}, {"Close", "Open Gun.wav", "Play from start", "Stop", "Seek", "Play from start"}, 3},
        EffectCase{"ChimeDroppedDuringAnExplosion", {1, 2}, OpenExplode, 1},
        EffectCase{"ShotSilentDuringAnExplosion", {0, 3}, OpenExplode, 0},
        EffectCase{"ChimeAfterTheExplosionEnded", {1, Finish, 2}, {"Close", "Open Explode.wav", "Play from start", "Close", "Open Ding.wav", "Play from start"}, 2},
        EffectCase{"PlayerExplosionCutsAnEnemyExplosionAndReopens", {1, 0}, {"Close", "Open Explode.wav", "Play from start", "Close", "Open Explode.wav", "Play from start"}, 0},
        EffectCase{"NoFileForAnIndexOutsideTheTable", {7, -1}, {}, NoSoundYet},
        // A chime that cannot be opened leaves the player empty: the next shot
        // opens its file again instead of restarting a file that is gone.
        EffectCase{"BrokenChimeDoesNotSilenceTheNextShot", {3, Finish, Break, 2, 3}, {"Close", "Open Gun.wav", "Play from start", "Close", "Open Ding.wav failed", "Open Gun.wav", "Play from start"}, 3},
        EffectCase{"AfterABrokenChimeAnEnemyExplosionStillSounds", {0, Finish, Break, 2, 1}, {"Close", "Open Explode.wav", "Play from start", "Close", "Open Ding.wav failed", "Open Explode.wav", "Play from start"}, 1}),
    [](const ::testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

TEST(Sound, SoundOffSilencesEffectsButNotTheMusic)
{
    SoundRig rig;
    MainState state;
    rig.Sound.SoundOn = false;
    test::SoundHost host(rig.Sound);
    rig.Sound.StartSound(AppPath);
    rig.Effects->Log.clear();
    for (std::int32_t index = 0; index < 5; ++index) rig.Sound.PlayEffect(index);
    EXPECT_TRUE(rig.Effects->Log.empty());
    EXPECT_EQ(rig.Sound.CurrentSound, NoSoundYet);

    rig.Music->FinishPlaying();
    ClockTimerTick(state, host);
    EXPECT_EQ(rig.Music->Log, (Log{"Open Music.mid", "Play from start", "Play from start"}));
}

TEST(Sound, AMissingEffectFileIsSkippedQuietly)
{
    SoundRig rig;
    test::ErrorRecorder errors;
    rig.Sound.StartSound(AppPath + "/no-such-folder");
    rig.Sound.PlayEffect(3);
    EXPECT_TRUE(rig.Effects->Log.empty());
    EXPECT_EQ(rig.Sound.CurrentSound, NoSoundYet);
    EXPECT_TRUE(errors.messages.empty());
}

struct StartCase {
    const char* name;
    std::string appPath;
    std::vector<std::string> broken;
    Log effectsLog;
    Log musicLog;
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
    EXPECT_EQ(rig.Effects->Log, c.effectsLog);
    EXPECT_EQ(rig.Music->Log, c.musicLog);
    ASSERT_EQ(errors.messages.size(), c.errors);
    for (const std::string& message : errors.messages) EXPECT_EQ(message.rfind("Cannot open \"", 0), 0u) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Sound, SoundStart,
    ::testing::Values(
        StartCase{"AllThere", AppPath, {}, {"Open Explode.wav"}, {"Open Music.mid", "Play from start"}, 0},
        StartCase{"BrokenEffectStopsTheStartBeforeTheMusic", AppPath, {"Explode.wav"}, {"Open Explode.wav failed"}, {}, 1},
        StartCase{"BrokenMusicIsReported", AppPath, {"Music.mid"}, {"Open Explode.wav"}, {"Open Music.mid failed"}, 1},
        StartCase{"MissingFilesAreNoError", AppPath + "/no-such-folder", {}, {}, {}, 0}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace brakkon
