// Soak: random key scripts over every gate of a data file, with the
// movement step changed now and then, checking after every game tick that
// every sprite keeps the position rules of the field.
//
//   soak_tests [--ticks N] [--seed N] [--data FILE]   (gtest flags too)
//
// Without --data it plays a data file of its own making; with it, the gates
// of that file (the shipped "Game.dat", say).
// CTest runs a short soak; run a long one by hand, best in the sanitizer
// build:  build-san/bin/soak_tests --ticks 1000000
#include "game/GameData.h"
#include "game/GameFlow.h"
#include "game/Keyboard.h"
#include "game/SavedGame.h"
#include "tests/SimSupport.h"
#include "sim/Simulation.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

std::int64_t SoakTicks = 20000;
std::uint64_t SoakSeed = 1;
fs::path SoakData; ///< empty: the test's own data file

/// What must hold after every game tick; empty when it holds.
std::string BrokenRule(const MainState& state)
{
    const GateType& gate = *state.Game.Gate;
    const SpriteList& sprites = gate.Sprites;
    std::ostringstream why;
    if (sprites.size() < 2 || sprites[0]->Kind != KindPlayer1 || sprites[1]->Kind != KindPlayer2)
        return "entries 0 and 1 are not the two players";
    if (gate.Lives1 < 0 || gate.Lives1 > 3 || gate.Lives2 < 0 || gate.Lives2 > 3) return "lives outside 0..3";
    bool shellsBegun = false;
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const SpriteType& s = *sprites[i];
        why << "sprite " << i << " (kind " << int(s.Kind) << ", col " << s.Col << ", row " << s.Row << ", offsets "
            << s.OffsetX << "/" << s.OffsetY << "): ";
        const bool shell = s.Kind == KindPlayerShell || s.Kind == KindEnemyShell;
        if (!shell && shellsBegun) return why.str() + "a tank after the shells";
        shellsBegun = shellsBegun || shell;
        if (!SpriteInField(s)) return why.str() + "outside the field, or its rectangle disagrees with its cell";
        if (shell && !s.Active) return why.str() + "a spent shell left in the list";
        if (!shell && s.Index != static_cast<std::int32_t>(i)) return why.str() + "a tank renumbered";
        if (!shell && s.OffsetX != 0 && s.OffsetY != 0) return why.str() + "a tank off the grid on both axes";
        if (i < 2 && s.Active) {
            const std::int32_t base = i == 0 ? GroupPlayer1 : GroupPlayer2;
            if (s.Level < 0 || s.Level > 2 || s.ImageGroup != base + s.Level)
                return why.str() + "a player's level or picture out of step";
        }
        why.str("");
    }
    return {};
}

/// The keys the players and the pause use, with how often each is pressed.
constexpr KeyCode PlayerKeys[] = {VkLeft,        VkRight,       VkUp,          VkDown,        VkSpace,
                                  VkControl,     VkLetter('F'), VkLetter('H'), VkLetter('T'), VkLetter('G'),
                                  VkLetter('A'), VkShift};

struct SoakStats {
    std::int64_t ticks = 0;
    std::int64_t games = 0;
    std::int64_t gateChanges = 0;
    std::int64_t gameOvers = 0;
    std::size_t mostSprites = 0;
};

/// One game from `start`, with random keys, step changes and focus losses,
/// for at most `slots` tick slots. False (with a failure reported) when a
/// rule broke.
bool SoakGame(const SimStart& start, std::int64_t slots, std::mt19937_64& rng, SoakStats& stats)
{
    Simulation sim;
    std::string error;
    if (!sim.Begin(start, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    ++stats.games;
    std::uniform_real_distribution<double> coin(0.0, 1.0);
    std::uniform_int_distribution<std::size_t> anyKey(0, std::size(PlayerKeys) - 1);
    constexpr std::int32_t steps[] = {1, 2, 4};
    std::int32_t gateNo = sim.State.Game.Gate->GateNo;
    std::size_t next = 0;
    const std::vector<KeyEvent> none;
    for (std::int64_t slot = 0; slot < slots; ++slot) {
        // Random input between ticks, as the window would deliver it.
        for (int k = 0; k < 2; ++k) {
            if (coin(rng) < 0.06) sim.Driver.Apply(Command::Press(PlayerKeys[anyKey(rng)]));
            if (coin(rng) < 0.05) PlayerKeyUp(sim.State, PlayerKeys[anyKey(rng)]);
        }
        if (coin(rng) < 0.002) sim.Driver.Apply(Command::Press(coin(rng) < 0.5 ? VkF1 : VkEscape));
        if (!sim.Host.TimersEnabled && coin(rng) < 0.05) sim.Driver.Apply(Command::Press(VkF1));
        if (coin(rng) < 0.0005) ReleaseMovementKeys(sim.State);
        if (coin(rng) < 0.0005) ApplyMoveStep(sim.State, sim.Host, steps[rng() % 3]);
        // As a game saved with another step and loaded would leave it: no snap.
        if (coin(rng) < 0.0003) sim.State.MoveStep = steps[rng() % 3];

        const std::int64_t before = sim.TicksRun;
        const bool wasOver = sim.State.GameOver;
        sim.RunSlot(slot, none, next);
        if (sim.TicksRun == before) continue;
        ++stats.ticks;
        stats.mostSprites = std::max(stats.mostSprites, sim.State.Game.Gate->Sprites.size());
        if (const std::string broken = BrokenRule(sim.State); !broken.empty()) {
            ADD_FAILURE() << "after tick " << slot << " of gate " << (start.Gate ? *start.Gate : -1) << ", step "
                          << sim.State.MoveStep << ": " << broken;
            return false;
        }
        if (sim.State.Game.Gate->GateNo != gateNo) {
            gateNo = sim.State.Game.Gate->GateNo;
            ++stats.gateChanges;
        }
        if (!wasOver && sim.State.GameOver) {
            ++stats.gameOvers;
            slots = std::min(slots, slot + 300); // the field runs on a little behind the menu
        }
    }
    return true;
}

TEST(Soak, EveryTickKeepsTheFieldsRules)
{
    const test::TempFolder dir("brakkon-soak");
    ASSERT_TRUE(SaveGameFile(dir / "step1.gam", test::SavedStepOneGame()));
    fs::path dataFile = SoakData;
    if (dataFile.empty()) {
        dataFile = dir / "Game.dat";
        ASSERT_TRUE(test::WriteSimGameData(dataFile));
    }
    GameType data;
    ASSERT_TRUE(LoadGameDataFile(dataFile, data)) << dataFile;
    const std::size_t gateCount = data.Gates.size();
    ASSERT_GT(gateCount, 0u);

    std::mt19937_64 rng(SoakSeed);
    SoakStats stats;
    for (std::uint64_t round = 0; stats.ticks < SoakTicks; ++round) {
        SimStart start;
        start.DataFile = dataFile;
        start.Seed = rng() % 65536;
        start.MoveStep = std::array{1, 2, 4}[rng() % 3];
        start.Interval = std::array{1, 16, 100}[rng() % 3];
        const std::uint64_t pick = round % (gateCount + 1);
        if (pick == gateCount) {
            start.Load = dir / "step1.gam";
        } else {
            start.Gate = static_cast<std::int32_t>(pick);
            start.Players = 1 + static_cast<std::int32_t>(rng() % 2);
        }
        if (!SoakGame(start, std::min<std::int64_t>(6000, SoakTicks - stats.ticks + 300), rng, stats)) break;
    }
    std::printf("soak: %lld ticks in %lld games, %lld gate changes, %lld games over, at most %zu sprites\n",
                static_cast<long long>(stats.ticks), static_cast<long long>(stats.games),
                static_cast<long long>(stats.gateChanges), static_cast<long long>(stats.gameOvers),
                stats.mostSprites);
    EXPECT_GE(stats.ticks, SoakTicks);
}

} // namespace
} // namespace brakkon

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view flag = argv[i];
        if (flag == "--ticks")
            brakkon::SoakTicks = std::atoll(argv[i + 1]);
        else if (flag == "--seed")
            brakkon::SoakSeed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (flag == "--data")
            brakkon::SoakData = argv[i + 1];
        else {
            std::fprintf(stderr, "usage: soak_tests [gtest flags] [--ticks N] [--seed N] [--data FILE]\n");
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
