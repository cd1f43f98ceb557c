// What a failed read or write of a game file tells the player: the one
// message of the game, and under it which file (its full path) and why.
#include "Bmp.h"
#include "ByteStream.h"
#include "FileIo.h"
#include "GameData.h"
#include "SavedGame.h"
#include "TempFolder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::ErrorRecorder;

/// A saved game of a fresh two-player gate.
std::vector<std::uint8_t> SavedBytes(std::size_t columns = FieldCols)
{
    auto gate = test::MakeGate();
    gate->Cells.resize(columns);
    gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 11, 13, 0)));
    gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer2, 7, 13, 1)));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeSavedGame(*gate, bytes));
    return bytes;
}

/// A data file of one gate and one 32 x 32 picture, the picture last.
std::vector<std::uint8_t> DataBytes()
{
    GameType game;
    game.Gates.push_back(test::MakeGate());
    game.Images = {ImageGroup{ImageFrames{MakeBitmap(32, 32, std::vector<std::uint32_t>(32 * 32), false)}}};
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeGameDataFile(game, bytes));
    return bytes;
}

void Write(const fs::path& path, std::vector<std::uint8_t> bytes) { ASSERT_TRUE(WriteFileAtomically(path, bytes)); }

struct FailureCase {
    const char* name;
    std::function<bool(const fs::path& dir)> run; ///< the file operation, reporting
    std::string_view message;
    std::string file; ///< under the folder
    std::string why;
};

TEST(FileErrors, EachFailureSaysWhichFileAndWhy)
{
    GameType game;
    const FailureCase cases[] = {
        {"missing data file", [&](const fs::path& d) { return LoadGameDataFile(d / "none.dat", game); }, MsgDataIoError,
         "none.dat", "cannot be opened: there is no such file or folder"},
        {"a folder as a saved game", [&](const fs::path& d) { return LoadGameFile(d, *game.Gate); }, MsgDataIoError, "",
         "is a folder"},
        {"data file cut in its picture",
         [&](const fs::path& d) {
             auto bytes = DataBytes();
             bytes.resize(bytes.size() - 10);
             Write(d / "cut.dat", bytes);
             return LoadGameDataFile(d / "cut.dat", game);
         },
         MsgDataIoError, "cut.dat", "ends early"},
        {"data file with a picture that is none",
         [&](const fs::path& d) {
             auto bytes = DataBytes();
             const auto bm = std::search(bytes.begin(), bytes.end(), std::begin("BM"), std::end("BM") - 1);
             *bm = 'X';
             Write(d / "odd.dat", bytes);
             return LoadGameDataFile(d / "odd.dat", game);
         },
         MsgDataIoError, "odd.dat", "holds a picture that is no BMP image this game reads"},
        {"saved game as data file",
         [&](const fs::path& d) {
             Write(d / "x.gam", SavedBytes());
             return LoadGameDataFile(d / "x.gam", game);
         },
         MsgFileFormatError, "x.gam", "is not a data file of this game"},
        {"data file as saved game",
         [&](const fs::path& d) {
             Write(d / "Game.dat", DataBytes());
             return LoadGameFile(d / "Game.dat", *game.Gate);
         },
         MsgFileFormatError, "Game.dat", "is not a saved game of this game"},
        {"newer data file",
         [&](const fs::path& d) {
             Write(d / "new.dat", {0xB9, 0x78, 0, 0, 2, 0, 0, 0});
             return LoadGameDataFile(d / "new.dat", game);
         },
         MsgFileVersionError, "new.dat", "is of version 2; this game reads version 1"},
        {"saved game with a narrow map",
         [&](const fs::path& d) {
             Write(d / "narrow.gam", SavedBytes(FieldCols - 1));
             return LoadGameFile(d / "narrow.gam", *game.Gate);
         },
         MsgFileFormatError, "narrow.gam", "holds a map that is not 19 columns of 14 cells"},
        {"saving into a missing folder",
         [&](const fs::path& d) { return SaveGameFile(d / "no" / "x.gam", *test::MakeGate()); }, MsgDataIoError,
         "no/x.gam", "cannot be written: there is no such file or folder"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const test::TempFolder dir;
        ErrorRecorder errors;
        EXPECT_FALSE(c.run(dir.path));
        ASSERT_EQ(errors.messages, std::vector<std::string>{std::string(c.message)});
        const std::string file = c.file.empty() ? dir.path.string() : (dir.path / c.file).string();
        EXPECT_EQ(errors.details[0], file + ": " + c.why);
    }
}

TEST(FileErrors, ARelativePathIsNamedInFull)
{
    const test::TempFolder dir;
    const fs::path old = fs::current_path();
    fs::current_path(dir.path);
    GateType gate;
    const IoResult result = LoadGame("none.gam", gate);
    fs::current_path(old);
    EXPECT_EQ(result.Detail, (dir.path / "none.gam").string() + ": cannot be opened: there is no such file or folder");
}

TEST(FileErrors, TheSystemsReasonsInWords)
{
    const std::pair<int, const char*> cases[] = {
        {ENOENT, "there is no such file or folder"}, {EACCES, "no permission"}, {EPERM, "no permission"},
        {ENOSPC, "the disk is full"},                {EDQUOT, "the disk is full"}, {EROFS, "the file system is read-only"},
        {EISDIR, "it is a folder"},
    };
    for (const auto& [error, words] : cases) EXPECT_EQ(ErrnoText(error), words) << error;
}

TEST(FileErrors, AWriteIsTriedWithoutLeavingAnything)
{
    const test::TempFolder dir;
    EXPECT_EQ(WriteProblem(dir.path / "game.replay"), "");
    EXPECT_EQ(WriteProblem(dir.path / "no" / "game.replay"), "cannot be written: there is no such file or folder");
    EXPECT_EQ(WriteProblem(dir.path), "is a folder");
    EXPECT_TRUE(fs::is_empty(dir.path));
}

} // namespace
} // namespace brakkon
