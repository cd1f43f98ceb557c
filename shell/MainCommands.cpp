// What the menu does: pausing and resuming, the "[Menu]" button and the
// seven commands (a new game for one or two players, loading and saving a
// game, the Game Control dialog, leaving, returning to the game).
#include "shell/MainUnit.h"

#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/SavedGame.h"
#include "platform/ControlSettings.h"
#include "shell/ControlUnit.h"
#include "shell/NetGameDialog.h"
#include "shell/StatusLabels.h"

namespace brakkon {
namespace {

std::filesystem::path ToPath(const QString& name) { return std::filesystem::path(name.toStdString()); }

} // namespace

void MainForm::PauseGame() { Driver().Apply(Command::Of(CommandKind::Pause)); }

void MainForm::ResumeGame() { Driver().Apply(Command::Of(CommandKind::Resume)); }

void MainForm::SpeedButton1Click()
{
    if (Replaying() || window_.FieldEditing || net_->PauseButton()) return;
    if (state_.Playing)
        PauseGame();
    else if (!state_.GameOver)
        ResumeGame();
}

void MainForm::MenuCommand(int n)
{
    if (Replaying() && n != 6) return; // the replay plays the menu too; "Exit" still ends
    if (net_->MenuCommand(n)) return;
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
    if (!Driver().Apply(Command::NewGame(secondPlayer ? 2 : 1))) return; // no gate stored
    labels_->ShowKeyHelp(true);
    ResumeGame();
}

void MainForm::LoadGame()
{
    const QString name = seams_.ChooseFile(this, FileDialogMode::Open);
    std::vector<std::uint8_t> bytes;
    if (name.isEmpty() || !ReadSavedGameFile(ToPath(name), bytes)) return;
    if (net_->Now() == NetWindow::Phase::Playing) {
        (void)net_->HostLoad(std::move(bytes)); // loaded on both sides on one tick
        return;
    }
    if (!Driver().Apply(Command::LoadGame(std::move(bytes)))) return;
    ResumeGame();
}

void MainForm::SaveGame()
{
    const QString name = WithGameFileSuffix(seams_.ChooseFile(this, FileDialogMode::Save));
    if (!name.isEmpty()) (void)SaveGameFile(ToPath(name), *state_.Game.Gate);
}

void MainForm::RunGameControl()
{
    std::int32_t interval = Timer1.Interval();
    const bool network = net_->Now() == NetWindow::Phase::Playing;
    auto setStep = [this, network](std::int32_t step) {
        if (network)
            net_->HostStep(step); // both sides take it on the same tick
        else if (step != state_.MoveStep)
            Driver().Apply(Command::Of(CommandKind::Step, step));
    };
    if (brakkon::RunGameControl(this, state_, interval, setStep, *sound_)) {
        if (!network) Timer1.SetInterval(interval); // a network game keeps the host's pace
        if (seams_.OpenSettings)
            WriteControlChoice(*seams_.OpenSettings(), {interval, state_.MoveStep, sound_->SoundOn, state_.MusicOn});
    }
}

NetGameDialog* MainForm::OpenNetworkGame()
{
    if (Replaying() || window_.FieldEditing || net_->Now() == NetWindow::Phase::Playing) return nullptr;
    if (!netDialog_) {
        const auto identity = IdentityOfFile(dataPath_);
        netDialog_ = new NetGameDialog(*net_, seams_.FindGames && identity ? seams_.FindGames(*identity) : nullptr, this);
        netDialog_->setAttribute(Qt::WA_DeleteOnClose);
    }
    netDialog_->open(); // waiting goes on in the event loop, the dialog open
    netDialog_->raise();
    return netDialog_;
}

ControlChoice MainForm::KeptControls() const
{
    const ControlChoice defaults{GameTimerInterval, DefaultMoveStep, true, true};
    return seams_.OpenSettings ? ReadControlChoice(*seams_.OpenSettings(), defaults) : defaults;
}

} // namespace brakkon
