// "Game.dat" and saved games: loading, refusing damage, and saving safely.
#include "game/Bmp.h"
#include "game/ByteStream.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "game/GateStream.h"
#include "game/SavedGame.h"
#include "tests/TestSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::ErrorRecorder;
using test::MakeGate;
using test::SpriteAt;

const std::vector<std::string> DataIo{"Data IO Error"};
const std::vector<std::string> Format{"File format error"};
const std::vector<std::string> Version{"File version error"};

using TempDir = test::TempFolder;

std::vector<std::uint8_t> Int32s(std::initializer_list<std::int32_t> values)
{
    ByteWriter w;
    for (auto v : values) w.WriteInt32(v);
    return w.TakeBytes();
}

GameType SmallGame()
{
    GameType game;
    game.Gates.push_back(MakeGate(1, 2, 0, 0, 5, 1));
    game.Gates.push_back(MakeGate(0, 0, 3, 1, 6, -1));
    game.Gates[1]->Cells[4][5]->Block = BlockWall;
    game.Gates[1]->Cells[4][5]->Hardness = 2;
    return game;
}

std::vector<std::uint8_t> Encoded(const GameType& game)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeGameDataFile(game, bytes));
    return bytes;
}

/// The working gate of a running game: the players and a shell in flight.
std::unique_ptr<GateType> PlayedGate()
{
    auto gate = MakeGate(3, 3, 5, 2, 20, 4);
    gate->GateNo = 3;
    gate->PlayTime = 125;
    gate->Lives1 = 2;
    gate->Lives2 = 0;
    gate->EnemiesLeft = 7;
    gate->Sprites.push_back(std::make_unique<SpriteType>(SpriteAt(KindPlayer1, 11, 13, 0)));
    gate->Sprites.push_back(std::make_unique<SpriteType>(SpriteAt(KindPlayer2, 7, 13, 1)));
    gate->Sprites[1]->Active = 0;
    auto shell = SpriteAt(KindPlayerShell, 11, 12, 2);
    shell.OffsetY = 16;
    shell.Top += 16;
    shell.Bottom += 16;
    gate->Sprites.push_back(std::make_unique<SpriteType>(shell));
    gate->Cells[9][12]->Block = BlockOpen;
    return gate;
}

std::vector<std::uint8_t> EncodedSave(const GateType& gate)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeSavedGame(gate, bytes));
    return bytes;
}

void ExpectSameGateBytes(const GateType& a, const GateType& b)
{
    ByteWriter wa, wb;
    ASSERT_TRUE(WriteGateTo(wa, &a));
    ASSERT_TRUE(WriteGateTo(wb, &b));
    EXPECT_EQ(wa.Bytes(), wb.Bytes());
}

TEST(GameDataFile, TheSmallestFileLoadsWithNoGatesAndNoImages)
{
    TempDir dir;
    const auto path = dir.path / "Game.dat";
    const auto bytes = Int32s({30905, 1, 19, 14, 32, 32, 0, 0});
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
    GameType game;
    game.Gates.push_back(MakeGate());
    ErrorRecorder errors;
    ASSERT_TRUE(LoadGameDataFile(path, game));
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_TRUE(game.Gates.empty());
    EXPECT_TRUE(game.Images.empty());
}

TEST(GameDataFile, SavedAndLoadedGatesAreEqual)
{
    TempDir dir;
    const auto path = dir.path / "Game.dat";
    const GameType original = SmallGame();
    ASSERT_TRUE(SaveGameDataFile(path, original));
    GameType loaded;
    ASSERT_TRUE(LoadGameDataFile(path, loaded));
    ASSERT_EQ(loaded.Gates.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) ExpectSameGateBytes(*original.Gates[i], *loaded.Gates[i]);
    EXPECT_EQ(Encoded(loaded), Encoded(original));
}

// Headers that each loader refuses, with the one message it must show.
struct HeaderCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::vector<std::string> dataFileMessage;
    std::vector<std::string> savedGameMessage;
};

TEST(FileHeaders, EachLoaderRefusesWhatIsNotItsOwn)
{
    const std::vector<HeaderCase> cases = {
        {"empty file", {}, DataIo, DataIo},
        {"three bytes", {0xB9, 0x78, 0x00}, DataIo, DataIo},
        {"saved game magic, short gate", Int32s({30906, 1, 19, 14, 32, 32, 0, 0}), Format, DataIo},
        {"data file magic", Int32s({30905, 1, 0, 0, 0, 0}), Format, Format},
        {"data file, version 2", Int32s({30905, 2, 19, 14, 32, 32, 0, 0}), Version, Format},
        {"saved game, version 0", Int32s({30906, 0}), Format, Version},
        {"magic only", Int32s({30905}), DataIo, Format},
        {"unknown magic", Int32s({1, 1}), Format, Format},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            GameType game = SmallGame();
            const auto before = Encoded(game);
            ErrorRecorder errors;
            EXPECT_FALSE(Reported(DecodeGameDataFile(c.bytes, &game)));
            EXPECT_EQ(errors.messages, c.dataFileMessage);
            EXPECT_EQ(Encoded(game), before);
        }
        {
            auto gate = PlayedGate();
            const auto before = EncodedSave(*gate);
            ErrorRecorder errors;
            EXPECT_FALSE(Reported(DecodeSavedGame(c.bytes, *gate)));
            EXPECT_EQ(errors.messages, c.savedGameMessage);
            EXPECT_EQ(EncodedSave(*gate), before);
        }
    }
}

// The valid gate encoded by the data file is spliced in; the damage is applied.
struct GameDataDamageCase {
    const char* name;
    std::function<void(GameType&)> damage;
};

TEST(GameDataFile, FieldSizesAndMapsTheEngineCannotPlayAreAFormatError)
{
    const std::vector<GameDataDamageCase> cases = {
        {"18 columns", [](GameType& g) { g.Cols = 18; }},
        {"15 rows", [](GameType& g) { g.Rows = 15; }},
        {"16-pixel cells", [](GameType& g) { g.CellWidth = 16; }},
        {"cells 33 high", [](GameType& g) { g.CellHeight = 33; }},
        {"a gate with 18 columns", [](GameType& g) { g.Gates[1]->Cells.pop_back(); }},
        {"a gate with 20 columns", [](GameType& g) { g.Gates[0]->Cells.emplace_back(); }},
        {"a column of 13 cells", [](GameType& g) { g.Gates[1]->Cells[18].pop_back(); }},
        {"a column with no cells", [](GameType& g) { g.Gates[0]->Cells[0].clear(); }},
        {"a gate with no map", [](GameType& g) { g.Gates[0]->Cells.clear(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GameType damaged = SmallGame();
        c.damage(damaged);
        const auto bytes = Encoded(damaged);

        GameType game;
        game.Gates.push_back(MakeGate(4, 4, 4, 4, 16, 0));
        const auto before = Encoded(game);
        ErrorRecorder errors;
        EXPECT_FALSE(Reported(DecodeGameDataFile(bytes, &game)));
        EXPECT_EQ(errors.messages, Format);
        EXPECT_EQ(Encoded(game), before);
    }
}

TEST(GameDataFile, EveryTruncationGivesOneMessageAndChangesNothing)
{
    GameType small;
    small.Gates.push_back(MakeGate(1, 2, 0, 0, 5, -1));
    small.Images.resize(2);
    small.Images[1].resize(1);
    small.Images[1][0].push_back(MakeBitmap(3, 2, {0xFFFF00FF, 0xFF000000, 0xFFFFFFFF, 0xFF808000, 0xFFFF00FF, 0xFFFF0000}, true));
    const auto bytes = Encoded(small);
    GameType game;
    game.Gates.push_back(MakeGate(4, 4, 4, 4, 16, 0));
    const auto before = Encoded(game);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        ErrorRecorder errors;
        ASSERT_FALSE(Reported(DecodeGameDataFile(std::span(bytes.data(), cut), &game))) << cut;
        ASSERT_EQ(errors.messages.size(), 1u) << cut;
        ASSERT_EQ(Encoded(game), before) << cut;
    }
}

TEST(GameDataFile, AHugeCountIsRefusedWithoutExhaustingMemory)
{
    // Gate and group counts near 2^31 with nothing behind them.
    for (const auto& bytes : {Int32s({30905, 1, 19, 14, 32, 32, 0x7FFFFFFF}),
                              Int32s({30905, 1, 19, 14, 32, 32, 0, 0x7FFFFFFF}),
                              Int32s({30905, 1, 19, 14, 32, 32, 0, 1, 0x7FFFFFFF}),
                              Int32s({30905, 1, 19, 14, 32, 32, 0, 1, 1, 0x7FFFFFFF}),
                              Int32s({30905, 1, 19, 14, 32, 32, -5})}) {
        GameType game;
        ErrorRecorder errors;
        EXPECT_FALSE(Reported(DecodeGameDataFile(bytes, &game)));
        EXPECT_EQ(errors.messages, DataIo);
    }
}

TEST(SavedGameFile, SaveThenLoadGivesBackEveryFieldSpriteAndCell)
{
    TempDir dir;
    const auto path = dir.path / "game.gam.1";
    const auto original = PlayedGate();
    ASSERT_TRUE(SaveGameFile(path, *original));
    GateType working;
    ASSERT_TRUE(LoadGameFile(path, working));
    ExpectSameGateBytes(*original, working);
    EXPECT_EQ(working.Sprites.size(), 3u);
    EXPECT_EQ(working.Sprites[1]->Active, 0);
}

TEST(SavedGameFile, ALoadReplacesTheGameInProgress)
{
    TempDir dir;
    const auto path = dir.path / "other.gam";
    auto saved = PlayedGate();
    saved->GateNo = 9;
    ASSERT_TRUE(SaveGameFile(path, *saved));
    auto working = PlayedGate();
    for (int i = 0; i < 5; ++i) working->Sprites.push_back(std::make_unique<SpriteType>(SpriteAt(KindEnemy, 0, 0, 3 + i)));
    ASSERT_TRUE(LoadGameFile(path, *working));
    ExpectSameGateBytes(*saved, *working);
}

// A saved game's sprites are indexed by the engine directly; these would
// send it outside its lists.
struct SavedDamageCase {
    const char* name;
    std::function<void(GateType&)> damage;
};

void Shift(SpriteType& s, std::int32_t dx, std::int32_t dy)
{
    s.Left += dx;
    s.Right += dx;
    s.Top += dy;
    s.Bottom += dy;
}

TEST(SavedGameFile, GatesTheEngineCannotPlayAreAFormatError)
{
    const std::vector<SavedDamageCase> cases = {
        {"one sprite", [](GateType& g) { g.Sprites.resize(1); }},
        {"no sprites", [](GateType& g) { g.Sprites.clear(); }},
        {"entry 0 is player 2", [](GateType& g) { g.Sprites[0]->Kind = KindPlayer2; }},
        {"entry 1 is an enemy", [](GateType& g) { g.Sprites[1]->Kind = KindEnemy; }},
        {"negative Index", [](GateType& g) { g.Sprites[2]->Index = -1; }},
        {"Col -1", [](GateType& g) { g.Sprites[2]->Col = -1; Shift(*g.Sprites[2], -11 * 32 - 32, 0); }},
        {"Col 19", [](GateType& g) { g.Sprites[0]->Col = 19; Shift(*g.Sprites[0], 8 * 32, 0); }},
        {"Row 14", [](GateType& g) { g.Sprites[0]->Row = 14; Shift(*g.Sprites[0], 0, 32); }},
        {"OffsetX 32", [](GateType& g) { g.Sprites[2]->OffsetX = 32; Shift(*g.Sprites[2], 32, 0); }},
        {"OffsetY -2", [](GateType& g) { g.Sprites[2]->OffsetY = -2; Shift(*g.Sprites[2], 0, -18); }},
        {"sticking out of the last column",
         [](GateType& g) { *g.Sprites[2] = SpriteAt(KindEnemyShell, 18, 3, 2); g.Sprites[2]->OffsetX = 4; Shift(*g.Sprites[2], 4, 0); }},
        {"sticking out of the bottom row", [](GateType& g) { g.Sprites[0]->OffsetY = 2; Shift(*g.Sprites[0], 0, 2); }},
        {"rectangle not at its cell", [](GateType& g) { Shift(*g.Sprites[2], -40, 0); }},
        {"rectangle not one cell", [](GateType& g) { g.Sprites[0]->Right += 1; }},
        {"18 columns", [](GateType& g) { g.Cells.pop_back(); }},
        {"a short column", [](GateType& g) { g.Cells[3].pop_back(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto damaged = PlayedGate();
        c.damage(*damaged);
        const auto bytes = EncodedSave(*damaged);
        auto working = PlayedGate();
        working->GateNo = 77;
        const auto before = EncodedSave(*working);
        ErrorRecorder errors;
        EXPECT_FALSE(Reported(DecodeSavedGame(bytes, *working)));
        EXPECT_EQ(errors.messages, Format);
        EXPECT_EQ(EncodedSave(*working), before);
    }
}

TEST(SavedGameFile, EveryTruncationGivesOneMessageAndLeavesTheWorkingGate)
{
    const auto bytes = EncodedSave(*PlayedGate());
    auto working = MakeGate(1, 1, 1, 1, 4, 0);
    working->Sprites.push_back(std::make_unique<SpriteType>(SpriteAt(KindPlayer1, 11, 13, 0)));
    working->Sprites.push_back(std::make_unique<SpriteType>(SpriteAt(KindPlayer2, 7, 13, 1)));
    const auto before = EncodedSave(*working);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        ErrorRecorder errors;
        ASSERT_FALSE(Reported(DecodeSavedGame(std::span(bytes.data(), cut), *working))) << cut;
        ASSERT_EQ(errors.messages.size(), 1u) << cut;
        ASSERT_EQ(EncodedSave(*working), before) << cut;
    }
}

TEST(SafeSaving, AMissingFileOrDirectoryIsADataIoError)
{
    TempDir dir;
    GameType game;
    {
        ErrorRecorder errors;
        EXPECT_FALSE(LoadGameDataFile(dir.path / "none.dat", game));
        EXPECT_FALSE(LoadGameDataFile(dir.path, game)); // a directory is not a file
        EXPECT_FALSE(LoadGameFile(dir.path / "none.gam", *game.Gate));
        EXPECT_EQ(errors.messages, std::vector<std::string>(3, "Data IO Error"));
    }
    {
        ErrorRecorder errors;
        EXPECT_FALSE(SaveGameDataFile(dir.path / "no-such-dir" / "Game.dat", SmallGame()));
        EXPECT_FALSE(SaveGameFile(dir.path / "no-such-dir" / "x.gam", *PlayedGate()));
        EXPECT_EQ(errors.messages, std::vector<std::string>(2, "Data IO Error"));
    }
    EXPECT_TRUE(fs::is_empty(dir.path));
}

// Runs `save` with the process's file size limit below what it must write,
// so the write fails part way (as on a full disk).
bool SaveWithFileSizeLimit(rlim_t limit, const std::function<bool()>& save)
{
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = limit;
    auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = save();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousSignal);
    return ok;
}

TEST(SafeSaving, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile)
{
    TempDir dir;
    const auto dataPath = dir.path / "Game.dat";
    const auto savePath = dir.path / "mine.gam";
    ASSERT_TRUE(SaveGameDataFile(dataPath, SmallGame()));
    ASSERT_TRUE(SaveGameFile(savePath, *PlayedGate()));
    const auto dataBefore = ReadFileBytes(dataPath);
    const auto saveBefore = ReadFileBytes(savePath);

    GameType bigger = SmallGame();
    for (int i = 0; i < 10; ++i) bigger.Gates.push_back(MakeGate());
    ErrorRecorder errors;
    EXPECT_FALSE(SaveWithFileSizeLimit(1000, [&] { return SaveGameDataFile(dataPath, bigger); }));
    EXPECT_FALSE(SaveWithFileSizeLimit(1000, [&] { return SaveGameFile(savePath, *MakeGate()); }));
    EXPECT_EQ(errors.messages, std::vector<std::string>(2, "Data IO Error"));

    EXPECT_EQ(ReadFileBytes(dataPath), dataBefore);
    EXPECT_EQ(ReadFileBytes(savePath), saveBefore);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path)) ++files;
    EXPECT_EQ(files, 2u);
}

TEST(SafeSaving, AGameThatCannotBeWrittenLeavesTheFileAlone)
{
    TempDir dir;
    const auto path = dir.path / "Game.dat";
    ASSERT_TRUE(SaveGameDataFile(path, SmallGame()));
    const auto before = ReadFileBytes(path);
    GameType broken = SmallGame();
    broken.Images.resize(1);
    broken.Images[0].resize(1);
    broken.Images[0][0].emplace_back(); // a frame with no picture at all
    ErrorRecorder errors;
    EXPECT_FALSE(SaveGameDataFile(path, broken));
    EXPECT_EQ(errors.messages, DataIo);
    EXPECT_EQ(ReadFileBytes(path), before);
}

} // namespace
} // namespace brakkon
