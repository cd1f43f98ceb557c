// The Game Editor's suites: the main window over copies of the built data
// files with the Game Editor opened by F12, clicks on its lists and tool bar,
// and tiles dragged from its frame view onto the field.
#pragma once

#include "game/Bmp.h"
#include "tests/GuiSupport.h"
#include "editor/ImagesUnit.h"

#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>

namespace brakkon::test {

using Files = std::initializer_list<const char*>;

/// The main window over `appDir` (by default a fresh folder holding copies of
/// `files`), shown, with the Game Editor made and, when `open`, opened by F12.
class EditorFixture {
public:
    explicit EditorFixture(Files files = {"Game.dat", "Game"}, std::filesystem::path appDir = {}, bool open = true)
    {
        if (appDir.empty()) appDir = Dir();
        for (const char* name : files) std::filesystem::copy_file(test::BuiltDir / name, appDir / name);
        MainSeams seams;
        seams.TimersTick = false; // the scene behind the menu stands still
        form = std::make_unique<MainForm>(QString::fromStdString(appDir.string()), std::move(seams));
        editor = std::make_unique<TImagesForm>(form->Editor(), [this](QWidget*) { return pictureAnswer; });
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        if (open) Open();
    }

    /// F12 in the main window.
    void Open()
    {
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

    /// What the frame view gives a drag of its selected frame (of its first
    /// one when none is selected).
    [[nodiscard]] std::unique_ptr<QMimeData> OwnFrame() const
    {
        const QListWidget& view = *editor->ListView1;
        QModelIndexList frames = view.selectionModel()->selectedIndexes();
        if (frames.isEmpty()) frames.append(view.model()->index(0, 0));
        return std::unique_ptr<QMimeData>(view.model()->mimeData(frames));
    }

    /// Drags `mime` (by default a frame of the frame view), offered as a
    /// move, onto the field and drops it at `at`; true when the field takes
    /// both as a copy (a move would take the frame out of the frame view).
    /// `target`: the widget the window system gives the drag to, by default
    /// the field.
    bool Drop(QPoint at, QWidget* target = nullptr, const QMimeData* mime = nullptr)
    {
        if (target == nullptr) target = &form->Field();
        const std::unique_ptr<QMimeData> own = mime == nullptr ? OwnFrame() : nullptr;
        if (mime == nullptr) mime = own.get();
        if (mime == nullptr) {
            ADD_FAILURE() << "the frame view gives nothing to drag";
            return false;
        }
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
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

/// The fields a drop or a click may set: bonus, top, block, wall, hardness.
using CellFields = std::array<std::int32_t, 5>;

inline CellFields Fields(const CellType& c) { return {c.Bonus, c.TopImage, c.Block, c.WallImage, c.Hardness}; }

inline void SetFields(CellType& c, const CellFields& f)
{
    c.Bonus = static_cast<std::uint8_t>(f[0]), c.TopImage = f[1], c.Block = static_cast<std::uint8_t>(f[2]);
    c.WallImage = f[3], c.Hardness = f[4];
}

} // namespace brakkon::test
