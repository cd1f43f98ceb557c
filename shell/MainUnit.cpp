// The main window's life: start-up (FormCreate, FormShow), the two timers,
// the focus and field editing.
#include "shell/MainUnit.h"

#include "game/GameFlow.h"
#include "game/Keyboard.h"
#include "platform/ControlSettings.h"
#include "platform/Fonts.h"
#include "platform/OverlayLabel.h"
#include "shell/MainPads.h"
#include "shell/StartData.h"
#include "shell/StatusLabels.h"
#include "shell/ViewScaler.h"
#include "sim/StartUp.h"

#include <QApplication>
#include <QFrame>
#include <QScreen>
#include <QShowEvent>

#include <chrono>
#include <ctime>

namespace brakkon {
namespace {

constexpr std::uint64_t TickCountRange = 65536;
constexpr int PanelBorder = 1;

/// Milliseconds of the monotonic clock: the tick count the generator is
/// advanced by once at start.
std::uint64_t TickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

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
    window_.AppPath = appPathText_.toStdString();
    if (seams_.ShowIntro && !seams_.ShowIntro([this] { BuildBehindIntro(); })) {
        cancelled_ = true;
        return;
    }
    BuildBehindIntro(); // when the intro closed before it was shown, or there is none
    state_.MusicOn = true;
    HighlightMenuItem(-1);
    state_.GameOver = true;
    state_.Game = GameType{};
    state_.MoveStep = DefaultMoveStep;
    // The choices of the Game Control dialog kept from the last run; the
    // step waits for the scene, which a larger one snaps (FormShow).
    const ControlChoice kept = KeptControls();
    Timer1.SetInterval(kept.Interval);
    sound_->SoundOn = kept.Sound;
    state_.MusicOn = kept.Music;
    state_.Player1 = Player1Keys;
    state_.Player2 = Player2Keys;
    Timer1.SetHandler([this] { Timer1Timer(); });
    Timer2.SetHandler([this] { Timer2Timer(); });
    Timer1.SetTicksByItself(seams_.TimersTick);
    Timer2.SetTicksByItself(seams_.TimersTick);
    Timer1.SetEnabled(true);
    Timer2.SetEnabled(true);
    frame_.SetFrame([this] { Frame(); });
    if (seams_.TimersTick) frame_.Start();
    // Until a gate is drawn the status line shows the empty working gate.
    host_->ShowGateNo();
    host_->ShowPlayTime();
    host_->ShowIndicators();
    view_ = std::make_unique<ViewScaler>(*this, *Panel1, *Image1, seams_.OpenSettings);
    host_->SetScreen([this](const QRegion& changed) { view_->ShowField(changed); });
    view_->Start();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    qApp->installEventFilter(this); // every key reaches the window before its controls
    net_ = std::make_unique<NetWindow>(
        NetWindow::Parts{*this, state_, *host_, Driver(), Timer1, Timer2, *menu_, [this] { return dataPath_; }},
        seams_.Net);
    if (padsAhead_) pads_ = std::make_unique<MainPads>(*this, std::move(padsAhead_));
}

void MainForm::BuildBehindIntro()
{
    if (canvas_) return; // done already
    canvas_ = std::make_unique<FieldCanvas>(state_.Game);
    sound_ = seams_.MakeSound();
    sound_->OpenSound(window_.AppPath); // the music's synthesiser loads its instruments now
    BuildControls(); // the title's colour, the key help's captions, the panel's size
    host_ = std::make_unique<WindowHost>(
        WindowHost::Parts{state_, *canvas_, *Image1, *labels_, *menu_, *sound_, Timer1, Timer2});
    replay_.Attach(state_, *host_);
    if (seams_.OpenPads) padsAhead_ = seams_.OpenPads();
    filesAhead_ = std::make_unique<StartFilesAhead>(window_.AppPath);
}

/// Panel1 and the field on it, laid out in pixels as the window was
/// designed; everything else lies on the field, placed in the field's own
/// pixels, and controls made later lie on top of those made earlier.
void MainForm::BuildControls()
{
    setFont(PointFont(LabelFontFamily, 8, false));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(PanelBorder);
    Panel1->setGeometry(0, 0, CanvasWidth + 2 * PanelBorder, CanvasHeight + 2 * PanelBorder);
    Image1 = new FieldWidget(canvas_->Image(), Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(PanelBorder, PanelBorder, CanvasWidth, CanvasHeight);
    // The labels on the field are drawn in the field's own paint.
    Image1->SetOverlay([field = Image1](QPainter& painter, const QRegion& region) { PaintOverlayLabels(painter, *field, region); });
    labels_ = std::make_unique<StatusLabels>(Image1, window_.AppPath, GameTitle);
    menu_ = new MainMenu(Image1, {[this](int tag) { MenuItem1MouseEnter(tag); }, [this] { MenuItem1MouseLeave(); },
                                  [this](int tag) { MenuItem1Click(tag); }, [this] { SpeedButton1Click(); }});
    setFixedSize(Panel1->size());
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
    StartUpPlan plan;
    plan.Advance = TickCount() % TickCountRange + 1;
    plan.MoveStep = KeptControls().Step; // a larger one snaps the scene
    // Read behind the intro: the Game Editor's last save, when there is one
    // and it reads, else the installed file; and the scene.
    plan.LoadData = [this](GameType& game) {
        dataPath_ = filesAhead_->TakeData(game);
        if (!dataPath_.empty()) ImagesChanged();
        return !dataPath_.empty();
    };
    plan.LoadScene = [this](GateType& gate) { return filesAhead_->TakeScene(gate); };
    (void)StartUp(state_, *host_, plan);
    filesAhead_.reset();
    replay_.Start();
    sound_->StartSound(window_.AppPath, state_.MusicOn);
}

bool MainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) FormDeactivate();
    return QWidget::event(event);
}

void MainForm::FormDeactivate()
{
    heldKeys_.Clear(); // their releases go elsewhere
    if (Replaying() || net_->FocusLost()) return;
    Driver().Apply(Command::Of(CommandKind::Focus));
}

void MainForm::Frame()
{
    const FrameClock::time_point now = FrameClock::now();
    host_->HoldDrawing(true);
    if (pads_) pads_->Frame();
    Timer1.Run(now, frame_.Interval());
    Timer2.Run(now, frame_.Interval());
    host_->HoldDrawing(false); // what the ticks drew goes to the screen
}

void MainForm::Timer1Timer()
{
    if (seams_.GameTickObserved) seams_.GameTickObserved();
    if (net_->GameTick()) return; // the network game's slot
    if (Replaying()) {
        if (!replay_.Tick()) {
            host_->EnableTimers(false); // the field stands where the recording ended
            host_->SetTitle("Replay ended", true);
            return;
        }
        Timer1.SetEnabled(true);
        return;
    }
    Driver().Tick();
    Timer1.SetEnabled(true); // on after every tick, whatever the tick switched
}

void MainForm::Timer2Timer()
{
    if (Replaying() || net_->OwnsClock()) return; // the replay or the network game holds the clock's ticks
    Driver().Apply(Command::Of(CommandKind::Clock));
}

void MainForm::SetFieldEditing(bool on)
{
    if (window_.FieldEditing == on) return;
    window_.FieldEditing = on;
    if (on) {
        if (state_.Playing) PauseGame(); // recorded, as any pause
        // The field behind the menu stands too; a replay sees no tick of it.
        host_->EnableTimers(false);
        host_->ShowMenu(false);
        return;
    }
    host_->ShowMenu(true);
    if (state_.GameOver) host_->EnableTimers(true); // no game under way: the field runs on behind the menu
}

std::string MainForm::PlayReplay(const std::filesystem::path& path)
{
    const std::filesystem::path data = shown_ ? dataPath_ : StartGameDataPath(StartDataFilesOf(window_.AppPath));
    if (std::string refused = replay_.Play(path, data); !refused.empty()) return refused;
    if (shown_) replay_.Start(); // else once the window has loaded its files
    return {};
}

void MainForm::PollPads()
{
    if (pads_) pads_->Poll();
}

void MainForm::ChangeView(int scale, bool fullScreen) { view_->Change(scale, fullScreen); }

int MainForm::ViewScale() const { return view_->Shown(); }

QPoint MainForm::ViewOrigin() const { return view_->Origin(); }

} // namespace brakkon
