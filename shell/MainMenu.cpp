#include "shell/MainMenu.h"

#include "platform/Fonts.h"
#include "platform/OverlayLabel.h"

#include <QEvent>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace brakkon {
namespace {

const QColor ItemNormal(220, 150, 20);
const QColor ItemMarked(250, 200, 80);

const std::array<QString, MenuItemCount> MenuCaptions{
    QStringLiteral("1. New Game One Player"), QStringLiteral("2. New Game Two Players"),
    QStringLiteral("3. Load Game"),           QStringLiteral("4. Save Game"),
    QStringLiteral("5. Game Control"),        QStringLiteral("6. Exit"),
    QStringLiteral("7. Return")};
constexpr std::array<int, MenuItemCount> MenuTops{104, 136, 168, 200, 232, 264, 304};
constexpr int MenuLeft = 176;
constexpr int MenuShadowShift = 2;

/// The down arrow: each item to the next, "6. Exit" to "7. Return" when it
/// is shown, else round to the first.
constexpr std::array<std::array<int, 2>, MenuItemCount> DownSteps{{{2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 1}, {0, 0}}};
/// The up arrow: each item to the one before, the first round to "7. Return"
/// when it is shown, else to "6. Exit".
constexpr std::array<std::array<int, 2>, MenuItemCount> UpSteps{{{7, 6}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}};

void SetColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

/// The "[Menu]" button: flat, taking no focus, its caption a picture drawn
/// once (it lies where enemies enter, and a text caption would be laid out
/// on every repaint there).
QToolButton* MakeMenuButton(QWidget* field)
{
    auto* button = new QToolButton(field);
    button->setObjectName(QStringLiteral("SpeedButton1"));
    button->setText(QStringLiteral("[Menu]"));
    button->setToolTip(QStringLiteral("Menu"));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(552, 0, 49, 17);
    QPixmap caption(button->size());
    caption.fill(Qt::transparent);
    {
        QPainter painter(&caption);
        painter.setFont(PointFont(LabelFontFamily, 8, true));
        painter.setPen(Qt::white);
        painter.drawText(caption.rect(), Qt::AlignCenter, button->text());
    }
    button->setIcon(QIcon(caption));
    button->setIconSize(caption.size());
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

} // namespace

MainMenu::MainMenu(QWidget* field, Handlers handlers) : QObject(field), handlers_(std::move(handlers))
{
    SpeedButton1 = MakeMenuButton(field);
    QObject::connect(SpeedButton1, &QToolButton::clicked, this, [this] { handlers_.ButtonClick(); });

    const QFont menu = PixelFont(TitleFontFamily, 27, true);
    for (int pass = 0; pass < 2; ++pass) { // shadows first, items over them
        for (int n = 1; n <= MenuItemCount; ++n) {
            const auto at = static_cast<std::size_t>(n - 1);
            const bool shadow = pass == 0;
            const int shift = shadow ? MenuShadowShift : 0;
            const QString name = shadow ? QStringLiteral("MenuItem%1%1").arg(n) : QStringLiteral("MenuItem%1").arg(n);
            QLabel* label = MakeOverlayLabel(field, name, MenuCaptions[at], menu, shadow ? QColor(Qt::white) : ItemNormal,
                                             MenuLeft - shift, MenuTops[at] - shift);
            label->setProperty("tag", n);
            label->installEventFilter(this);
            label->hide();
            (shadow ? MenuShadows : MenuItems)[at] = label;
        }
    }
}

void MainMenu::Show(bool shown, bool returnShown)
{
    menuShown_ = shown;
    returnShown_ = returnShown;
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        shown_[i] = (i + 1 == shown_.size() ? returnShown : shown) && !withheld_[i];
        MenuItems[i]->setVisible(shown_[i]);
        MenuShadows[i]->setVisible(shown_[i]);
    }
}

void MainMenu::Withhold(int n, bool withheld)
{
    if (n < 1 || n > MenuItemCount) return;
    withheld_[static_cast<std::size_t>(n - 1)] = withheld;
    Show(menuShown_, returnShown_);
}

bool MainMenu::Shown(int n) const { return n >= 1 && n <= MenuItemCount && shown_[static_cast<std::size_t>(n - 1)]; }

void MainMenu::Mark(int n)
{
    marked_ = n >= 1 && n <= MenuItemCount ? n : 0;
    for (int k = 1; k <= MenuItemCount; ++k) SetColour(MenuItems[static_cast<std::size_t>(k - 1)], k == marked_ ? ItemMarked : ItemNormal);
}

void MainMenu::Down() { Walk(DownSteps); }

void MainMenu::Up() { Walk(UpSteps); }

/// From a marked item that is shown, to the first of its steps that is
/// shown; with none of them shown, or no shown item marked, to the first
/// item when it is shown. While the menu is hidden nothing moves.
void MainMenu::Walk(const Steps& steps)
{
    if (Shown(marked_))
        for (int to : steps[static_cast<std::size_t>(marked_ - 1)])
            if (Shown(to)) return Mark(to);
    if (Shown(1)) Mark(1);
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event)
{
    for (const auto& labels : {MenuItems, MenuShadows})
        for (QLabel* label : labels)
            if (watched == label) return LabelEvent(label, event);
    return QObject::eventFilter(watched, event);
}

bool MainMenu::LabelEvent(QLabel* label, QEvent* event)
{
    const int tag = label->property("tag").toInt();
    switch (event->type()) {
    case QEvent::Enter: handlers_.MouseEnter(tag); return false;
    case QEvent::Leave: handlers_.MouseLeave(); return false;
    case QEvent::MouseButtonPress: return true; // the label takes the click
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) handlers_.Click(tag);
        return true;
    }
    default: return false;
    }
}

} // namespace brakkon
