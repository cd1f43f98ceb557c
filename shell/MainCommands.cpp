// What the menu does: pausing and resuming, the "[Menu]" button and the
// seven commands (a new game for one or two players, loading and saving a
// game, the Game Control dialog, leaving, returning to the game).
#include "shell/MainUnit.h"

#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/SavedGame.h"
#include "platform/ControlSettings.h"
#include "shell/ControlUnit.h"
#include "shell/StatusLabels.h"

namespace brakkon {
namespace {

std::filesystem::path ToPath(const QString& name) { return std::filesystem::path(name.toStdString()); }

} // namespace

void MainForm::PauseGame()
{
    replay_.Note(ReplayWhat::Pause);
    brakkon::PauseGame(state_, *host_);
}

void MainForm::ResumeGame()
{
    replay_.Note(ReplayWhat::Resume);
    brakkon::ResumeGame(state_, *host_);
}

void MainForm::SpeedButton1Click()
{
    if (Replaying() || window_.FieldEditing) return;
    if (state_.Playing)
        PauseGame();
    else if (!state_.GameOver)
        ResumeGame();
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
    replay_.GameStarts(state_, dataPath_);
    replay_.Note(ReplayWhat::NewGame, secondPlayer ? 2 : 1);
    labels_->ShowKeyHelp(true);
    host_->SetTitle(GameTitle, true);
    // A won gate whose change was still to come belongs to the game left
    // behind; the new game must not skip its first gate for it.
    state_.NextGatePending = false;
    StartGate(state_, *host_, 0, true, secondPlayer);
    ResumeGame();
}

void MainForm::LoadGame()
{
    const QString name = seams_.ChooseFile(this, FileDialogMode::Open);
    if (name.isEmpty() || !LoadGameFile(ToPath(name), *state_.Game.Gate)) return;
    replay_.GameStarts(state_, dataPath_);
    replay_.NoteLoad(*state_.Game.Gate);
    state_.NextGatePending = false; // as for a new game: the loaded gate is not won yet
    DrawField(state_.Game.Gate.get());
    labels_->ShowTitle(false);
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
    const std::int32_t step = state_.MoveStep;
    if (brakkon::RunGameControl(this, state_, interval, *host_, *sound_)) {
        Timer1.SetInterval(interval);
        if (seams_.OpenSettings)
            WriteControlChoice(*seams_.OpenSettings(), {interval, state_.MoveStep, sound_->SoundOn, state_.MusicOn});
    }
    if (state_.MoveStep != step) replay_.Note(ReplayWhat::Step, state_.MoveStep);
}

ControlChoice MainForm::KeptControls() const
{
    const ControlChoice defaults{GameTimerInterval, DefaultMoveStep, true, true};
    return seams_.OpenSettings ? ReadControlChoice(*seams_.OpenSettings(), defaults) : defaults;
}

} // namespace brakkon
