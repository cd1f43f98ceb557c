// MainUnit: the main window "Brakkon". Panel1 holds the play field Image1,
// with the status line, the title and the key help (StatusLabels) and the
// menu (MainMenu) lying over it; Timer1 and Timer2 drive the game, run by
// the window's one frame timer (Frame); the window takes every key before
// its controls.
//
// MainForm owns the engine's state (MainState) and its own (WindowState),
// the field canvas, the sound and its parts, each with one job: the menu,
// the labels, the key table (KeyMap.h), the replays (ReplayControl), the game
// pads (MainPads), the scale (ViewScaler), the Game Editor's hook
// (EditorHook) and the engine's way in (WindowHost: drawing, sounds, the
// menu and the timers). Its handlers (FormKeyDown, Timer1Timer,
// MenuItem1Click, ...) hand each thing to the part it concerns. Modal parts
// come through MainSeams so that tests and benchmarks can build the window
// without them.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "platform/FileDialogs.h"
#include "platform/GamePads.h"
#include "platform/Timer.h"
#include "shell/EditorHook.h"
#include "shell/KeyMap.h"
#include "shell/MainMenu.h"
#include "shell/NetWindow.h"
#include "shell/ReplayControl.h"
#include "shell/WindowHost.h"
#include "view/FieldCanvas.h"
#include "view/FieldWidget.h"
#include "view/Sound.h"

#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QFrame;
class QSettings;

namespace brakkon {

class MainPads;
class StartFilesAhead;
class NetGameDialog;
class DiscoveryProbe;
struct DataIdentity;
class StatusLabels;
class ViewScaler;
struct ControlChoice;

/// What the main window asks of the world outside it.
struct MainSeams {
    /// The intro window: true to play, false to end the program at once. It
    /// runs the function it is given once it is on the screen (the window
    /// built behind it); unset or not run, the window builds after it.
    std::function<bool(const std::function<void()>& whileShown)> ShowIntro = [](const std::function<void()>&) {
        return true;
    };
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
    /// The network game's input delay, pacing and silence; where a desync's
    /// replay goes.
    NetWindow::Tuning Net;
    /// What asks the local network for games for the Network Game dialog,
    /// told the window's data file; unset: none are listed.
    std::function<std::unique_ptr<DiscoveryProbe>(const DataIdentity&)> FindGames;
    /// False: no frame runs; the game and clock timers keep their state but
    /// never tick by themselves, and the pads are not polled; the caller runs Timer1Timer, Timer2Timer and PollPads
    /// (the tests, which must not depend on the machine's speed).
    bool TimersTick = true;
};

/// The window's own state, which the engine never reads.
struct WindowState {
    std::string AppPath;       ///< directory of the executable, no trailing separator
    bool FieldEditing = false; ///< the Game Editor is open: clicks on the field edit the map
};

/// Names the application "Brakkon" for the desktop (its entry "brakkon") and
/// gives it no display name: the window system would append one to every
/// window's caption, and the captions are the game's own.
void NameApplication();

constexpr int GameTimerInterval = 16;    ///< milliseconds
constexpr int ClockTimerInterval = 1000; ///< milliseconds

class MainForm : public QWidget {
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
    /// The one wake-up of the main thread per frame (every 16 ms while the
    /// timers tick by themselves): the pads' poll, the game and clock ticks
    /// that are due, then what they changed to the screen, once.
    void Frame();
    void SpeedButton1Click();
    void MenuItem1MouseEnter(int tag) { HighlightMenuItem(tag); }
    void MenuItem1MouseLeave() { HighlightMenuItem(-1); }
    void MenuItem1Click(int tag) { MenuCommand(tag); }

    // ---- The menu (MainCommands.cpp) ----
    void PauseGame();
    void ResumeGame();
    void HighlightMenuItem(int n) { menu_->Mark(n); }
    void MenuUp() { menu_->Up(); }
    void MenuDown() { menu_->Down(); }
    void MenuCommand(int n);
    /// Item n (1 to 7) carries the highlight.
    [[nodiscard]] bool MenuItemHighlighted(int n) const { return menu_->Marked(n); }
    /// Item n (1 to 7) is shown (not hidden), whether or not the window is.
    [[nodiscard]] bool MenuItemShown(int n) const { return menu_->Shown(n); }

    /// The engine's way into the window (WindowHost), for every engine call.
    [[nodiscard]] GameHost& Host() { return *host_; }

    /// The engine's state, for the editors, tests and benchmarks.
    [[nodiscard]] MainState& State() { return state_; }
    [[nodiscard]] const std::string& AppPath() const { return window_.AppPath; }
    [[nodiscard]] FieldCanvas& Canvas() { return *canvas_; }
    [[nodiscard]] GameSound& Sound() { return *sound_; }
    [[nodiscard]] FieldWidget& Field() { return *Image1; }
    [[nodiscard]] const Timer& GameTimer() const { return Timer1; }
    [[nodiscard]] const Timer& ClockTimer() const { return Timer2; }
    /// What the Game Editor hooks into.
    [[nodiscard]] EditorHost& Editor() { return editor_; }
    /// The library of Game.Images changed (a loaded "Game.dat", the editor).
    void ImagesChanged() { canvas_->LibraryChanged(); }
    /// Draws `gate` whole, with its status line.
    void DrawField(const GateType* gate) { host_->DrawField(gate); }
    /// Field editing on (the Game Editor opens) or off (it closes). While on,
    /// the game stands still and the menu lines are hidden, so that the gate
    /// being edited shows whole; a game in play is paused as "[Menu]" would.
    /// Off again, the menu comes back over the field, which runs on behind it
    /// when no game is under way.
    void SetFieldEditing(bool on);
    [[nodiscard]] bool FieldEditing() const { return window_.FieldEditing; }

    // ---- Replays ----
    /// From the next game's start until the window goes, every game played is
    /// recorded and then written to `path`.
    void RecordReplay(std::filesystem::path path)
    {
        replay_.Record(std::move(path), [this] { return dataPath_; });
    }
    /// Writes the recording now (the window's end does it too, once). True
    /// when written, or when there is nothing to write.
    bool FinishRecording() { return replay_.Finish(); }
    /// Reads the replay and checks it against the window's data file; once the
    /// window shows, it plays in place of the keys and the menu. Empty on
    /// success, else the one message that refuses it.
    [[nodiscard]] std::string PlayReplay(const std::filesystem::path& path);
    [[nodiscard]] bool Replaying() const { return replay_.Replaying(); }
    /// The one way into the game: every command of the window, its parts
    /// and the editor goes through the driver, which records it.
    [[nodiscard]] GameDriver& Driver() { return replay_.Driver(); }
    /// Game ticks the replay played so far.
    [[nodiscard]] std::int64_t ReplayTicks() const { return replay_.Ticks(); }

    // ---- Network play ----
    /// The network game: hosting, joining, the game in play.
    [[nodiscard]] NetWindow& Net() { return *net_; }
    /// Opens the Network Game dialog (F5), or raises it; none while a network
    /// game is on.
    NetGameDialog* OpenNetworkGame();
    /// The data file the window loaded (empty before it shows).
    [[nodiscard]] const std::filesystem::path& DataPath() const { return dataPath_; }

    // ---- Game pads and the window's size ----
    /// Reads the pads now (the frames do it: each frame while a pad is plugged
    /// in, every fourth while none is).
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
    /// What FormCreate makes that the intro does not need, done while the
    /// intro shows: the sound, the controls, the pads opened, the files read.
    void BuildBehindIntro();
    void BuildControls();
    bool WindowKeyDown(KeyCode key);
    void NewGame(bool secondPlayer);
    void LoadGame();
    void SaveGame();
    void RunGameControl();
    /// The Game Control dialog's choices kept in the settings, or the defaults.
    [[nodiscard]] ControlChoice KeptControls() const;

    QString appPathText_;
    MainSeams seams_;
    MainState state_;
    WindowState window_;
    std::unique_ptr<FieldCanvas> canvas_;
    std::unique_ptr<GameSound> sound_; ///< MediaPlayer1 and MediaPlayer2
    bool cancelled_ = false;
    bool shown_ = false;
    std::filesystem::path dataPath_; ///< the "Game.dat" loaded at start; empty: none
    std::unique_ptr<StartFilesAhead> filesAhead_; ///< read behind the intro, until FormShow takes them
    std::unique_ptr<PadSource> padsAhead_;        ///< opened behind the intro, until FormCreate's end

    QFrame* Panel1 = nullptr;
    FieldWidget* Image1 = nullptr;
    Timer Timer1{GameTimerInterval};
    Timer Timer2{ClockTimerInterval};
    FrameTimer frame_{GameTimerInterval};

    // The parts.
    std::unique_ptr<StatusLabels> labels_;
    MainMenu* menu_ = nullptr; ///< owned by the field, as its labels are
    HeldKeys heldKeys_;
    ReplayControl replay_;
    std::unique_ptr<MainPads> pads_;
    std::unique_ptr<ViewScaler> view_;
    std::unique_ptr<WindowHost> host_;
    EditorHook editor_{*this};
    std::unique_ptr<NetWindow> net_;
    QPointer<NetGameDialog> netDialog_;
};

} // namespace brakkon
