// The Game Editor's window: its controls, the selections read back from the
// entries' texts, the frame view, the entries it adds, opening and closing.
// The commands are in ImagesCommands.cpp.
#include "editor/ImagesUnit.h"

#include "view/FrameLibrary.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace brakkon {
namespace {

/// The window is made no shorter than this to stand beside the game's window.
constexpr int MinEditorHeight = 240;

constexpr int GroupIcon = 0; ///< tree icons of group and image nodes
constexpr int ImageIcon = 1;

/// The frame view: what is dragged out of it carries only the editor's
/// token, by which the field tells a tile from what other programs drop.
class FrameView : public QListWidget {
public:
    FrameView(QByteArray token, QWidget* parent) : QListWidget(parent), token_(std::move(token)) {}

protected:
    [[nodiscard]] QStringList mimeTypes() const override { return {FrameMimeType}; }
    [[nodiscard]] QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override
    {
        if (items.isEmpty()) return nullptr;
        auto* data = new QMimeData;
        data->setData(FrameMimeType, token_);
        return data;
    }

private:
    QByteArray token_;
};

/// The tree's image list: a folder for a group, a page for an image.
QIcon TreeIcon(const QStyle& style, int index)
{
    return style.standardIcon(index == GroupIcon ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
}

/// An entry's text as the index it stands for; none when it is no number.
std::optional<std::int32_t> Number(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0) return std::nullopt;
    return value;
}

/// The first of `count` entries whose number is above `number`: where an
/// entry for `number` goes to keep the entries in order.
template <typename TextAt>
int InsertionRow(int count, std::int32_t number, TextAt textAt)
{
    int row = 0;
    while (row < count && Number(textAt(row)).value_or(-1) < number) ++row;
    return row;
}

} // namespace

TImagesForm::TImagesForm(EditorHost& main, PictureDialog choosePicture)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      main_(main), state_(main.State()), choosePicture_(std::move(choosePicture))
{
    setWindowTitle(QStringLiteral("Game Editor"));
    // The game ends when its main window closes, whether or not this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    BuildControls();
    main_.Hook([this] { Open(); },
               {[this](QDragMoveEvent& e) { Image1DragOver(e); },
                [this](QDropEvent& e) {
                    if (!FromFrameView(e.mimeData())) return e.ignore();
                    // A copy: a move would take the frame out of the frame view.
                    e.setDropAction(Qt::CopyAction);
                    e.accept();
                    const QPoint at = e.position().toPoint();
                    Image1DragDrop(at.x(), at.y());
                },
                [this](QMouseEvent& e) {
                    const QPoint at = e.position().toPoint();
                    Image1MouseDown(at.x(), at.y());
                }});
}

TImagesForm::~TImagesForm()
{
    main_.Hook({}, {});
    main_.SetFieldEditing(false);
    // Clearing the lists while they are taken down must not reach the handlers.
    for (QObject* list : {static_cast<QObject*>(ListBox1), static_cast<QObject*>(TreeView1), static_cast<QObject*>(ListView1)})
        list->disconnect(this);
}

void TImagesForm::BuildControls()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const std::pair<const char*, void (TImagesForm::*)()> commands[] = {
        {"AddGoup", &TImagesForm::AddGoupClick},       {"Add", &TImagesForm::AddClick},
        {"ChangeImage", &TImagesForm::ChangeImageClick}, {"Tra", &TImagesForm::TraClick},
        {"not tra", &TImagesForm::NotTraClick},        {nullptr, nullptr},
        {"ClickClearCell", nullptr},                   {"SetBackAll", &TImagesForm::SetBackAllClick},
        {nullptr, nullptr},                            {"AddGate", &TImagesForm::AddGateClick},
        {"Save", &TImagesForm::SaveClick},             {"ListAll", &TImagesForm::ListAllClick},
    };
    for (const auto& [caption, handler] : commands) {
        if (caption == nullptr) {
            ToolBar1->addSeparator();
            continue;
        }
        QAction* action = ToolBar1->addAction(QString::fromLatin1(caption));
        if (handler != nullptr)
            connect(action, &QAction::triggered, this, handler);
        else
            (ClickClearCell = action)->setCheckable(true);
        QWidget* button = ToolBar1->widgetForAction(action);
        button->setObjectName(action->text());
        // "Tra" and "not tra" act on the control that has the focus: a button must not take it.
        button->setFocusPolicy(Qt::NoFocus);
    }

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFixedWidth(72);
    connect(ListBox1, &QListWidget::itemClicked, this, &TImagesForm::ListBox1Click);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TImagesForm::ListBox1DblClick);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setColumnCount(1);
    TreeView1->setFixedWidth(150);
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, &TImagesForm::TreeView1Change);

    ListView1 = new FrameView(dragToken_, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setViewMode(QListView::IconMode);
    ListView1->setIconSize(QSize(FrameIconSize, FrameIconSize));
    ListView1->setMovement(QListView::Static);
    ListView1->setResizeMode(QListView::Adjust);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setDragEnabled(true);
    ListView1->setDragDropMode(QAbstractItemView::DragOnly);
    ListView1->setDefaultDropAction(Qt::CopyAction);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);

    auto* lists = new QHBoxLayout;
    lists->addWidget(ListBox1);
    lists->addWidget(TreeView1);
    lists->addWidget(ListView1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(ToolBar1);
    layout->addLayout(lists, 1);
    layout->addWidget(StatusBar1);
    // Wide enough for every tool-bar button: none hides behind an extension arrow.
    resize(QSize(std::max(640, ToolBar1->sizeHint().width()), 360).expandedTo(minimumSizeHint()));
    StatusBar1->showMessage(QStringLiteral("\"ListAll\" lists the stored gates and pictures; \"AddGate\" adds a gate"));
}

void TImagesForm::PlaceBesideField()
{
    const QWidget& game = main_.Window();
    const QScreen* screen = game.screen();
    if (screen == nullptr) return;
    const QRect room = screen->availableGeometry();
    const QRect field = game.frameGeometry();
    // Its frame as the window system tells it before the window shows, but
    // no thinner than the game's window's (a window manager may not tell).
    create();
    const QMargins margins = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const QSize frame = (field.size() - game.size()).expandedTo({margins.left() + margins.right(), margins.top() + margins.bottom()});
    const QSize size = this->size().expandedTo(minimumSizeHint()) + frame;
    // Right of the game's window, left of it, below or above it.
    const QPoint places[] = {{field.right() + 1, field.top()},
                             {field.left() - size.width(), field.top()},
                             {field.left(), field.bottom() + 1},
                             {field.left(), field.top() - size.height()}};
    for (QPoint place : places)
        if (room.contains(QRect(place, size))) return move(place);
    // The game's window moved over as little as it takes, so that both stand
    // on the screen side by side, or one above the other with this window
    // shorter if need be.
    if (!game.isFullScreen()) {
        const int shortest = std::min(size.height(), MinEditorHeight + frame.height());
        const int below = std::clamp(room.height() - field.height(), shortest, size.height());
        struct Pair {
            QSize Both;    ///< the room the two windows take
            QPoint Offset; ///< of this window from the game's
            QSize Own;     ///< this window's size with its frame
        };
        const Pair pairs[] = {
            {{field.width() + size.width(), std::max(field.height(), size.height())}, {field.width(), 0}, size},
            {{std::max(field.width(), size.width()), field.height() + below}, {0, field.height()}, {size.width(), below}},
        };
        for (const Pair& pair : pairs) {
            if (pair.Both.width() > room.width() || pair.Both.height() > room.height()) continue;
            const QPoint corner(std::min(std::max(field.left(), room.left()), room.right() + 1 - pair.Both.width()),
                                std::min(std::max(field.top(), room.top()), room.bottom() + 1 - pair.Both.height()));
            main_.Window().move(corner);
            resize(pair.Own - frame);
            return move(corner + pair.Offset);
        }
    }
    // No room for both: kept on the screen where it hides the least of the field.
    QPoint best;
    qint64 bestHidden = -1;
    for (QPoint place : places) {
        place.setX(std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - size.width() + 1)));
        place.setY(std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - size.height() + 1)));
        const QRect hidden = QRect(place, size) & field;
        const qint64 area = hidden.isEmpty() ? 0 : qint64{hidden.width()} * hidden.height();
        if (bestHidden < 0 || area < bestHidden) {
            best = place;
            bestHidden = area;
        }
    }
    move(best);
}

bool TImagesForm::FromFrameView(const QMimeData* data) const
{
    return data != nullptr && data->hasFormat(FrameMimeType) && data->data(FrameMimeType) == dragToken_;
}

QWidget* TImagesForm::ToolButton(const QString& caption) const { return ToolBar1->findChild<QToolButton*>(caption); }

void TImagesForm::Open()
{
    main_.SetFieldEditing(true);
    // Placed at the first opening, and again when it would stand over the
    // game's window (grown since, or moved there).
    if (!isVisible() && (!placed_ || frameGeometry().intersects(main_.Window().frameGeometry()))) {
        placed_ = true;
        PlaceBesideField();
    }
    show();
    raise();
    activateWindow();
}

void TImagesForm::closeEvent(QCloseEvent* event)
{
    main_.SetFieldEditing(false);
    QWidget::closeEvent(event);
}

// ---- Selections, read back from the entries' texts ----

std::optional<std::int32_t> TImagesForm::SelectedGate() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const auto gate = Number(selected.constFirst()->text());
    if (!gate || static_cast<std::size_t>(*gate) >= state_.Game.Gates.size()) return std::nullopt;
    return gate;
}

std::optional<TImagesForm::Node> TImagesForm::SelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    const QTreeWidgetItem* node = selected.constFirst();
    if (node->parent() == nullptr) {
        const auto group = Number(node->text(0));
        if (!group) return std::nullopt;
        return Node{*group, std::nullopt};
    }
    const auto group = Number(node->parent()->text(0));
    const auto image = Number(node->text(0));
    if (!group || !image) return std::nullopt;
    return Node{*group, image};
}

std::optional<std::int32_t> TImagesForm::SelectedFrame() const
{
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return Number(selected.constFirst()->text());
}

ImageFrames* TImagesForm::SelectedImage() const
{
    const auto node = SelectedNode();
    if (!node || !node->Image) return nullptr;
    auto& images = state_.Game.Images;
    const auto g = static_cast<std::size_t>(node->Group), i = static_cast<std::size_t>(*node->Image);
    if (g >= images.size() || i >= images[g].size()) return nullptr;
    return &images[g][i];
}

// ---- The frame view and the field ----

void TImagesForm::RefreshFrames()
{
    ListView1->clear();
    const ImageFrames* frames = SelectedImage();
    if (frames == nullptr) return;
    for (std::size_t f = 0; f < frames->size(); ++f) {
        // A transparent frame shows its key colour see-through, as on the field.
        const QPixmap picture = QPixmap::fromImage(FrameImage((*frames)[f]));
        new QListWidgetItem(QIcon(picture), QString::number(f), ListView1);
    }
}

void TImagesForm::TreeView1Change() { RefreshFrames(); }

// ---- The entries this window adds, kept in the order of their indices ----

void TImagesForm::ListGate(std::int32_t gate)
{
    const int count = ListBox1->count();
    const int row = InsertionRow(count, gate, [this](int r) { return ListBox1->item(r)->text(); });
    if (row < count && Number(ListBox1->item(row)->text()) == gate) return;
    ListBox1->insertItem(row, QString::number(gate));
}

QTreeWidgetItem* TImagesForm::ListGroup(std::int32_t group)
{
    const int count = TreeView1->topLevelItemCount();
    const int row = InsertionRow(count, group, [this](int r) { return TreeView1->topLevelItem(r)->text(0); });
    if (row < count && Number(TreeView1->topLevelItem(row)->text(0)) == group) return TreeView1->topLevelItem(row);
    auto* node = new QTreeWidgetItem(QStringList(QString::number(group)));
    node->setIcon(0, TreeIcon(*style(), GroupIcon));
    TreeView1->insertTopLevelItem(row, node);
    return node;
}

QTreeWidgetItem* TImagesForm::ListImage(QTreeWidgetItem* groupNode, std::int32_t image)
{
    const int count = groupNode->childCount();
    const int row = InsertionRow(count, image, [groupNode](int r) { return groupNode->child(r)->text(0); });
    if (row < count && Number(groupNode->child(row)->text(0)) == image) return groupNode->child(row);
    auto* node = new QTreeWidgetItem(QStringList(QString::number(image)));
    node->setIcon(0, TreeIcon(*style(), ImageIcon));
    groupNode->insertChild(row, node);
    groupNode->setExpanded(true);
    return node;
}

} // namespace brakkon
