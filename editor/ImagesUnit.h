// ImagesUnit: the Game Editor window "Game Editor", the authoring tool of
// "Game.dat". Its tool bar builds the image library group by group from BMP and
// PNG files (game/PictureImport.h), makes frames transparent or opaque, adds gates
// and saves the whole game data; its gate list shows a gate on the main
// window's field (and opens the gate dialog on a double click); its frame view
// is where tiles are dragged from onto the field, whose drops and clicks it
// handles (FieldEditing.cpp); the field takes no drop of another program.
//
// Made hidden with the main window and living as long as it; F12 in the main
// window shows it beside that window and turns field editing on (the game
// stands still meanwhile), closing it turns that off. It reaches the main
// window only through EditorHost, and goes before that window does.
// Works on the main window's game state, which it does not own: edits go to
// Game in memory and reach the disk by "Save". The three lists start empty
// and hold only what this window added; every entry's text is the index it
// stands for, and the commands read their selections back from those texts.
#pragma once

#include "editor/EditorHost.h"
#include "platform/FileDialogs.h"

#include <QRandomGenerator>
#include <QWidget>

#include <optional>

class QAction;
class QListWidget;
class QMimeData;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace brakkon {

/// Frames show at this size in the frame view.
constexpr int FrameIconSize = 32;

/// What a frame dragged out of the frame view carries: the editor's token.
inline const QString FrameMimeType = QStringLiteral("application/x-brakkon-frame");

class TImagesForm : public QWidget {
    Q_OBJECT
public:
    /// Made hidden; hooks F12 and the field's editing events of the main window.
    explicit TImagesForm(EditorHost& main, PictureDialog choosePicture = RunPictureDialog);
    ~TImagesForm() override;

    /// F12: shows the window on top and turns field editing on.
    void Open();

    // ---- The tool bar ----
    void AddGoupClick();
    void AddClick();
    void ChangeImageClick();
    void TraClick();
    void NotTraClick();
    void SetBackAllClick();
    void AddGateClick();
    void SaveClick();
    void ListAllClick();

    // ---- The lists ----
    void ListBox1Click();
    void ListBox1DblClick();
    void TreeView1Change();

    // ---- The main window's field (FieldEditing.cpp) ----
    void Image1DragOver(QDragMoveEvent& event);
    void Image1DragDrop(int X, int Y);
    void Image1MouseDown(int X, int Y);

    /// True when a drag carries `data` out of this editor's frame view.
    [[nodiscard]] bool FromFrameView(const QMimeData* data) const;

    /// A tool-bar button by its caption, for the tests.
    [[nodiscard]] QWidget* ToolButton(const QString& caption) const;

    QToolBar* ToolBar1 = nullptr;
    QListWidget* ListBox1 = nullptr;  ///< the gate list
    QTreeWidget* TreeView1 = nullptr; ///< groups and their images
    QListWidget* ListView1 = nullptr; ///< the frames of the selected image
    QStatusBar* StatusBar1 = nullptr;
    QAction* ClickClearCell = nullptr; ///< pressed: clicks on the field clear cells

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// The selected tree node: its group, and its image for an image node.
    struct Node {
        std::int32_t Group;
        std::optional<std::int32_t> Image;
    };

    void BuildControls();
    /// Moves the window beside the game's window, moving that one over when
    /// only then both fit on the screen; without room, where it hides the
    /// least of the field.
    void PlaceBesideField();
    [[nodiscard]] std::optional<std::int32_t> SelectedGate() const;
    [[nodiscard]] std::optional<Node> SelectedNode() const;
    [[nodiscard]] std::optional<std::int32_t> SelectedFrame() const;
    /// The frames of the selected image node; null when none is selected.
    [[nodiscard]] ImageFrames* SelectedImage() const;
    void RefreshFrames();
    void SetTransparent(bool transparent);
    /// Asks for a picture and reads it; none when cancelled or unreadable (reported).
    [[nodiscard]] std::optional<Bitmap> ChoosePicture();
    /// The frames changed: the field's pictures are made again and the field redrawn.
    void LibraryChanged() { main_.LibraryChanged(); }
    /// Shows stored gate `index` on the field, as a new two-player game.
    void ShowGate(std::int32_t index) { main_.ShowGate(index); }
    QTreeWidgetItem* ListGroup(std::int32_t group);
    QTreeWidgetItem* ListImage(QTreeWidgetItem* groupNode, std::int32_t image);
    void ListGate(std::int32_t gate);

    EditorHost& main_;
    MainState& state_;
    PictureDialog choosePicture_;
    /// Marks the drags of this editor's frame view; no other program knows it.
    const QByteArray dragToken_ = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    bool placed_ = false; ///< placed beside the game's window once
};

} // namespace brakkon
