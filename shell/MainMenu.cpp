// The menu of numbered lines over the field: showing and hiding it, the
// highlight, the arrows, the mouse on its labels, the "[Menu]" button and the
// seven commands.
#include "shell/MainUnit.h"

#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/SavedGame.h"

#include <QEvent>
#include <QMouseEvent>

namespace brakkon {
namespace {

const QColor ItemNormal(220, 150, 20);
const QColor ItemHighlighted(250, 200, 80);

std::filesystem::path ToPath(const QString& name) { return std::filesystem::path(name.toStdString()); }

} // namespace

void MainForm::ShowMenu(bool shown)
{
    for (std::size_t i = 0; i + 1 < MenuItems.size(); ++i) {
        MenuItems[i]->setVisible(shown);
        MenuShadows[i]->setVisible(shown);
    }
    const bool returnShown = !state_.GameOver && shown;
    MenuItems.back()->setVisible(returnShown);
    MenuShadows.back()->setVisible(returnShown);
}

bool MainForm::MenuItemShown(int n) const
{
    return n >= 1 && n <= MenuItemCount && !MenuItems[static_cast<std::size_t>(n - 1)]->isHidden();
}

bool MainForm::MenuItemHighlighted(int n) const
{
    return n >= 1 && n <= MenuItemCount && highlighted_[static_cast<std::size_t>(n - 1)];
}

void MainForm::SetItemHighlight(QLabel* item, bool highlighted)
{
    QPalette palette = item->palette();
    palette.setColor(QPalette::WindowText, highlighted ? ItemHighlighted : ItemNormal);
    item->setPalette(palette);
    highlighted_[static_cast<std::size_t>(item->property("tag").toInt() - 1)] = highlighted;
}

void MainForm::HighlightMenuItem(int n)
{
    for (QLabel* item : MenuItems) SetItemHighlight(item, false);
    if (n >= 1 && n <= MenuItemCount) SetItemHighlight(MenuItems[static_cast<std::size_t>(n - 1)], true);
}

void MainForm::MenuDown()
{
    auto on = [this](int k) { return MenuItemShown(k) && MenuItemHighlighted(k); };
    for (int k = 1; k <= 5; ++k) {
        if (on(k) && MenuItemShown(k + 1)) {
            HighlightMenuItem(k + 1);
            return;
        }
    }
    if (on(6)) {
        if (MenuItemShown(7))
            HighlightMenuItem(7);
        else if (MenuItemShown(1))
            HighlightMenuItem(1);
        return;
    }
    if (MenuItemShown(1)) HighlightMenuItem(1);
}

void MainForm::MenuUp()
{
    auto on = [this](int k) { return MenuItemShown(k) && MenuItemHighlighted(k); };
    if (on(7) && MenuItemShown(6)) {
        HighlightMenuItem(6);
        return;
    }
    for (int k = 6; k >= 2; --k) {
        if (on(k) && MenuItemShown(k - 1)) {
            HighlightMenuItem(k - 1);
            return;
        }
    }
    if (on(1) && (MenuItemShown(7) || MenuItemShown(6))) {
        HighlightMenuItem(MenuItemShown(7) ? 7 : 6);
        return;
    }
    if (MenuItemShown(1)) HighlightMenuItem(1);
}

void MainForm::MenuCommand(int n)
{
    if (Replaying() && n != 6) return; // the replay plays the menu too; "Exit" still ends
    switch (n) {
    case 1: NewGame(false); break;
    case 2: NewGame(true); break;
    case 3: LoadGame(); break;
    case 4: SaveGame(); break;
    case 5: RunGameControl(); break;
    case 6: close(); break;
    case 7: ResumeGame(); break;
    default: break;
    }
}

void MainForm::NewGame(bool secondPlayer)
{
    if (state_.Game.Gates.empty()) return;
    NoteGameStart();
    Note(ReplayWhat::NewGame, secondPlayer ? 2 : 1);
    ShowKeyHelp(true);
    SetTitle(state_.GameTitle, true);
    // A won gate whose change was still to come belongs to the game left
    // behind; the new game must not skip its first gate for it.
    state_.NextGatePending = false;
    StartGate(state_, *this, 0, true, secondPlayer);
    ResumeGame();
}

void MainForm::LoadGame()
{
    const QString name = seams_.ChooseFile(this, FileDialogMode::Open);
    if (name.isEmpty() || !LoadGameFile(ToPath(name), *state_.Game.Gate)) return;
    NoteGameStart();
    if (recorder_) recorder_->NoteLoad(*state_.Game.Gate);
    state_.NextGatePending = false; // as for a new game: the loaded gate is not won yet
    DrawField(state_.Game.Gate.get());
    ShowTitle(false);
    ResumeGame();
}

void MainForm::SaveGame()
{
    const QString name = WithGameFileSuffix(seams_.ChooseFile(this, FileDialogMode::Save));
    if (!name.isEmpty()) (void)SaveGameFile(ToPath(name), *state_.Game.Gate);
}

void MainForm::SpeedButton1Click()
{
    if (Replaying() || state_.FieldEditing) return;
    if (state_.Playing)
        PauseGame();
    else if (!state_.GameOver)
        ResumeGame();
}

void MainForm::MenuItem1MouseEnter(int tag) { HighlightMenuItem(tag); }

void MainForm::MenuItem1MouseLeave() { HighlightMenuItem(-1); }

void MainForm::MenuItem1Click(int tag) { MenuCommand(tag); }

bool MainForm::MenuLabelEvent(QLabel* label, QEvent* event)
{
    const int tag = label->property("tag").toInt();
    switch (event->type()) {
    case QEvent::Enter: MenuItem1MouseEnter(tag); return false;
    case QEvent::Leave: MenuItem1MouseLeave(); return false;
    case QEvent::MouseButtonPress: return true; // the label takes the click
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) MenuItem1Click(tag);
        return true;
    }
    default: return false;
    }
}

} // namespace brakkon
