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

/// A game saved with step 1: offsets that are not multiples of 4, tanks
/// and shells next to the field's edges, shells in flight.
GateType SavedStepOneGame()
{
    GateType gate = std::move(*test::GateFromMap(test::OpenMap, 1, 1, 0, 0, 4, -1));
    gate.GateNo = 3;
    gate.PlayTime = 500;
    gate.EnemiesLeft = 2;
    CellType& base = *gate.Cells[BaseCol][BaseRow];
    base.Block = BlockWall;
    base.WallImage = TileBase;
    auto add = [&](std::uint8_t kind, std::int32_t col, std::int32_t row, std::int32_t dir, std::int32_t dx,
                   std::int32_t dy) -> SpriteType& {
        SpriteType s = test::SpriteAt(kind, col, row, static_cast<std::int32_t>(gate.Sprites.size()));
        s.Direction = dir;
        s.OffsetX = dx;
        s.OffsetY = dy;
        s.Left += dx;
        s.Right += dx;
        s.Top += dy;
        s.Bottom += dy;
        gate.Sprites.push_back(std::make_unique<SpriteType>(s));
        return *gate.Sprites.back();
    };
    add(KindPlayer1, 17, 5, DirRight, 31, 0).ImageGroup = GroupPlayer1;
    SpriteType& p2 = add(KindPlayer2, 7, 12, DirDown, 0, 30);
    p2.ImageGroup = GroupPlayer2 + 1;
    p2.Level = 1;
    for (auto [col, dx] : {std::pair{0, 3}, std::pair{15, 1}}) {
        SpriteType& e = add(KindEnemy, col, 1, DirLeft, dx, 0);
        e.ImageGroup = GroupEnemyZJC;
        e.ReverseChance = 50;
        e.TurnChance = 3000;
        e.BackChance = 2000;
        e.FireChance = 500;
    }
    add(KindEnemyShell, 3, 0, DirUp, 0, 2).ImageGroup = GroupShell;
    add(KindPlayerShell, 17, 9, DirRight, 26, 0).ImageGroup = GroupShell;
    add(KindEnemyShell, 12, 12, DirDown, 0, 30).ImageGroup = GroupShell;
    return gate;
}

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
        ASSERT_TRUE(SaveGameFile(dir_ / "step1.gam", SavedStepOneGame()));
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
