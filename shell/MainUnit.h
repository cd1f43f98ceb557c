// MainUnit: the main window "Brakkon". Panel1 holds the play field Image1
// with the status line, the title, the key help and the fourteen menu labels
// lying over it; Timer1 and Timer2 drive the game; the window takes every key
// before its controls and runs the menu.
//
// Owns the game's whole state (MainState), the field canvas and every
// control, the game pads (MainPads) and, at a scale above 1 or full screen,
// the Magnifier that shows Panel1. Implements GameHost, through which the engine (game/) draws,
// refreshes the status line, sounds, shows the menu and switches the timers.
// Modal parts come through MainSeams so that tests and benchmarks can build
// the window without them.
#pragma once

#include "view/FieldCanvas.h"
#include "view/FieldWidget.h"
#include "platform/FileDialogs.h"
#include "platform/GamePads.h"
#include "game/GameHost.h"
#include "platform/KeyMap.h"
#include "game/MainState.h"
#include "sim/ReplayPlay.h"
#include "view/Sound.h"
#include "platform/Timer.h"

#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QFrame;
class QSettings;

namespace brakkon {

class Magnifier;
class MainPads;
struct ControlChoice;

/// What the main window asks of the world outside it.
struct MainSeams {
    /// The intro window: true to play, false to end the program at once.
    std::function<bool()> ShowIntro = [] { return true; };
    /// The ".gam" file dialogs of "Load Game" and "Save Game".
    FileDialog ChooseFile = RunFileDialog;
    /// The effects and music players: over SDL2_mixer, silent without a sound
    /// device.
    std::function<std::unique_ptr<GameSound>()> MakeSound = MakeGameSound;
    /// Called at the start of each game tick (the pacing benchmark's clock).
    std::function<void()> GameTickObserved;
    /// The game pads (MainPads); unset or null: the keyboard alone.
    std::function<std::unique_ptr<PadSource>()> OpenPads;
    /// Where the window's scale and full-screen choice and the Game Control
    /// dialog's choices are kept; unset: not kept.
    std::function<std::unique_ptr<QSettings>()> OpenSettings;
    /// False: the game, clock and pad timers keep their state but never tick
    /// by themselves; the caller runs Timer1Timer, Timer2Timer and PollPads
    /// (the tests, which must not depend on the machine's speed).
    bool TimersTick = true;
};

/// Names the application "Brakkon" for the desktop (its entry "brakkon") and
/// gives it no display name: the window system would append one to every
/// window's caption, and the captions are the game's own.
void NameApplication();

constexpr int MenuItemCount = 7;
constexpr int GameTimerInterval = 16;    ///< milliseconds
constexpr int ClockTimerInterval = 1000; ///< milliseconds

class MainForm : public QWidget, public GameHost {
    Q_OBJECT
public:
    /// Runs FormCreate: `appPath` is the directory of the game's files.
    explicit MainForm(QString appPath, MainSeams seams = {});
    ~MainForm() override;

    /// The intro was left without "Play Game": the program ends unshown.
    [[nodiscard]] bool Cancelled() const { return cancelled_; }

    // ---- The window's handlers ----
    void FormShow();
    void FormDeactivate();
    void FormKeyDown(KeyCode& key);
    void FormKeyUp(KeyCode& key);
    void Timer1Timer();
    void Timer2Timer();
    void SpeedButton1Click();
    void MenuItem1MouseEnter(int tag);
    void MenuItem1MouseLeave();
    void MenuItem1Click(int tag);

    // ---- The menu ----
    void PauseGame();
    void ResumeGame();
    void HighlightMenuItem(int n);
    void MenuUp();
    void MenuDown();
    void MenuCommand(int n);
    /// Item n (1 to 7) carries the highlight.
    [[nodiscard]] bool MenuItemHighlighted(int n) const;
    /// Item n (1 to 7) is shown (not hidden), whether or not the window is.
    [[nodiscard]] bool MenuItemShown(int n) const;

    // ---- GameHost ----
    void DrawField(const GateType* gate) override;
    void PaintChanges(const GateType& gate) override;
    void RepaintField() override;
    void ShowIndicators() override;
    void ShowGateNo() override;
    void ShowPlayTime() override;
    void PlayEffect(SoundEffect effect) override;
    [[nodiscard]] bool MusicStopped() override;
    void PlayMusic() override;
    void SetTitle(std::string_view text, bool shown) override;
    void ShowMenu(bool shown) override;
    void EnableTimers(bool enabled) override;

    /// The game's state, for the editors, tests and benchmarks.
    [[nodiscard]] MainState& State() { return state_; }
    [[nodiscard]] FieldCanvas& Canvas() { return *canvas_; }
    [[nodiscard]] GameSound& Sound() { return *sound_; }
    [[nodiscard]] FieldWidget& Field() { return *Image1; }
    [[nodiscard]] const Timer& GameTimer() const { return Timer1; }
    [[nodiscard]] const Timer& ClockTimer() const { return Timer2; }
    /// The library of Game.Images changed (a loaded "Game.dat", the editor).
    void ImagesChanged();
    /// What F12 does: the Game Editor installs how it is opened (none: nothing).
    void SetEditorOpener(std::function<void()> open) { openEditor_ = std::move(open); }
    /// Field editing on (the Game Editor opens) or off (it closes). While on,
    /// the game stands still and the menu lines are hidden, so that the gate
    /// being edited shows whole; a game in play is paused as "[Menu]" would.
    /// Off again, the menu comes back over the field, which runs on behind it
    /// when no game is under way.
    void SetFieldEditing(bool on);

    // ---- Replays (MainReplay.cpp) ----
    /// From the next game's start until the window goes, every game played is
    /// recorded and then written to `path`.
    void RecordReplay(std::filesystem::path path);
    /// Writes the recording now (the window's end does it too, once). True
    /// when written, or when there is nothing to write.
    bool FinishRecording();
    /// Reads the replay and checks it against the window's data file; once the
    /// window shows, it plays in place of the keys and the menu. Empty on
    /// success, else the one message that refuses it.
    [[nodiscard]] std::string PlayReplay(const std::filesystem::path& path);
    [[nodiscard]] bool Replaying() const { return player_ != nullptr; }
    /// Game ticks the replay played so far.
    [[nodiscard]] std::int64_t ReplayTicks() const { return player_ ? player_->Tick() : 0; }

    // ---- Game pads and the window's size (MainPads.cpp, MainView.cpp) ----
    /// Reads the pads now (their timer does it every game tick's time).
    void PollPads();
    /// Scale 1 to 4 and full screen: what F9, F10 and F11 change.
    void ChangeView(int scale, bool fullScreen);
    /// The scale the window shows now and where the field's panel lies in it.
    [[nodiscard]] int ViewScale() const;
    [[nodiscard]] QPoint ViewOrigin() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void BuildControls();
    void SetItemHighlight(QLabel* item, bool highlighted);
    void ShowTitle(bool shown);
    void ShowKeyHelp(bool shown);
    void NewGame(bool secondPlayer);
    void LoadGame();
    void SaveGame();
    bool MenuLabelEvent(QLabel* label, QEvent* event);
    bool WindowKey(KeyCode key);

    void RunGameControl();
    /// The Game Control dialog's choices kept in the settings, or the defaults.
    [[nodiscard]] ControlChoice KeptControls() const;
    void NoteGameStart();
    void Note(ReplayWhat what, std::int32_t value = 0);
    /// One game tick of the replay; false at its end, where the timers stop.
    bool ReplayTick();

    void StartPads();
    void StartView();
    void ApplyView();
    void KeepCentred(QPoint centre);
    [[nodiscard]] int FittingScale() const;

    QString appPathText_;
    MainSeams seams_;
    MainState state_;
    std::unique_ptr<FieldCanvas> canvas_;
    std::unique_ptr<GameSound> sound_; ///< MediaPlayer1 and MediaPlayer2
    bool cancelled_ = false;
    bool shown_ = false;
    std::function<void()> openEditor_; ///< F12: shows the Game Editor
    HeldKeys heldKeys_;
    std::filesystem::path dataPath_; ///< the "Game.dat" loaded at start; empty: none
    std::filesystem::path recordPath_;
    std::unique_ptr<ReplayRecorder> recorder_; ///< set while recording
    std::unique_ptr<Replay> replay_;           ///< the replay being played
    std::unique_ptr<ReplayPlayer> player_;     ///< set while a replay plays

    QFrame* Panel1 = nullptr;
    FieldWidget* Image1 = nullptr;
    QLabel* GateNameLabel = nullptr;
    QLabel* TimeLabel = nullptr;
    std::array<QLabel*, 3> Stars1{};   ///< Star11, Star12, Star13
    std::array<QLabel*, 3> Flowers1{}; ///< Flower11, Flower12, Flower13
    std::array<QLabel*, 3> Stars2{};   ///< Star21, Star22, Star23
    std::array<QLabel*, 3> Flowers2{}; ///< Flower21, Flower22, Flower23
    QToolButton* SpeedButton1 = nullptr;
    QLabel* GameCaption1 = nullptr;    ///< the title's shadow
    QLabel* GameCaption = nullptr;
    std::array<QLabel*, 3> Desc{};     ///< Desc0, Desc1, Desc2: the key help
    std::array<QLabel*, MenuItemCount> MenuItems{};   ///< MenuItem1 .. MenuItem7
    std::array<QLabel*, MenuItemCount> MenuShadows{}; ///< MenuItem11 .. MenuItem77
    std::array<bool, MenuItemCount> highlighted_{};   ///< the highlight mark of each item
    Timer Timer1{GameTimerInterval};
    Timer Timer2{ClockTimerInterval};
    std::unique_ptr<MainPads> pads_;
    int viewScale_ = 1;                ///< the scale chosen, 1 to 4
    bool fullScreen_ = false;
    Magnifier* magnifier_ = nullptr;   ///< made at the first scale above 1 or full screen
};

} // namespace brakkon
