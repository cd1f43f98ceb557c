// What the window reads at start and keeps between runs: "Game.dat" from the
// Game Editor's save or, when that is damaged, the installed file; the error
// box with its detail; and the Game Control dialog's choices, kept in the
// settings and recorded into a replay as they were applied.
#include "ControlSettings.h"
#include "ControlUnit.h"
#include "DialogSupport.h"
#include "ErrorBox.h"
#include "FileIo.h"
#include "GameData.h"
#include "GuiSupport.h"
#include "Replay.h"
#include "RunTool.h"
#include "SavedGame.h"
#include "StartData.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>

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

// ---- The Game Control dialog's choices, kept ----

/// A window whose settings are kept in `file`, with the music file.
std::unique_ptr<WindowFixture> KeptWindow(const fs::path& file)
{
    auto w = std::make_unique<WindowFixture>(
        std::initializer_list<const char*>{"Game.dat", "Game", "Music.mid"}, [file](MainSeams& seams) {
            seams.OpenSettings = [file] {
                return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
            };
        });
    w->Show();
    return w;
}

TEST(KeptControls, TheDialogsChoicesAreTheNextRunsAndDamagedOnesTheDefaults)
{
    const TempFolder dir;
    const fs::path file = dir / "brakkon.conf";
    {
        auto w = KeptWindow(file);
        test::WhenShown<TControlForm>([](TControlForm& f) {
            QTest::keyClick(f.ScrollBar1, Qt::Key_PageUp); // 84 - 10: 26 ms a tick
            QTest::mouseClick(f.RadioButton3, Qt::LeftButton);
            QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
            QTest::mouseClick(f.CheckBox2, Qt::LeftButton);
            QTest::mouseClick(f.Button1, Qt::LeftButton);
        });
        w->Click(Qt::Key_5);
        EXPECT_EQ(w->form->GameTimer().Interval(), 26);
    }
    {
        auto w = KeptWindow(file);
        EXPECT_EQ(w->form->GameTimer().Interval(), 26);
        EXPECT_EQ(w->State().MoveStep, 4);
        EXPECT_FALSE(w->State().SoundOn);
        EXPECT_FALSE(w->State().MusicOn);
        EXPECT_EQ(w->Music->OpenFile(), "Music.mid");
        EXPECT_FALSE(w->Music->Playing()) << "kept off, the music does not start";
    }
    {
        QSettings damaged(QString::fromStdString(file.string()), QSettings::IniFormat);
        for (const auto& [key, value] : {std::pair{"Control/Interval", "0"}, std::pair{"Control/Step", "3"},
                                         std::pair{"Control/Sound", "no"}, std::pair{"Control/Music", "1"}})
            damaged.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
    }
    auto w = KeptWindow(file);
    EXPECT_EQ(w->form->GameTimer().Interval(), GameTimerInterval);
    EXPECT_EQ(w->State().MoveStep, DefaultMoveStep);
    EXPECT_TRUE(w->State().SoundOn);
    EXPECT_TRUE(w->State().MusicOn);
    EXPECT_TRUE(w->Music->Playing());
}

TEST(KeptControls, AGameRecordedWithAKeptStepReplaysToTheSameGate)
{
    const TempFolder dir;
    const fs::path settings = dir / "brakkon.conf";
    QSettings(QString::fromStdString(settings.string()), QSettings::IniFormat).setValue("Control/Step", 4);
    auto w = KeptWindow(settings); // shown: nothing is recorded before a game
    const fs::path file = dir / "kept.replay";
    w->form->RecordReplay(file);
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) w->form->Timer1Timer();
    };
    w->Click(Qt::Key_1);
    w->Press(Qt::Key_Up);
    ticks(20);
    w->Release(Qt::Key_Up);
    w->Press(Qt::Key_Left);
    ticks(30);
    w->form->Timer2Timer();
    w->Click(Qt::Key_Space);
    ticks(10);
    EXPECT_EQ(w->State().MoveStep, 4);
    std::vector<std::uint8_t> played;
    ASSERT_TRUE(EncodeSavedGame(w->Gate(), played));
    ASSERT_TRUE(w->form->FinishRecording());

    Replay replay;
    ASSERT_TRUE(LoadReplay(file, replay));
    EXPECT_EQ(replay.Start.MoveStep, 4);
    const fs::path out = dir / "end.gam";
    const auto run = test::RunTool(BRAKKON_SIM_TOOL, {"--data", (w->Dir() / "Game.dat").string(), "--replay",
                                                      file.string(), "--save", out.string()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadFileBytes(out), std::optional(played));
}

} // namespace
} // namespace brakkon
