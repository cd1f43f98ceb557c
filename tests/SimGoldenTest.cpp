// Golden replays of brakkon-sim: key scripts over a data file built here,
// whose --json output must not change.
//
// The scripts and the expected output live in tests/golden/NAME.keys and
// NAME.json. After an intended change of the game's behaviour, regenerate
// them with
//     BRAKKON_UPDATE_GOLDEN=1 ctest -R SimGolden
// (or run sim_tests with that variable set) and review the diff.
#include "FileIo.h"
#include "RunTool.h"
#include "SavedGame.h"
#include "SimSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

struct GoldenCase {
    const char* name;
    std::vector<std::string> args; ///< besides --data, --keys and --json
    bool savedGame;                ///< --load the step-1 game
};

class SimGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    static void SetUpTestSuite()
    {
        std::string pattern = (fs::temp_directory_path() / "brakkon-golden-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        ASSERT_TRUE(test::WriteSimGameData(dir_ / "Game.dat"));
        ASSERT_TRUE(SaveGameFile(dir_ / "step1.gam", test::SavedStepOneGame()));
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    static fs::path dir_;
};

fs::path SimGolden::dir_;

std::string ReadText(const fs::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

TEST_P(SimGolden, OutputIsUnchanged)
{
    const GoldenCase& c = GetParam();
    const fs::path golden = fs::path(BRAKKON_GOLDEN_DIR) / c.name;
    std::vector<std::string> args = {"--data", (dir_ / "Game.dat").string(), "--keys", golden.string() + ".keys",
                                     "--json"};
    if (c.savedGame) args.insert(args.end(), {"--load", (dir_ / "step1.gam").string()});
    args.insert(args.end(), c.args.begin(), c.args.end());

    const auto run = RunTool(BRAKKON_SIM_TOOL, args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const fs::path expected = golden.string() + ".json";
    if (std::getenv("BRAKKON_UPDATE_GOLDEN") != nullptr) {
        const std::vector<std::uint8_t> bytes(run.Out.begin(), run.Out.end());
        ASSERT_TRUE(WriteFileAtomically(expected, bytes));
        GTEST_SKIP() << "rewrote " << expected;
    }
    const std::string want = ReadText(expected);
    ASSERT_FALSE(want.empty()) << "no golden output " << expected;
    EXPECT_TRUE(run.Out == want) << "the replay of " << c.name << " changed; see the test's comment to regenerate";
}

INSTANTIATE_TEST_SUITE_P(
    Replays, SimGolden,
    ::testing::Values(
        GoldenCase{"fort_one_player", {"--gate", "0", "--players", "1", "--seed", "3", "--ticks", "700"}, false},
        GoldenCase{"corridor_two_players", {"--gate", "1", "--players", "2", "--ticks", "2000"}, false},
        GoldenCase{"pause_two_players",
                   {"--gate", "0", "--players", "2", "--seed", "11", "--ticks", "400", "--interval", "40"},
                   false},
        GoldenCase{"saved_game_step4", {"--step", "4", "--seed", "5", "--ticks", "300"}, true}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace brakkon
