// The Game Editor's commands: the tool bar and the gate list. A command whose
// needs are not met does nothing, and so does a cancelled picture dialog.
#include "editor/ImagesUnit.h"

#include "platform/DataPaths.h"
#include "game/ErrorReport.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "game/GateEdits.h"
#include "editor/GateEditerUnit.h"
#include "content/Png.h"

#include <QListWidget>
#include <QStatusBar>
#include <QTreeWidget>

namespace brakkon {
std::optional<Bitmap> TImagesForm::ChoosePicture()
{
    const QString name = choosePicture_(this);
    if (name.isEmpty()) return std::nullopt;
    LoadedFrame loaded = ReadPictureFrame(std::filesystem::path(name.toStdString()), DecodePng);
    if (!loaded.Frame) ReportError(loaded.Message);
    return std::move(loaded.Frame);
}

void TImagesForm::AddGoupClick()
{
    auto& images = state_.Game.Images;
    images.emplace_back();
    TreeView1->scrollToItem(ListGroup(static_cast<std::int32_t>(images.size() - 1)));
    LibraryChanged();
}

void TImagesForm::AddClick()
{
    const auto node = SelectedNode();
    if (!node) return;
    if (!node->Image) {
        auto& images = state_.Game.Images;
        if (static_cast<std::size_t>(node->Group) >= images.size()) return;
        ImageGroup& group = images[static_cast<std::size_t>(node->Group)];
        group.emplace_back();
        TreeView1->scrollToItem(ListImage(ListGroup(node->Group), static_cast<std::int32_t>(group.size() - 1)));
        LibraryChanged();
        return;
    }
    ImageFrames* frames = SelectedImage();
    if (frames == nullptr) return;
    std::optional<Bitmap> picture = ChoosePicture();
    if (!picture) return;
    frames->push_back(std::move(*picture));
    RefreshFrames();
    LibraryChanged();
}

void TImagesForm::ChangeImageClick()
{
    ImageFrames* frames = SelectedImage();
    const auto frame = SelectedFrame();
    if (frames == nullptr || !frame || static_cast<std::size_t>(*frame) >= frames->size()) return;
    std::optional<Bitmap> picture = ChoosePicture();
    if (!picture) return;
    (*frames)[static_cast<std::size_t>(*frame)] = std::move(*picture);
    RefreshFrames();
    LibraryChanged();
}

void TImagesForm::TraClick() { SetTransparent(true); }

void TImagesForm::NotTraClick() { SetTransparent(false); }

void TImagesForm::SetTransparent(bool transparent)
{
    std::vector<Bitmap*> frames;
    const QWidget* focus = focusWidget();
    if (focus == ListView1) {
        ImageFrames* image = SelectedImage();
        const auto frame = SelectedFrame();
        if (image != nullptr && frame && static_cast<std::size_t>(*frame) < image->size())
            frames.push_back(&(*image)[static_cast<std::size_t>(*frame)]);
    } else if (focus == TreeView1) {
        const auto node = SelectedNode();
        auto& images = state_.Game.Images;
        if (node && !node->Image && static_cast<std::size_t>(node->Group) < images.size()) {
            for (ImageFrames& image : images[static_cast<std::size_t>(node->Group)])
                for (Bitmap& bitmap : image) frames.push_back(&bitmap);
        } else if (ImageFrames* image = SelectedImage()) {
            for (Bitmap& bitmap : *image) frames.push_back(&bitmap);
        }
    }
    if (frames.empty()) return;
    for (Bitmap* bitmap : frames) bitmap->Transparent = transparent;
    RefreshFrames();
    LibraryChanged();
}

void TImagesForm::SetBackAllClick()
{
    const auto gate = SelectedGate();
    const auto node = SelectedNode();
    const auto frame = SelectedFrame();
    if (!gate || !node || node->Group != GroupTiles || node->Image != 0 || !frame || *frame < TileGroundFirst) return;
    for (CellColumn& column : state_.Game.Gates[static_cast<std::size_t>(*gate)]->Cells)
        for (auto& cell : column) cell->GroundImage = *frame;
    ShowGate(*gate);
}

void TImagesForm::AddGateClick()
{
    auto& gates = state_.Game.Gates;
    const auto index = static_cast<std::int32_t>(gates.size());
    gates.push_back(NewGate(state_.Game, index));
    ListGate(index);
    ListBox1->scrollToBottom(); // the new gate's index is the largest
}

void TImagesForm::SaveClick()
{
    const std::filesystem::path path = GameDataSavePath(main_.AppPath());
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    bool saved = false;
    if (error)
        ReportError(MsgDataIoError, FullPath(path) + ": its folder cannot be made: " + ErrnoText(error.value()));
    else
        saved = SaveGameDataFile(path, state_.Game);
    // The line of an earlier save must not stand after a failed one.
    StatusBar1->showMessage((saved ? QStringLiteral("Saved %1") : QStringLiteral("Not saved: %1"))
                                .arg(QString::fromStdString(path.string())));
}

void TImagesForm::ListAllClick()
{
    const GameType& game = state_.Game;
    for (std::size_t g = 0; g < game.Gates.size(); ++g) ListGate(static_cast<std::int32_t>(g));
    for (std::size_t g = 0; g < game.Images.size(); ++g) {
        QTreeWidgetItem* groupNode = ListGroup(static_cast<std::int32_t>(g));
        for (std::size_t i = 0; i < game.Images[g].size(); ++i) ListImage(groupNode, static_cast<std::int32_t>(i));
    }
}

void TImagesForm::ListBox1Click()
{
    if (const auto gate = SelectedGate()) ShowGate(*gate);
}

void TImagesForm::ListBox1DblClick()
{
    const auto gate = SelectedGate();
    if (!gate) return;
    if (EditGate(state_.Game.Gates[static_cast<std::size_t>(*gate)].get(), this)) ShowGate(*gate);
}

} // namespace brakkon
