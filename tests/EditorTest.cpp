// The Game Editor driven through real clicks and keys on the offscreen
// platform, over the main window and copies of the built data files: its
// commands and what they need, tiles dropped and cells cleared on the field,
// and a gate built, saved and played after a restart.
#include "Bmp.h"
#include "DialogSupport.h"
#include "FileIo.h"
#include "GameData.h"
#include "GateEditerUnit.h"
#include "GateStart.h"
#include "GuiSupport.h"
#include "ImagesUnit.h"

#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace brakkon {
namespace {

using Files = std::initializer_list<const char*>;

/// The main window over `appDir` (by default a fresh folder holding copies of
/// `files`), shown, with the Game Editor opened by F12.
class EditorFixture {
public:
    explicit EditorFixture(Files files = {"Game.dat", "Game"}, std::filesystem::path appDir = {})
    {
        if (appDir.empty()) appDir = Dir();
        for (const char* name : files) std::filesystem::copy_file(test::BuiltDir / name, appDir / name);
        MainSeams seams;
        seams.TimersTick = false; // the scene behind the menu stands still
        form = std::make_unique<MainForm>(QString::fromStdString(appDir.string()), std::move(seams));
        editor = std::make_unique<TImagesForm>(*form, [this](QWidget*) { return pictureAnswer; });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QTest::keyClick(form.get(), Qt::Key_F12);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    [[nodiscard]] std::filesystem::path Dir() const { return dir_.path().toStdString(); }
    [[nodiscard]] GameType& Game() { return form->State().Game; }

    void Tool(const char* caption) { QTest::mouseClick(editor->ToolButton(QString::fromLatin1(caption)), Qt::LeftButton); }

    /// Clicks an entry of a list or the tree (twice: a double click).
    static void ClickEntry(QAbstractItemView& view, const QModelIndex& entry, bool twice = false)
    {
        ASSERT_TRUE(entry.isValid());
        view.scrollTo(entry);
        const QPoint at = view.visualRect(entry).center();
        twice ? QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at) : QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
    }
    void ClickGate(int gate, bool twice = false) { ClickEntry(*editor->ListBox1, Entry(*editor->ListBox1, gate), twice); }
    /// Clicks group node `group`, or its image node `image`.
    void ClickNode(int group, int image = -1)
    {
        const QModelIndex node = Entry(*editor->TreeView1, group);
        ClickEntry(*editor->TreeView1, image < 0 ? node : node.model()->index(image, 0, node));
    }
    /// Clicks frame `frame` of image 0 of `group` (by default a tile).
    void ClickFrame(int frame, int group = 0)
    {
        ClickNode(group, 0);
        ClickEntry(*editor->ListView1, editor->ListView1->model()->index(frame, 0));
    }
    /// The top-level entry whose text is `number`.
    static QModelIndex Entry(QAbstractItemView& view, int number)
    {
        const auto found = view.model()->match(view.model()->index(0, 0), Qt::DisplayRole, QString::number(number), 1, Qt::MatchExactly);
        return found.isEmpty() ? QModelIndex() : found.constFirst();
    }

    /// Drags something offered as a move onto the field and drops it at `at`;
    /// true when the field takes both as a copy (a move would take the frame
    /// out of the frame view). `target`: the widget the window system gives
    /// the drag to, by default the field.
    bool Drop(QPoint at, QWidget* target = nullptr)
    {
        if (target == nullptr) target = &form->Field();
        QMimeData mime;
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted() && enter.dropAction() == Qt::CopyAction && drop.dropAction() == Qt::CopyAction;
    }

    /// A 32 x 32 BMP file of one colour but for its bottom-left pixel.
    QString WriteBmp(const char* name, std::uint32_t colour, std::uint32_t corner)
    {
        std::vector<std::uint32_t> pixels(32 * 32, colour);
        pixels[31 * 32] = corner;
        const Bitmap bitmap = MakeBitmap(32, 32, std::move(pixels), false);
        std::ofstream(Dir() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bitmap.Bytes.data()), static_cast<std::streamsize>(bitmap.Bytes.size()));
        return QString::fromStdString((Dir() / name).string());
    }

    test::ErrorRecorder errors;
    QString pictureAnswer; ///< empty: the picture dialog is cancelled
    QTemporaryDir dir_;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<TImagesForm> editor; ///< goes before the window it hooks into
};

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

/// The fields a drop or a click may set: bonus, top, block, wall, hardness.
using CellFields = std::array<std::int32_t, 5>;

CellFields Fields(const CellType& c) { return {c.Bonus, c.TopImage, c.Block, c.WallImage, c.Hardness}; }

void SetFields(CellType& c, const CellFields& f)
{
    c.Bonus = static_cast<std::uint8_t>(f[0]), c.TopImage = f[1], c.Block = static_cast<std::uint8_t>(f[2]);
    c.WallImage = f[3], c.Hardness = f[4];
}

constexpr CellFields BonusCell{2, 2, 0, -1, 0};
constexpr CellFields SteelCell{0, -1, 1, 6, 2};

struct DropCase {
    const char* name;
    int group, frame; ///< the frame selected, of image 0
    CellFields before, after;
    QPoint at = {3 * 32 + 5, 4 * 32 + 30}; ///< in cell (3, 4)
};

TEST(FieldEditing, DropsSetTheCellByTheTileTable)
{
    const DropCase cases[] = {
        {"shield on a bonus", 0, 3, BonusCell, {3, 3, 0, -1, 0}},
        {"shield on steel", 0, 3, SteelCell, {3, 3, 1, 6, 2}},
        {"stone keeps the bonus", 0, 5, BonusCell, {2, 2, 1, 5, 1}},
        {"brick over steel", 0, 4, SteelCell, {0, -1, 1, 4, 0}},
        {"fence on a bonus", 0, 8, BonusCell, {2, 2, 2, 8, 0}},
        {"fence over steel", 0, 8, SteelCell, {0, -1, 2, 8, 2}},
        {"bushes take the bonus", 0, 11, BonusCell, {0, 11, 0, -1, 0}},
        {"bushes over steel", 0, 11, SteelCell, {0, 11, 1, 6, 2}},
        {"sand on a bonus", 0, 14, BonusCell, {2, 2, 0, 14, 0}},
        {"sand on steel still blocks", 0, 14, SteelCell, {0, -1, 1, 14, 2}},
        {"the base tile", 0, 0, BonusCell, BonusCell},
        {"a tank picture", 1, 1, BonusCell, BonusCell},
        {"right of column 18", 0, 5, BonusCell, BonusCell, {608, 100}},
        {"below row 13", 0, 5, BonusCell, BonusCell, {100, 448}},
    };
    EditorFixture e;
    GameType& game = e.Game();
    e.Tool("ListAll");
    e.ClickGate(2);
    GateType& stored = *game.Gates[2];
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetFields(*stored.Cells[3][4], c.before);
        e.ClickFrame(c.frame, c.group);
        game.Gate->PlayTime = 99;
        EXPECT_TRUE(e.Drop(c.at));
        EXPECT_EQ(Fields(*stored.Cells[3][4]), c.after);
        const bool edited = c.after != c.before;
        EXPECT_EQ(game.Gate->PlayTime == 0, edited); // shown again after an edit, and only then
        if (edited) {
            EXPECT_EQ(Fields(*game.Gate->Cells[3][4]), c.after);
        }
    }
}

TEST(FieldEditing, AClickClearsACellOnlyWithClickClearCellPressedAndTheEditorOpen)
{
    struct {
        const char* name;
        bool pressed, editorOpen;
        Qt::MouseButton button;
        bool cleared;
    } const cases[] = {
        {"released, left", false, true, Qt::LeftButton, false},   {"released, right", false, true, Qt::RightButton, false},
        {"pressed, left", true, true, Qt::LeftButton, true},      {"pressed, right", true, true, Qt::RightButton, true},
        {"pressed, editor closed", true, false, Qt::LeftButton, false},
    };
    EditorFixture e;
    e.Tool("ListAll");
    e.ClickGate(1);
    CellType& cell = *e.Game().Gates[1]->Cells[2][5];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.editorOpen) e.editor->close();
        EXPECT_EQ(e.form->State().FieldEditing, c.editorOpen);
        if (e.editor->ClickClearCell->isChecked() != c.pressed) e.Tool("ClickClearCell");
        SetFields(cell, {3, 3, 1, 6, 2});
        cell.GroundImage = 15;
        QTest::mouseClick(&e.form->Field(), c.button, {}, QPoint(2 * 32 + 16, 5 * 32 + 16));
        EXPECT_EQ(Fields(cell), (c.cleared ? CellFields{0, -1, 0, -1, 2} : CellFields{3, 3, 1, 6, 2}));
        EXPECT_EQ(cell.GroundImage, 15);
    }
}

TEST(FieldEditing, AtScaleThreeDropsAndClicksLandOnTheCellUnderThePointer)
{
    EditorFixture e;
    e.Tool("ListAll");
    e.ClickGate(2);
    CellType& cell = *e.Game().Gates[2]->Cells[3][4];
    e.form->ChangeView(3, false);
    ASSERT_EQ(e.form->ViewScale(), 3);
    MainForm& form = *e.form;
    const QPoint inWindow = form.ViewOrigin() + (form.Field().pos() + QPoint(3 * 32 + 5, 4 * 32 + 30)) * 3;
    QWidget* under = form.childAt(inWindow);
    ASSERT_NE(under, &form.Field()); // the magnified picture, not the field itself
    SetFields(cell, BonusCell);
    e.ClickFrame(5);
    EXPECT_TRUE(e.Drop(under->mapFrom(&form, inWindow), under));
    EXPECT_EQ(Fields(cell), (CellFields{2, 2, 1, 5, 1})); // stone keeps the bonus
    e.Tool("ClickClearCell");
    SetFields(cell, {3, 3, 1, 6, 2});
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&form, inWindow));
    EXPECT_EQ(Fields(cell), (CellFields{0, -1, 0, -1, 2}));
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

} // namespace
} // namespace brakkon
