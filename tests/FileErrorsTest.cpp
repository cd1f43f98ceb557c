// What a failed read or write of a game file tells the player: the one
// message of the game, and under it which file (its full path) and why.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "game/SavedGame.h"
#include "tests/TempFolder.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

/// A data file of one gate and one picture, the picture last.
std::vector<std::uint8_t> DataBytes()
{
    GameType game;
    game.Gates.push_back(test::MakeGate());
    game.Images = {ImageGroup{ImageFrames{MakeBitmap(32, 32, std::vector<std::uint32_t>(32 * 32), false)}}};
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeGameDataFile(game, bytes));
    return bytes;
}

TEST(FileErrors, EachFailureSaysWhichFileAndWhy)
{
    struct Case {
        std::vector<std::uint8_t> bytes; ///< of "f"; none: no file
        bool saved;                      ///< loaded as a saved game, else as a data file
        std::string_view message;
        const char* why;
    };
    auto cut = DataBytes();
    cut.resize(cut.size() - 10);
    auto odd = DataBytes();
    *std::search(odd.begin(), odd.end(), std::begin("BM"), std::end("BM") - 1) = 'X';
    const Case cases[] = {
        {{}, false, MsgDataIoError, "cannot be opened: there is no such file or folder"},
        {cut, false, MsgDataIoError, "ends early"},
        {odd, false, MsgDataIoError, "holds a picture that is no BMP image this game reads"},
        {{0xBA, 0x78, 0, 0, 1, 0, 0, 0}, false, MsgFileFormatError, "is not a data file of this game"},
        {DataBytes(), true, MsgFileFormatError, "is not a saved game of this game"},
        {{0xB9, 0x78, 0, 0, 2, 0, 0, 0}, false, MsgFileVersionError, "is of version 2; this game reads version 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const test::TempFolder dir;
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteFileAtomically(dir / "f", c.bytes));
        }
        test::ErrorRecorder errors;
        GameType game;
        EXPECT_FALSE(c.saved ? LoadGameFile(dir / "f", *game.Gate) : LoadGameDataFile(dir / "f", game));
        EXPECT_EQ(errors.messages, std::vector{std::string(c.message)});
        EXPECT_EQ(errors.details, std::vector{(dir / "f").string() + ": " + c.why});
    }
}

TEST(FileErrors, WritesSayWhyAndPathsAreFull)
{
    const test::TempFolder dir;
    const std::string noFolder = ": cannot be written: there is no such file or folder";
    test::ErrorRecorder errors;
    EXPECT_FALSE(SaveGameFile(dir / "no" / "x.gam", *test::MakeGate()));
    EXPECT_EQ(errors.details, std::vector{(dir / "no" / "x.gam").string() + noFolder});
    EXPECT_EQ(WriteProblem(dir / "no" / "x.replay"), noFolder.substr(2));
    EXPECT_EQ(WriteProblem(dir.path), "is a folder");
    EXPECT_EQ(WriteProblem(dir / "x.replay"), "");
    EXPECT_TRUE(fs::is_empty(dir.path)) << "a write tried leaves nothing behind";
    EXPECT_EQ(FullPath("a/../x.gam"), (fs::current_path() / "x.gam").string());
    EXPECT_EQ(ErrnoText(ENOSPC), "the disk is full");
    EXPECT_EQ(ErrnoText(EACCES), "no permission");
}

} // namespace
} // namespace brakkon
