// The Game Editor driven through real clicks and keys on the offscreen
// platform, over the main window and copies of the built data files: its
// commands and what they need, a gate built, saved and played after a
// restart, where it opens, and the game held still while it edits.
#include "tests/DialogSupport.h"
#include "tests/EditorSupport.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "editor/GateEditerUnit.h"
#include "game/GateStart.h"
#include "sim/Replay.h"
#include "game/SavedGame.h"
#include "sim/Simulation.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>

namespace brakkon {
namespace {

using test::CellFields;
using test::EditorFixture;
using test::Files;
using test::Fields;

std::string Transparency(const ImageGroup& group)
{
    std::string flags;
    for (const ImageFrames& image : group)
        for (const Bitmap& frame : image) flags += frame.Transparent ? 'T' : '-';
    return flags;
}

TEST(GameEditor, CommandsBuildALibraryFromNothingWithWhatTheyNeed)
{
    EditorFixture e({});
    const std::vector<ImageGroup>& images = e.Game().Images;
    e.pictureAnswer = e.WriteBmp("red.bmp", 0xFFFF0000, 0xFF0000FF);
    e.Tool("Add"); // nothing selected
    e.Tool("ChangeImage");
    EXPECT_TRUE(images.empty());
    e.Tool("AddGoup");
    for (int image = 0; image < 3; ++image) {
        e.ClickNode(0);
        e.Tool("Add"); // a group: a new image, no file asked for
        e.ClickNode(0, image);
        e.Tool("Add");
        e.Tool("Add");
    }
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(images[0].size(), 3u);
    EXPECT_EQ(e.editor->TreeView1->topLevelItem(0)->child(2)->text(0), "2");
    const Bitmap& added = images[0][2][1]; // of the standard colours: 4 bits with their table
    EXPECT_EQ(added.Bytes, EncodeFrameBmp(added.Width, added.Height, added.Pixels));
    EXPECT_EQ(Transparency(images[0]), "TTTTTT");                           // keyed by the bottom-left pixel

    // The tree focused on a group reaches all six frames, on an image two.
    e.ClickNode(0);
    e.Tool("not tra");
    EXPECT_EQ(Transparency(images[0]), "------");
    e.ClickNode(0, 1);
    e.Tool("Tra");
    EXPECT_EQ(Transparency(images[0]), "--TT--");

    e.pictureAnswer.clear(); // cancelled
    e.Tool("Add");
    std::ofstream(e.Dir() / "notes.bmp") << "not a picture";
    e.pictureAnswer = QString::fromStdString((e.Dir() / "notes.bmp").string());
    e.Tool("Add");
    EXPECT_EQ(images[0][1].size(), 2u);
    ASSERT_EQ(e.errors.messages.size(), 3u); // no "Game.dat", no "Game", then the picture, by its name
    EXPECT_NE(e.errors.messages.back().find("notes.bmp"), std::string::npos) << e.errors.messages.back();

    e.pictureAnswer = e.WriteBmp("green.bmp", 0xFF00FF00, 0xFF00FF00);
    e.Tool("ChangeImage"); // no frame selected
    EXPECT_EQ(Transparency(images[0]), "--TT--");
    auto cornerAlpha = [&] { return e.editor->ListView1->item(1)->icon().pixmap(32).toImage().pixelColor(0, 31).alpha(); };
    e.ClickFrame(1);
    e.Tool("ChangeImage");
    EXPECT_EQ(images[0][0][1].TransparentColour(), 0xFF00FF00);
    EXPECT_EQ(Transparency(images[0]), "-TTT--");
    EXPECT_EQ(cornerAlpha(), 0); // the frame view shows the key colour see-through
    e.ClickFrame(1);
    e.Tool("not tra"); // the frame view focused: its selected frame only
    EXPECT_EQ(Transparency(images[0]), "--TT--");
    EXPECT_EQ(cornerAlpha(), 255);

    GameType& game = e.Game();
    game.Gate->PlayTime = 99; // a gate shown on the field would start its clock afresh
    e.Tool("AddGate");
    e.Tool("AddGate");
    ASSERT_EQ(game.Gates.size(), 2u);
    EXPECT_EQ(game.Gate->PlayTime, 99);
    for (std::int32_t n : {0, 1}) {
        const GateType& gate = *game.Gates[static_cast<std::size_t>(n)];
        EXPECT_EQ(e.editor->ListBox1->item(n)->text(), QString::number(n));
        EXPECT_EQ((std::array{gate.GateNo, gate.Lives1, gate.Lives2, gate.Tank, gate.LargeTank, gate.ZJC, gate.KC, gate.Total, gate.NextGate}),
                  (std::array{1, 3, 3, 5, 2, 3, 3, 20, n + 1}));
    }
}

TEST(GameEditor, SetBackAllTakesGroundTilesOnlyAndTheFieldShowsANewPictureAtOnce)
{
    EditorFixture e;
    GameType& game = e.Game();
    e.Tool("ListAll");
    EXPECT_EQ(e.editor->ListBox1->count(), static_cast<int>(game.Gates.size()));
    EXPECT_EQ(e.editor->TreeView1->topLevelItemCount(), static_cast<int>(game.Images.size()));
    e.ClickGate(0);
    for (const auto& [tile, after] : {std::pair{12, 13}, {14, 14}, {13, 13}, {15, 15}}) {
        e.ClickFrame(tile);
        e.Tool("SetBackAll");
        std::set<std::int32_t> grounds;
        for (const auto& column : game.Gates[0]->Cells)
            for (const auto& cell : column) grounds.insert(cell->GroundImage);
        EXPECT_EQ(grounds, std::set<std::int32_t>{after}) << "tile " << tile;
    }
    EXPECT_EQ(game.Gate->Cells[1][7]->GroundImage, 15); // the gate is shown again

    e.pictureAnswer = e.WriteBmp("red.bmp", 0xFFFF0000, 0xFF0000FF);
    e.ClickFrame(15);
    e.Tool("ChangeImage");
    EXPECT_EQ(e.form->Canvas().Image().pixel(48, 240), qRgb(255, 0, 0));
}

TEST(GameEditor, AVersion5BmpWithAlphaAndAPngAreAddedShownAndSaved)
{
    EditorFixture e;
    e.Tool("AddGoup");
    const auto group = static_cast<int>(e.Game().Images.size()) - 1;
    e.ClickNode(group);
    e.Tool("Add");
    e.ClickNode(group, 0);
    for (const char* name : {"bmp5_alpha.bmp", "png32.png"}) { // one drawing in two files
        e.pictureAnswer = QString::fromStdString((std::filesystem::path(BRAKKON_TEST_PICTURES) / name).string());
        e.Tool("Add");
    }
    const ImageFrames& frames = e.Game().Images.back()[0];
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(frames[0].TransparentColour(), 0xFFFF00FFu); // its bottom-left pixel is clear
    ASSERT_EQ(e.editor->ListView1->count(), 2);
    const QImage icon = e.editor->ListView1->item(1)->icon().pixmap(32).toImage();
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0); // see-through where the drawing is clear

    e.Tool("Save");
    GameType saved;
    ASSERT_TRUE(LoadGameData(e.Dir() / "Game.dat", saved));
    EXPECT_EQ(saved.Images.back()[0], frames);
}


/// Gate n as an author builds it: stone walls and a level-up bonus dropped,
/// one wall clicked away again, and in the gate dialog one "KC" in all.
void BuildGate(EditorFixture& e, int n)
{
    e.Tool("ListAll");
    e.ClickGate(n);
    e.ClickFrame(5);
    for (int col = 1; col <= 3; ++col) e.Drop({col * 32 + 1, 6 * 32 + 1});
    e.ClickFrame(1);
    e.Drop({9 * 32 + 16, 2 * 32 + 16});
    e.Tool("ClickClearCell");
    QTest::mouseClick(&e.form->Field(), Qt::LeftButton, {}, QPoint(3 * 32 + 16, 6 * 32 + 16));
    test::WhenShown<TGateEditerForm>([](TGateEditerForm& dialog) {
        for (QSpinBox* spin : {dialog.SpinEdit1, dialog.SpinEdit2, dialog.SpinEdit3, dialog.SpinEdit4, dialog.SpinEdit5}) {
            spin->selectAll();
            QTest::keyClicks(spin, spin == dialog.SpinEdit4 || spin == dialog.SpinEdit5 ? "1" : "0");
        }
        QTest::keyClick(dialog.SpinEdit5, Qt::Key_Return);
    });
    e.ClickGate(n, true);
}

TEST(GameEditor, AGateBuiltAndSavedIsPlayedAfterARestart)
{
    for (bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed: saved to the user's data" : "saved beside the game");
        QTemporaryDir home;
        const std::filesystem::path xdg = home.path().toStdString();
        const QByteArray oldXdg = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        // As root every directory is writable: an installed game's directory is one that is not there.
        const std::filesystem::path installedDir = xdg / "installed";
        if (installed) {
            std::filesystem::create_directories(xdg / "brakkon");
            std::filesystem::copy_file(test::BuiltDir / "Game.dat", xdg / "brakkon" / "Game.dat");
        }
        EditorFixture e(installed ? Files{} : Files{"Game.dat"}, installed ? installedDir : std::filesystem::path());
        const std::filesystem::path appDir = installed ? installedDir : e.Dir();
        ASSERT_EQ(e.Game().Gates.size(), 16u); // the user's copy is read first
        e.Tool("AddGate");
        EXPECT_EQ(e.editor->ListBox1->item(0)->text(), "16");
        BuildGate(e, 16);
        EXPECT_EQ(e.Game().Gate->Sprites.size(), 3u); // shown again, with its one enemy
        e.Tool("Save");
        const std::filesystem::path saved = (installed ? xdg / "brakkon" : appDir) / "Game.dat";
        EXPECT_EQ(e.editor->StatusBar1->currentMessage(), QString::fromStdString("Saved " + saved.string()));

        MainForm restarted(QString::fromStdString(appDir.string()));
        restarted.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&restarted));
        MainState& state = restarted.State();
        ASSERT_EQ(state.Game.Gates.size(), 17u);
        SilentHost host;
        StartGate(state, host, 16, true, false);
        const GateType& gate = *state.Game.Gate;
        ASSERT_EQ(gate.Sprites.size(), 3u);
        EXPECT_EQ(gate.Sprites[2]->ImageGroup, GroupEnemyKC);
        EXPECT_EQ(gate.EnemiesLeft, 0);
        EXPECT_EQ(gate.NextGate, 17); // the last gate: the game ends after it
        for (int col : {1, 2}) EXPECT_EQ(Fields(*gate.Cells[col][6]), (CellFields{0, -1, 1, 5, 1})) << col;
        EXPECT_EQ(Fields(*gate.Cells[3][6]), (CellFields{0, -1, 0, -1, 1}));
        EXPECT_EQ(Fields(*gate.Cells[9][2]), (CellFields{1, 1, 0, -1, 0}));
        EXPECT_EQ(*gate.Cells[18][13], NewCell(18, 13)); // as "AddGate" made it

        if (installed) { // no place to save to: one message, and the saved file stays
            const auto before = ReadFileBytes(saved);
            qputenv("XDG_DATA_HOME", QByteArray::fromStdString((appDir.parent_path() / "brakkon" / "Game.dat").string()));
            e.Tool("Save");
            EXPECT_EQ(e.errors.messages.back(), "Data IO Error");
            EXPECT_TRUE(e.editor->StatusBar1->currentMessage().startsWith("Not saved"));
            EXPECT_EQ(ReadFileBytes(saved), before);
        }
        oldXdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldXdg);
    }
}

/// The screen of the GUI tests' main named `name`.
QScreen* NamedScreen(const char* name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name)) return screen;
    ADD_FAILURE() << "no screen " << name;
    return QGuiApplication::primaryScreen();
}

std::string Text(const QRect& r)
{
    return std::to_string(r.width()) + "x" + std::to_string(r.height()) + "+" + std::to_string(r.x()) + "+" + std::to_string(r.y());
}

TEST(GameEditor, OpensBesideTheGameWhereTheScreenHasRoom)
{
    const struct {
        const char* name;
        const char* screen;
        bool fullScreen;
        bool beside; ///< clear of the game's window
    } cases[] = {
        {"4K", "large", false, true},
        {"1280 x 800: the game's window moves over", "small", false, true},
        {"full screen: no room, kept on the screen", "small", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture e({"Game.dat", "Game"}, {}, false);
        QScreen* screen = NamedScreen(c.screen);
        const QRect room = screen->availableGeometry();
        e.form->setScreen(screen);
        e.form->move(room.center() - e.form->rect().center());
        if (c.fullScreen) {
            QTest::keyClick(e.form.get(), Qt::Key_F11);
            EXPECT_TRUE(test::WaitUntil([&] { return e.form->frameGeometry() == screen->geometry(); }));
        }
        e.Open();
        const QRect game = e.form->frameGeometry(), editor = e.editor->frameGeometry();
        EXPECT_TRUE(room.contains(editor)) << Text(editor);
        EXPECT_TRUE(c.fullScreen || room.contains(game)) << Text(game);
        EXPECT_EQ(!editor.intersects(game), c.beside) << "game " << Text(game) << ", editor " << Text(editor);
    }
}

std::string MenuShown(const MainForm& form)
{
    std::string shown;
    for (int n = 1; n <= MenuItemCount; ++n) shown += form.MenuItemShown(n) ? '1' : '0';
    return shown;
}

TEST(GameEditor, WhileItEditsTheGameStandsStillAndItsMenuLinesAreHidden)
{
    const struct {
        const char* name;
        std::vector<Qt::Key> keys; ///< before F12
        bool underWay;             ///< a game paused or in play
    } cases[] = {
        {"before the first game", {}, false},
        {"in play", {Qt::Key_1}, true},
        {"paused", {Qt::Key_1, Qt::Key_Escape}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture e({"Game.dat", "Game"}, {}, false);
        MainForm& form = *e.form;
        for (Qt::Key key : c.keys) QTest::keyClick(&form, key);
        e.Open();
        auto running = [&] { return form.GameTimer().Enabled() || form.ClockTimer().Enabled(); };
        // Neither the pause keys, the menu's keys nor "[Menu]" bring the game back meanwhile.
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_F1, Qt::Key_7, Qt::Key_1, Qt::Key_Return}) QTest::keyClick(&form, key);
        QTest::mouseClick(form.findChild<QToolButton*>(QStringLiteral("SpeedButton1")), Qt::LeftButton);
        EXPECT_FALSE(running());
        EXPECT_FALSE(form.State().Playing);
        EXPECT_EQ(MenuShown(form), "0000000");

        e.editor->close();
        EXPECT_FALSE(form.FieldEditing());
        EXPECT_EQ(MenuShown(form), c.underWay ? "1111111" : "1111110");
        EXPECT_EQ(running(), !c.underWay); // without a game the field runs on behind the menu
        QTest::keyClick(&form, Qt::Key_Escape);
        EXPECT_EQ(form.State().Playing, c.underWay);
    }
}

TEST(GameEditor, APauseForEditingIsRecordedAndReplaysToTheSameGame)
{
    EditorFixture e({"Game.dat", "Game"}, {}, false);
    MainForm& form = *e.form;
    const std::filesystem::path file = e.Dir() / "editing.replay";
    form.RecordReplay(file);
    auto ticks = [&](int n) {
        for (int i = 0; i < n; ++i) form.Timer1Timer();
    };
    QTest::keyClick(&form, Qt::Key_2);
    QTest::keyPress(&form, Qt::Key_Up);
    ticks(20);
    e.Open();
    QTest::keyClick(&form, Qt::Key_Escape); // held by the editing: neither played nor recorded
    e.editor->close();
    QTest::keyClick(&form, Qt::Key_Escape); // back to the game
    QTest::keyPress(&form, Qt::Key_T);
    ticks(20);
    std::vector<std::uint8_t> played;
    ASSERT_TRUE(EncodeSavedGame(*e.Game().Gate, played));
    ASSERT_TRUE(form.FinishRecording());

    Replay replay;
    ASSERT_TRUE(LoadReplay(file, replay));
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.BeginReplay(e.Dir() / "Game.dat", replay, error)) << error;
    sim.RunReplay();
    std::vector<std::uint8_t> replayed;
    ASSERT_TRUE(EncodeSavedGame(*sim.State.Game.Gate, replayed));
    EXPECT_EQ(replayed, played);
    EXPECT_EQ(sim.State.Playing, form.State().Playing);
    EXPECT_TRUE(form.State().Playing);
}

TEST(GameEditor, AGateItShowsIsRecordedWithItsChangesAndReplaysToTheSameField)
{
    EditorFixture e({"Game.dat", "Game"}, {}, false);
    MainForm& form = *e.form;
    const std::filesystem::path file = e.Dir() / "gate.replay";
    form.RecordReplay(file);
    QTest::keyClick(&form, Qt::Key_1);
    for (int i = 0; i < 10; ++i) form.Timer1Timer();
    e.Open();
    e.Tool("ListAll");
    CellType& cell = *e.Game().Gates[1]->Cells[9][5]; // changed in the stored gate, as the editor does
    cell.Block = BlockWall;
    cell.Hardness = 2;
    e.ClickGate(1);
    e.editor->close();
    QTest::keyClick(&form, Qt::Key_Escape); // the gate shown plays on
    for (int i = 0; i < 30; ++i) form.Timer1Timer();
    std::vector<std::uint8_t> played;
    ASSERT_TRUE(EncodeSavedGame(*e.Game().Gate, played));
    ASSERT_TRUE(form.FinishRecording());

    Replay replay;
    ASSERT_TRUE(LoadReplay(file, replay));
    ASSERT_EQ(replay.GateStreams.size(), 1u);
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.BeginReplay(e.Dir() / "Game.dat", replay, error)) << error;
    sim.RunReplay();
    EXPECT_EQ(sim.State.Game.Gates[1]->Cells[9][5]->Hardness, 2);
    std::vector<std::uint8_t> replayed;
    ASSERT_TRUE(EncodeSavedGame(*sim.State.Game.Gate, replayed));
    EXPECT_EQ(replayed, played);
}

} // namespace
} // namespace brakkon
