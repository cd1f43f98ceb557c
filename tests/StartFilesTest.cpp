// What the window reads at start: "Game.dat" from the Game Editor's save or,
// when that is damaged, the installed file; and the error box with its detail.
#include "DialogSupport.h"
#include "ErrorBox.h"
#include "FileIo.h"
#include "GameData.h"
#include "GuiSupport.h"
#include "StartData.h"

#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;
using test::WindowFixture;

/// A data file of `gates` empty gates, to tell the files apart by.
std::vector<std::uint8_t> DataOf(std::size_t gates)
{
    GameType game;
    for (std::size_t i = 0; i < gates; ++i) game.Gates.push_back(test::MakeGate());
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeGameDataFile(game, bytes));
    return bytes;
}

enum class File { None, Sound, CutShort };

struct StartCase {
    const char* name;
    File user, installed;
    std::size_t gates;        ///< loaded: 3 from the user's file, 2 from the installed one
    const char* loaded;       ///< "user", "installed" or ""
    std::string_view message; ///< the one message; empty for none
    const char* detail;       ///< with {user} and {installed} for the two files' paths
};

std::string Expand(std::string text, const StartDataFiles& files)
{
    for (const auto& [mark, path] : {std::pair{"{user}", files.User}, std::pair{"{installed}", files.Installed}})
        if (const std::size_t at = text.find(mark); at != std::string::npos)
            text.replace(at, std::string_view(mark).size(), path.string());
    return text;
}

TEST(StartData, TheEditorsSaveIsReadUnlessDamagedAndThenTheInstalledFile)
{
    const StartCase cases[] = {
        {"both sound", File::Sound, File::Sound, 3, "user", {}, ""},
        {"the save cut short", File::CutShort, File::Sound, 2, "installed", MsgDataIoError,
         "{user}: ends early\nThe game plays the installed {installed} instead."},
        {"the save cut short, nothing installed", File::CutShort, File::None, 0, "", MsgDataIoError, "{user}: ends early"},
        {"no save", File::None, File::Sound, 2, "installed", {}, ""},
        {"no save, the installed file cut short", File::None, File::CutShort, 0, "", MsgDataIoError, "{installed}: ends early"},
        {"neither", File::None, File::None, 0, "", MsgGameDataNotFound, "The game looked for {user} and for {installed}."},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir;
        const StartDataFiles files{dir / "game" / "Game.dat", dir / "user" / "Game.dat"};
        fs::create_directories(files.Installed.parent_path());
        fs::create_directories(files.User.parent_path());
        for (const auto& [kind, path, gates] : {std::tuple{c.user, files.User, 3u}, std::tuple{c.installed, files.Installed, 2u}}) {
            std::vector<std::uint8_t> bytes = DataOf(gates);
            if (kind == File::CutShort) bytes.resize(bytes.size() - 5);
            if (kind != File::None) {
                ASSERT_TRUE(WriteFileAtomically(path, bytes));
            }
        }
        const auto userBefore = ReadFileBytes(files.User);

        test::ErrorRecorder errors;
        GameType game;
        const fs::path loaded = LoadStartGameData(files, game);
        EXPECT_EQ(game.Gates.size(), c.gates);
        const fs::path expected = std::string_view(c.loaded) == "user"        ? files.User
                                  : std::string_view(c.loaded) == "installed" ? files.Installed
                                                                              : fs::path();
        EXPECT_EQ(loaded, expected);
        if (!loaded.empty()) {
            EXPECT_EQ(StartGameDataPath(files), loaded) << "a replay is checked against it";
        }
        if (c.message.empty()) {
            EXPECT_TRUE(errors.messages.empty());
        } else {
            ASSERT_EQ(errors.messages, std::vector<std::string>{std::string(c.message)});
            EXPECT_EQ(errors.details[0], Expand(c.detail, files));
        }
        EXPECT_EQ(ReadFileBytes(files.User), userBefore) << "the save is left as it is";
    }
}

TEST(StartData, AMissingSceneSaysWhereTheGameLooked)
{
    WindowFixture w({"Game.dat"});
    w.Show();
    ASSERT_EQ(w.errors.messages, std::vector<std::string>{std::string(MsgSceneNotFound)});
    EXPECT_EQ(w.errors.details[0], (w.Dir() / "Game").string() + ": there is no such file or folder");
}

TEST(ErrorBox, ShowsTheMessageWithWhichFileAndWhyUnderIt)
{
    const ErrorHandler before = SetErrorHandler({});
    InstallErrorBox(nullptr);
    bool shown = false;
    test::WhenShown<QMessageBox>([&](QMessageBox& box) {
        shown = true;
        EXPECT_EQ(box.windowTitle(), "Error");
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.text(), "File format error");
        EXPECT_EQ(box.informativeText(), "/home/x/Game.dat: is not a data file of this game");
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    ReportError(MsgFileFormatError, "/home/x/Game.dat: is not a data file of this game");
    SetErrorHandler(before);
    EXPECT_TRUE(shown);
}

} // namespace
} // namespace brakkon
