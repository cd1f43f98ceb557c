// What the window reads at start and keeps between runs: "Game.dat", the
// error box's detail, and the Game Control dialog's choices.
#include "shell/ControlUnit.h"
#include "tests/DialogSupport.h"
#include "shell/ErrorReporting.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "tests/GuiSupport.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"
#include "shell/StartData.h"

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

TEST(StartData, TheEditorsSaveIsReadUnlessDamagedAndThenTheInstalledFile)
{
    struct Case {
        int user, installed; ///< gates in each file; -1 no file, 0 a file cut short
        std::size_t gates;   ///< gates loaded: 3 from the user's file, 2 from the installed one
        std::string detail;  ///< of the one message ({u} and {i}: the two files); empty for none
    };
    const Case cases[] = {{3, 2, 3, ""},
                          {0, 2, 2, "{u}: ends early\nThe game plays the installed {i} instead."},
                          {0, -1, 0, "{u}: ends early"},
                          {-1, -1, 0, "The game looked for {u} and for {i}."}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.detail);
        const TempFolder dir;
        const StartDataFiles files{dir / "Game.dat", dir / "user.dat"};
        std::string detail = c.detail;
        for (const auto& [gates, path, mark] :
             {std::tuple{c.user, files.User, "{u}"}, std::tuple{c.installed, files.Installed, "{i}"}}) {
            if (const std::size_t at = detail.find(mark); at != std::string::npos) detail.replace(at, 3, path.string());
            GameType game;
            for (int i = 0; i < std::max(gates, 1); ++i) game.Gates.push_back(test::MakeGate());
            std::vector<std::uint8_t> bytes;
            ASSERT_TRUE(EncodeGameDataFile(game, bytes));
            bytes.resize(bytes.size() - (gates == 0 ? 5 : 0));
            if (gates >= 0) {
                ASSERT_TRUE(WriteFileAtomically(path, bytes));
            }
        }
        const auto userBefore = ReadFileBytes(files.User);
        test::ErrorRecorder errors;
        GameType game;
        EXPECT_EQ(LoadStartGameData(files, game), c.gates == 3 ? files.User : c.gates == 2 ? files.Installed : fs::path());
        EXPECT_EQ(game.Gates.size(), c.gates);
        EXPECT_EQ(StartGameDataPath(files), c.gates == 3 ? files.User : files.Installed) << "what a replay checks";
        EXPECT_EQ(errors.details, detail.empty() ? std::vector<std::string>{} : std::vector{detail});
        EXPECT_EQ(ReadFileBytes(files.User), userBefore) << "the save is left as it is";
    }
}

TEST(ErrorBox, ShowsTheMessageWithWhichFileAndWhyUnderIt)
{
    const ErrorHandler before = SetErrorHandler({});
    InstallErrorBox(nullptr);
    QString shown;
    test::WhenShown<QMessageBox>([&](QMessageBox& box) {
        shown = box.windowTitle() + '|' + box.text() + '|' + box.informativeText();
        QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton);
    });
    ReportError(MsgFileFormatError, "/x/Game.dat: is not a data file of this game");
    SetErrorHandler(before);
    EXPECT_EQ(shown, "Error|File format error|/x/Game.dat: is not a data file of this game");
}

/// A shown window whose settings are kept in `file`.
std::unique_ptr<test::WindowFixture> KeptWindow(const fs::path& file)
{
    auto w = std::make_unique<test::WindowFixture>(
        std::initializer_list<const char*>{"Game.dat", "Game", "Music.mid"}, [file](MainSeams& seams) {
            seams.OpenSettings = [file] {
                return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
            };
        });
    w->Show();
    return w;
}

// Kept, applied at the next start (a replay records the step so), and read
// as the defaults once damaged.
TEST(KeptControls, TheDialogsChoicesAreTheNextRunsAndAReplayRecordsTheStep)
{
    const TempFolder dir;
    const fs::path file = dir / "brakkon.conf";
    auto w = KeptWindow(file);
    test::WhenShown<TControlForm>([](TControlForm& f) {
        QTest::keyClick(f.ScrollBar1, Qt::Key_PageUp); // 84 - 10: 26 ms a tick
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{f.RadioButton3, f.CheckBox1, f.CheckBox2, f.Button1})
            QTest::mouseClick(b, Qt::LeftButton);
    });
    w->Click(Qt::Key_5);
    auto kept = [&] {
        w = KeptWindow(file);
        const MainState& s = w->State();
        return std::tuple{w->form->GameTimer().Interval(), s.MoveStep, w->form->Sound().SoundOn, s.MusicOn, w->Music->Playing()};
    };
    EXPECT_EQ(kept(), std::tuple(26, 4, false, false, false));

    w->form->RecordReplay(dir / "kept.replay");
    w->Click(Qt::Key_1);
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Space}) {
        w->Press(key);
        for (int i = 0; i < 20; ++i) w->form->Timer1Timer();
        w->Release(key);
    }
    std::vector<std::uint8_t> played;
    ASSERT_TRUE(EncodeSavedGame(w->Gate(), played));
    ASSERT_TRUE(w->form->FinishRecording());
    const auto run = test::RunTool(BRAKKON_SIM_TOOL, {"--data", (w->Dir() / "Game.dat").string(), "--replay",
                                                      (dir / "kept.replay").string(), "--save", (dir / "end.gam").string()});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ReadFileBytes(dir / "end.gam"), std::optional(played));

    QSettings damaged(QString::fromStdString(file.string()), QSettings::IniFormat);
    for (const char* key : {"Control/Interval", "Control/Step", "Control/Sound", "Control/Music"})
        damaged.setValue(QString::fromLatin1(key), "0x1");
    damaged.sync();
    EXPECT_EQ(kept(), std::tuple(GameTimerInterval, DefaultMoveStep, true, true, true));
}

} // namespace
} // namespace brakkon
