// brakkon-data: info and resave, run as the user runs them.
#include "game/FileIo.h"
#include "game/GameData.h"
#include "content/Json.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"
#include "tests/TestSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

class DataToolTest : public ::testing::Test {
protected:
    test::ToolRun Data(const std::vector<std::string>& args) { return RunTool(BRAKKON_DATA_TOOL, args); }
    fs::path Path(const char* name) const { return dir_ / name; }


    fs::path WriteDataFile()
    {
        GameType game;
        game.Gates.push_back(test::MakeGate(3, 3, 5, 2, 20, 1));
        game.Gates.push_back(test::MakeGate(0, 1, 0, 0, 1, -1));
        game.Gates[1]->Cells[2][3]->Bonus = BonusShield;
        const auto path = Path("Game.dat");
        EXPECT_TRUE(SaveGameDataFile(path, game));
        return path;
    }

    fs::path WriteSavedGame()
    {
        auto gate = test::MakeGate(1, 0, 0, 0, 2, 3);
        gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 11, 13, 0)));
        gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer2, 7, 13, 1)));
        gate->Sprites[0]->Shield = 2;
        const auto path = Path("scene.gam");
        EXPECT_TRUE(SaveGameFile(path, *gate));
        return path;
    }

private:
    const test::TempFolder dir_{"brakkon-tool"};
};

TEST_F(DataToolTest, InfoJsonBriefListsSizesGatesAndImages)
{
    const auto run = Data({"info", WriteDataFile(), "--json", "--brief"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::string columns = "[";
    for (int c = 0; c < 19; ++c) columns += (c ? ",14" : "14");
    columns += "]";
    EXPECT_EQ(run.Out, "{\"kind\":\"gamedata\",\"Cols\":19,\"Rows\":14,\"CellWidth\":32,\"CellHeight\":32,\"Gates\":["
                       "{\"GateNo\":1,\"PlayTime\":0,\"Lives1\":1,\"Lives2\":1,\"EnemiesLeft\":0,\"Tank\":5,"
                       "\"LargeTank\":2,\"ZJC\":3,\"KC\":3,\"Total\":20,\"NextGate\":1,\"Sprites\":0,\"Cells\":" +
                           columns +
                           "},"
                           "{\"GateNo\":1,\"PlayTime\":0,\"Lives1\":1,\"Lives2\":1,\"EnemiesLeft\":0,\"Tank\":0,"
                           "\"LargeTank\":0,\"ZJC\":1,\"KC\":0,\"Total\":1,\"NextGate\":-1,\"Sprites\":0,\"Cells\":" +
                           columns + "}],\"Images\":[]}\n");
}

TEST_F(DataToolTest, InfoJsonOfASavedGameNamesEverySpriteAndCellField)
{
    const auto run = Data({"info", WriteSavedGame(), "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("{\"kind\":\"savedgame\",\"Gate\":{\"GateNo\":1,", 0), 0u);
    EXPECT_NE(run.Out.find("\"Sprites\":[{\"Index\":0,\"Kind\":0,\"ImageGroup\":0,\"Direction\":0,\"Frame\":0,"
                           "\"Level\":0,\"ReverseChance\":0,\"TurnChance\":0,\"BackChance\":0,\"FireChance\":0,"
                           "\"StepPeriod\":1,\"StepCount\":0,\"Active\":1,\"Shield\":2,\"Col\":11,\"Row\":13,"
                           "\"Left\":352,\"Top\":416,\"Right\":383,\"Bottom\":447,\"OffsetX\":0,\"OffsetY\":0,"
                           "\"Armour\":0,\"Dirty\":0},{\"Index\":1,\"Kind\":1,"),
              std::string::npos);
    EXPECT_NE(run.Out.find("\"Cells\":[[{\"Bonus\":0,\"TopImage\":-1,\"Block\":0,\"WallImage\":-1,\"Hardness\":0,"
                           "\"GroundImage\":13,\"Left\":0,\"Top\":0,\"Right\":31,\"Bottom\":31,\"Dirty\":1},"
                           "{\"Bonus\":0,\"TopImage\":-1,\"Block\":0,\"WallImage\":-1,\"Hardness\":0,"
                           "\"GroundImage\":13,\"Left\":0,\"Top\":32,"),
              std::string::npos);
    EXPECT_EQ(run.Out.substr(run.Out.size() - 6), "}]]}}\n");
}

TEST_F(DataToolTest, ResaveGivesBackTheSameBytes)
{
    for (const auto& in : {WriteDataFile(), WriteSavedGame()}) {
        SCOPED_TRACE(in.filename().string());
        const auto out = Path("copy");
        const auto run = Data({"resave", in, out});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(in));
    }
}

// Failures print the game's one message, the file and why, and nothing on stdout.
struct FailureCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* message;
    const char* why;
};

TEST_F(DataToolTest, FailuresPrintTheGamesOneMessage)
{
    const std::vector<FailureCase> cases = {
        {"not a game file", {'h', 'e', 'l', 'l', 'o', '!', '!', '!'}, "File format error",
         "is neither a data file nor a saved game of this game"},
        {"too short for a magic", {0xB9, 0x78}, "Data IO Error", "ends early"},
        {"newer data file", {0xB9, 0x78, 0, 0, 2, 0, 0, 0}, "File version error",
         "is of version 2; this game reads version 1"},
        {"saved game cut short", {0xBA, 0x78, 0, 0, 1, 0, 0, 0, 1}, "Data IO Error", "ends early"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = Path("bad");
        ASSERT_TRUE(WriteFileAtomically(path, c.bytes));
        for (const auto& args : std::vector<std::vector<std::string>>{{"info", path}, {"info", path, "--json"},
                                                                      {"resave", path, Path("out")}}) {
            const auto run = Data(args);
            EXPECT_EQ(run.ExitCode, 1);
            EXPECT_EQ(run.Err, std::string(c.message) + ": " + path.string() + ": " + c.why + "\n");
            EXPECT_EQ(run.Out, "");
        }
        EXPECT_FALSE(fs::exists(Path("out")));
    }
    const auto missing = Data({"info", Path("missing")});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err, "Data IO Error: " + Path("missing").string() + ": cannot be opened: there is no such file or folder\n");
}

TEST_F(DataToolTest, WrongArgumentsAreAUsageError)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"info"}, {"info", "a", "b"}, {"info", "a", "--brief"}, {"resave", "a"},
             {"draw", "d", "n", "o.png", "--size"}, {"draw", "d", "n", "o.png", "--size", "0"},
             {"draw", "d", "n", "o.bmp", "--size", "16"}}) {
        const auto run = Data(args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_NE(run.Err.find("usage"), std::string::npos);
    }
}

TEST(JsonWriter, QuotesAndSeparatesAsJsonRequires)
{
    JsonWriter j;
    j.BeginObject().Key("a\"b").String("line\nnext\\ \x01").Key("list").BeginArray();
    j.Int(-1).Bool(true).Null().BeginObject().EndObject().BeginArray().EndArray();
    j.EndArray().Member("n", 2147483648LL).EndObject();
    EXPECT_EQ(j.Text(), "{\"a\\\"b\":\"line\\nnext\\\\ \\u0001\",\"list\":[-1,true,null,{},[]],\"n\":2147483648}");
}

} // namespace
} // namespace brakkon
