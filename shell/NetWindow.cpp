#include "shell/NetWindow.h"

#include "platform/DataPaths.h"

#include <QMessageBox>
#include <QSocketNotifier>
#include <QWidget>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace brakkon {
namespace {

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

/// The joiner plays player 2 with player 1's keys.
KeyCode JoinerKey(KeyCode key)
{
    const std::array<std::pair<KeyCode, KeyCode>, 5> keys{{{Player1Keys.LeftKey, Player2Keys.LeftKey},
                                                           {Player1Keys.RightKey, Player2Keys.RightKey},
                                                           {Player1Keys.UpKey, Player2Keys.UpKey},
                                                           {Player1Keys.DownKey, Player2Keys.DownKey},
                                                           {Player1Keys.FireKey, Player2Keys.FireKey}}};
    for (const auto& [one, two] : keys)
        if (key == one) return two;
    return key;
}

/// How often the link is serviced while no game timer does it.
constexpr int ServiceEveryMs = 16;

/// The menu items a side may not use in a network game.
constexpr std::array<int, 4> JoinerWithholds{1, 2, 3, 5};


} // namespace

NetWindow::NetWindow(Parts parts, Tuning tuning) : parts_(std::move(parts)), tuning_(std::move(tuning))
{
    serviceTimer_.setInterval(ServiceEveryMs);
    connect(&serviceTimer_, &QTimer::timeout, this, [this] { Service(); });
}

NetWindow::~NetWindow()
{
    if (Now() == Phase::Playing) std::fprintf(stderr, "brakkon: %s\n", play_->StatsLine().c_str());
    Close();
}

NetWindow::Phase NetWindow::Now() const
{
    if (!play_ || ended_) return Phase::Idle;
    return began_ ? Phase::Playing : Phase::Waiting;
}

bool NetWindow::Host(const Endpoint& bind, std::string& error) { return Open(Side::Host, bind, error); }

bool NetWindow::Join(const Endpoint& to, std::string& error) { return Open(Side::Joiner, to, error); }

bool NetWindow::Open(Side role, const Endpoint& address, std::string& error)
{
    Close();
    const auto identity = IdentityOfFile(parts_.DataFile());
    if (!identity) {
        error = "The game's data file cannot be read.";
        return false;
    }
    NetPlayOptions options;
    options.Role = role;
    options.Address = address;
    options.Data = *identity;
    options.Interval = parts_.GameTimer.Interval();
    options.InputDelay = tuning_.InputDelay;
    options.KeepLevel = tuning_.KeepLevel;
    options.Session = tuning_.Session;
    options.ReplayFile =
        tuning_.ReplayFile.empty() ? UserDataDir() / "network-game.replay" : tuning_.ReplayFile;
    auto play = std::make_unique<NetPlay>(parts_.State, parts_.Screen, options);
    if (!play->Open(error)) return false;
    role_ = role;
    play_ = std::move(play);
    began_ = ended_ = false;
    lastMessage_.clear();
    if (parts_.State.Playing) parts_.Driver.Apply(Command::Of(CommandKind::Pause)); // the local game waits
    notifier_ = new QSocketNotifier(play_->Socket(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Service(); });
    if (role == Side::Host) AnswerProbes(address, *identity);
    serviceTimer_.start(); // a paused game's timers stand
    emit Changed();
    return true;
}

void NetWindow::AnswerProbes(const Endpoint& listen, const DataIdentity& data)
{
    if (!tuning_.AnswerAt) return;
    Endpoint bind = *tuning_.AnswerAt;
    if (bind.Host.empty()) bind.Host = listen.Host;
    std::string error;
    answerer_ = DiscoveryAnswerer::Open(bind, {ProtocolVersion, play_->Port(), data, ThisMachineName()}, error);
    if (!answerer_) return; // not listed; the address shown still reaches it
    answerNotifier_ = new QSocketNotifier(answerer_->Socket(), QSocketNotifier::Read, this);
    connect(answerNotifier_, &QSocketNotifier::activated, this, [this] {
        if (answerer_) answerer_->Poll();
    });
}

void NetWindow::StopAnswering()
{
    if (answerNotifier_) {
        answerNotifier_->setEnabled(false);
        answerNotifier_->deleteLater();
    }
    answerNotifier_ = nullptr;
    answerer_.reset();
}

std::string NetWindow::Reachable() const
{
    if (!play_) return {};
    std::string text;
    for (const std::string& address : LocalAddresses()) text += (text.empty() ? "" : ", ") + address;
    return text + " port " + std::to_string(play_->Port());
}

void NetWindow::Cancel()
{
    if (!play_ || ended_) return;
    play_->Leave(NowMs());
    Follow();
}

void NetWindow::Service()
{
    if (!play_) return;
    play_->Service(NowMs());
    Follow();
}

bool NetWindow::GameTick()
{
    if (!play_) return false;
    const std::int64_t now = NowMs();
    play_->Service(now);
    const bool playing = play_->Playing();
    if (playing) play_->Advance(now);
    Follow();
    return playing;
}

void NetWindow::Follow()
{
    if (!play_) return;
    if (!began_ && play_->Playing()) Began();
    if (!ended_ && play_->End()) Ended();
    if (ended_ && play_->Closed()) Close();
}

void NetWindow::Began()
{
    began_ = true;
    serviceTimer_.stop(); // the game timer services the link from now on
    StopAnswering();      // the game has its two players
    windowInterval_ = parts_.GameTimer.Interval();
    // The game timer paces the slots, whatever the game's own timers do; the
    // clock ticks within them.
    parts_.GameTimer.SetInterval(play_->Interval());
    parts_.GameTimer.SetEnabled(true);
    parts_.ClockTimer.SetEnabled(false);
    if (role_ == Side::Joiner)
        for (int n : JoinerWithholds) parts_.Menu.Withhold(n, true);
    emit Changed();
}

void NetWindow::Ended()
{
    ended_ = true;
    held_.clear();
    StopAnswering();
    serviceTimer_.start(); // the last messages leave
    if (began_) std::fprintf(stderr, "brakkon: %s\n", play_->StatsLine().c_str());
    const SessionEnd& end = *play_->End();
    lastMessage_ = end.Message.empty() ? std::string("The network game ended.") : end.Message;
    if (began_) {
        for (int n = 1; n <= MenuItemCount; ++n) parts_.Menu.Withhold(n, false);
        parts_.GameTimer.SetInterval(windowInterval_);
        // Back at the menu, the game paused where it stood.
        if (parts_.State.Playing) {
            parts_.Driver.Apply(Command::Of(CommandKind::Pause));
        } else {
            parts_.Screen.EnableTimers(parts_.State.GameOver);
            parts_.Screen.ShowMenu(true);
        }
        if (end.Reason != EndReason::Finished || !end.Message.empty()) {
            auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Network Game"),
                                        QString::fromStdString(lastMessage_), QMessageBox::Ok, &parts_.Window);
            box->setObjectName(QStringLiteral("NetworkGameMessage"));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setWindowModality(Qt::NonModal);
            box->show();
        }
    }
    emit Changed();
}

void NetWindow::Close()
{
    serviceTimer_.stop();
    StopAnswering();
    if (notifier_) {
        notifier_->setEnabled(false); // its socket closes with the game
        notifier_->deleteLater();     // maybe in its own signal
    }
    notifier_ = nullptr;
    play_.reset();
}

bool NetWindow::Key(bool press, KeyCode key)
{
    if (Now() != Phase::Playing) return false;
    if (role_ == Side::Joiner) key = JoinerKey(key);
    const auto held = std::find(held_.begin(), held_.end(), key);
    if (press) {
        if (held == held_.end()) held_.push_back(key);
        play_->Press(key);
    } else {
        if (held != held_.end()) held_.erase(held);
        play_->Release(key);
    }
    return true;
}

bool NetWindow::FocusLost()
{
    if (Now() != Phase::Playing) return false;
    for (KeyCode key : held_) play_->Release(key); // their releases go elsewhere
    held_.clear();
    return true;
}

void NetWindow::PressAndRelease(KeyCode key)
{
    play_->Press(key);
    play_->Release(key);
}

bool NetWindow::MenuCommand(int n)
{
    if (Now() != Phase::Playing) return false;
    switch (n) {
    case 1:
    case 2: play_->HostCommand(NetNewGame); return true; // a network game is for two
    case 7: PressAndRelease(VkF1); return true;          // resumes both sides
    default: return false; // loading, saving, the Game Control dialog and "Exit" are the window's
    }
}

bool NetWindow::PauseButton()
{
    if (Now() != Phase::Playing) return false;
    if (!parts_.State.GameOver) PressAndRelease(VkF1);
    return true;
}

bool NetWindow::HostLoad(std::vector<std::uint8_t> bytes)
{
    return Now() == Phase::Playing && play_->HostLoad(std::move(bytes));
}

void NetWindow::HostStep(std::int32_t step)
{
    if (Now() == Phase::Playing) play_->HostCommand(NetStep(step));
}

} // namespace brakkon
