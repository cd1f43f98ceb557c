// The main window's life: start-up (FormCreate, FormShow), the two timers,
// pausing and resuming, the focus, and the engine's ways into the window
// (drawing and the status line).
#include "shell/MainUnit.h"

#include "platform/ControlSettings.h"
#include "shell/ControlUnit.h"
#include "game/GameFlow.h"
#include "game/Keyboard.h"
#include "shell/MainPads.h"
#include "shell/StartData.h"
#include "game/StatusLine.h"

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QShowEvent>

#include <chrono>
#include <ctime>

namespace brakkon {
namespace {

constexpr std::uint64_t TickCountRange = 65536;

/// Milliseconds of the monotonic clock: the tick count the generator is
/// advanced by once at start.
std::uint64_t TickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

} // namespace

void NameApplication()
{
    QGuiApplication::setApplicationName(QStringLiteral("Brakkon"));
    QGuiApplication::setDesktopFileName(QStringLiteral("brakkon"));
}

MainForm::MainForm(QString appPath, MainSeams seams) : appPathText_(std::move(appPath)), seams_(std::move(seams))
{
    FormCreate();
}

MainForm::~MainForm()
{
    (void)FinishRecording();
    qApp->removeEventFilter(this);
}

void MainForm::FormCreate()
{
    setWindowTitle(QStringLiteral("Brakkon"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    while (appPathText_.size() > 1 && appPathText_.endsWith(QLatin1Char('/'))) appPathText_.chop(1);
    state_.AppPath = appPathText_.toStdString();
    if (seams_.ShowIntro && !seams_.ShowIntro()) {
        cancelled_ = true;
        return;
    }
    canvas_ = std::make_unique<FieldCanvas>(state_.Game);
    sound_ = seams_.MakeSound();
    BuildControls(); // the title's colour, the key help's captions, the panel's size
    state_.SoundOn = true;
    state_.MusicOn = true;
    state_.CurrentSound = NoSoundYet;
    state_.GameTitle = "Brakkon";
    HighlightMenuItem(-1);
    state_.GameOver = true;
    state_.Game = GameType{};
    state_.MoveStep = DefaultMoveStep;
    // The choices of the Game Control dialog kept from the last run; the
    // step waits for the scene, which a larger one snaps (FormShow).
    const ControlChoice kept = KeptControls();
    Timer1.SetInterval(kept.Interval);
    state_.SoundOn = kept.Sound;
    state_.MusicOn = kept.Music;
    state_.Rand.Skip(TickCount() % TickCountRange + 1);
    state_.Player1 = Player1Keys;
    state_.Player2 = Player2Keys;
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
    Timer1.SetTicksByItself(seams_.TimersTick);
    Timer2.SetTicksByItself(seams_.TimersTick);
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(true);
    // Until a gate is drawn the status line shows the empty working gate.
    ShowGateNo();
    ShowPlayTime();
    ShowIndicators();
    StartView();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this); // every key reaches the window before its controls
    StartPads();
}

void MainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_ || event->spontaneous()) return;
    shown_ = true;
    FormShow();
}

void MainForm::FormShow()
{
    state_.NextGatePending = false;
    const std::filesystem::path dir = state_.AppPath;
    // The Game Editor's last save, when there is one and it reads, else the installed file.
    dataPath_ = LoadStartGameData(StartDataFilesOf(dir), state_.Game);
    if (!dataPath_.empty()) ImagesChanged();
    if (LoadStartScene(dir, *state_.Game.Gate)) DrawField(state_.Game.Gate.get());
    ApplyMoveStep(state_, *this, KeptControls().Step);
    PauseGame();
    if (Replaying()) player_->Start(state_);
    sound_->StartSound(state_.AppPath, state_.MusicOn);
}

bool MainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    return QWidget::event(event);
}

void MainForm::FormDeactivate()
{
    heldKeys_.Clear(); // their releases go elsewhere
    if (Replaying()) return;
    Note(ReplayWhat::Focus);
    ReleaseMovementKeys(state_);
}

void MainForm::Timer1Timer()
{
    if (seams_.GameTickObserved) seams_.GameTickObserved();
    Timer1.SetEnabled(false); // off while its tick works, on again after it
    if (Replaying()) {
        if (ReplayTick()) Timer1.SetEnabled(true);
        return;
    }
    if (recorder_) recorder_->GameTick();
    GameTimerTick(state_, *this);
    Timer1.SetEnabled(true);
}

void MainForm::Timer2Timer()
{
    if (Replaying()) return; // the replay holds the clock's ticks
    Note(ReplayWhat::Clock);
    ClockTimerTick(state_, *this);
}

void MainForm::PauseGame()
{
    Note(ReplayWhat::Pause);
    brakkon::PauseGame(state_, *this);
}

void MainForm::ResumeGame()
{
    Note(ReplayWhat::Resume);
    brakkon::ResumeGame(state_, *this);
}

void MainForm::SetFieldEditing(bool on)
{
    if (state_.FieldEditing == on) return;
    state_.FieldEditing = on;
    if (on) {
        if (state_.Playing) PauseGame(); // recorded, as any pause
        // The field behind the menu stands too; a replay sees no tick of it.
        EnableTimers(false);
        ShowMenu(false);
        return;
    }
    ShowMenu(true);
    if (state_.GameOver) EnableTimers(true); // no game under way: the field runs on behind the menu
}

void MainForm::ImagesChanged() { canvas_->LibraryChanged(); }

// ---- GameHost: drawing ----

void MainForm::DrawField(const GateType* gate)
{
    canvas_->DrawField(gate);
    (void)canvas_->TakeChangedRegion(); // the whole field goes to the screen
    Image1->update();
    ShowGateNo();
    ShowPlayTime();
    ShowIndicators();
}

void MainForm::PaintChanges(const GateType& gate) { canvas_->PaintChanges(gate); }

void MainForm::RepaintField()
{
    const QRegion changed = canvas_->TakeChangedRegion();
    if (!changed.isEmpty()) Image1->repaint(changed);
}

// ---- GameHost: the status line, the title and the menu ----

void MainForm::ShowIndicators()
{
    const GateType& gate = *state_.Game.Gate;
    struct Player {
        std::size_t Entry;
        std::int32_t Lives;
        std::array<QLabel*, 3>& Stars;
        std::array<QLabel*, 3>& Flowers;
    };
    for (const Player& p : {Player{0, gate.Lives1, Stars1, Flowers1}, Player{1, gate.Lives2, Stars2, Flowers2}}) {
        const SpriteType* tank = p.Entry < gate.Sprites.size() ? gate.Sprites[p.Entry].get() : nullptr;
        const PlayerIndicators shown = IndicatorsFor(tank, p.Lives);
        for (std::size_t i = 0; i < 3; ++i) {
            if (shown.Stars[i]) p.Stars[i]->setVisible(*shown.Stars[i]);
            if (shown.Flowers[i]) p.Flowers[i]->setVisible(*shown.Flowers[i]);
        }
    }
}

void MainForm::ShowGateNo()
{
    GateNameLabel->setText(FromStd(GateNoText(state_.Game.Gate->GateNo)));
    GateNameLabel->adjustSize();
}

void MainForm::ShowPlayTime()
{
    TimeLabel->setText(FromStd(PlayTimeText(state_.Game.Gate->PlayTime)));
    TimeLabel->adjustSize();
}

void MainForm::SetTitle(std::string_view text, bool shown)
{
    const QString title = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QLabel* label : {GameCaption1, GameCaption}) {
        label->setText(title);
        label->adjustSize();
    }
    ShowTitle(shown);
}

void MainForm::ShowTitle(bool shown)
{
    GameCaption1->setVisible(shown);
    GameCaption->setVisible(shown);
}

void MainForm::ShowKeyHelp(bool shown)
{
    for (QLabel* label : Desc) label->setVisible(shown);
}

// ---- GameHost: the timers ----

void MainForm::EnableTimers(bool enabled)
{
    Timer1.SetEnabled(enabled);
    Timer2.SetEnabled(enabled);
}


// ---- Sound, music and the Game Control dialog ----

void MainForm::PlayEffect(SoundEffect effect) { sound_->PlayEffect(state_, effect); }

bool MainForm::MusicStopped() { return sound_->MusicStopped(); }

void MainForm::PlayMusic() { sound_->PlayMusic(); }

void MainForm::RunGameControl()
{
    std::int32_t interval = Timer1.Interval();
    const std::int32_t step = state_.MoveStep;
    if (brakkon::RunGameControl(this, state_, interval, *this, *sound_)) {
        Timer1.SetInterval(interval);
        if (seams_.OpenSettings)
            WriteControlChoice(*seams_.OpenSettings(), {interval, state_.MoveStep, state_.SoundOn, state_.MusicOn});
    }
    if (state_.MoveStep != step) Note(ReplayWhat::Step, state_.MoveStep);
}

ControlChoice MainForm::KeptControls() const
{
    const ControlChoice defaults{GameTimerInterval, DefaultMoveStep, true, true};
    return seams_.OpenSettings ? ReadControlChoice(*seams_.OpenSettings(), defaults) : defaults;
}

} // namespace brakkon
