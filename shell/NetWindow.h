// NetWindow: the main window's network game. It hosts or joins (NetPlay),
// services the connection from the event loop (a notifier on its socket and
// every tick of the game timer; it never waits), and, while the game is on,
// takes the window's game timer, its clock, its keys and the menu's
// commands:
//
// - each side plays its tank with player 1's keys (the joiner's become
//   player 2's) or its first pad; F1 and Escape, "7. Return" and the
//   "[Menu]" button pause and resume both sides;
// - a new game and the movement step are the host's: the joiner's menu
//   withholds them and the Game Control dialog;
// - the clock ticks on slots the game decides, not on the clock timer.
//
// When the game ends, a message says why and the window is back at its menu,
// the game standing paused where it was, to go on with on one keyboard.
#pragma once

#include "net/Discovery.h"
#include "net/NetPlay.h"
#include "platform/Timer.h"
#include "shell/MainMenu.h"
#include "sim/GameDriver.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
class QWidget;

namespace brakkon {

class NetWindow : public QObject {
    Q_OBJECT
public:
    /// The window's parts the network game reaches.
    struct Parts {
        QWidget& Window;
        MainState& State;
        GameHost& Screen;
        GameDriver& Driver; ///< the window's, for its pause when the game ends
        Timer& GameTimer;
        Timer& ClockTimer;
        MainMenu& Menu;
        std::function<std::filesystem::path()> DataFile; ///< the data file loaded
    };
    /// How a network game runs; tests hold the slots level by hand.
    struct Tuning {
        std::int64_t InputDelay = 2;
        bool KeepLevel = true;
        SessionOptions Session;
        std::filesystem::path ReplayFile; ///< empty: the user's data directory
        /// Where a waiting host answers the local network's probes (its
        /// address when it listens on one); none: it does not.
        std::optional<Endpoint> AnswerAt = Endpoint{{}, DiscoveryPort};
    };

    NetWindow(Parts parts, Tuning tuning);
    ~NetWindow() override;

    enum class Phase { Idle, Waiting, Playing };
    [[nodiscard]] Phase Now() const;

    /// Waits for a player on `bind`; false with the reason when it cannot.
    bool Host(const Endpoint& bind, std::string& error);
    /// Connects to a host; the answer comes later (Changed).
    bool Join(const Endpoint& to, std::string& error);
    /// Stops waiting or ends the game from this side.
    void Cancel();
    /// Where the host can be reached: its addresses and port.
    [[nodiscard]] std::string Reachable() const;
    /// Why the last network game ended or never began; empty when it is on.
    [[nodiscard]] const std::string& LastMessage() const { return lastMessage_; }
    [[nodiscard]] const NetPlay* Play() const { return play_.get(); }
    /// The port a waiting host answers probes on; 0 when it does not (another
    /// game on this machine has the port: this one is not listed, but can be
    /// joined all the same).
    [[nodiscard]] std::uint16_t AnswerPort() const { return answerer_ ? answerer_->Port() : 0; }

    // ---- The window's hooks: true when the network game took the thing ----
    bool GameTick();
    [[nodiscard]] bool OwnsClock() const { return Now() == Phase::Playing; }
    bool Key(bool press, KeyCode key);
    bool FocusLost();
    bool MenuCommand(int n);
    bool PauseButton();
    /// A saved game the host chose to load: false when this is no network game.
    bool HostLoad(std::vector<std::uint8_t> bytes);
    /// The step chosen in the host's Game Control dialog.
    void HostStep(std::int32_t step);
    [[nodiscard]] bool Joined() const { return Now() == Phase::Playing && role_ == Side::Joiner; }

signals:
    /// Waiting began or ended, the game began or ended.
    void Changed();

private:
    bool Open(Side role, const Endpoint& address, std::string& error);
    void Service();
    void Follow();
    void Began();
    void Ended();
    void Close();
    void PressAndRelease(KeyCode key);
    void AnswerProbes(const Endpoint& listen, const DataIdentity& data);
    void StopAnswering();

    Parts parts_;
    Tuning tuning_;
    Side role_ = Side::Host;
    std::unique_ptr<NetPlay> play_;
    QPointer<QSocketNotifier> notifier_;
    QTimer serviceTimer_; ///< the link's resends while no game timer ticks: waiting, closing
    std::unique_ptr<DiscoveryAnswerer> answerer_;
    QPointer<QSocketNotifier> answerNotifier_;
    bool began_ = false;
    bool ended_ = false;
    std::int32_t windowInterval_ = 16;
    std::vector<KeyCode> held_; ///< local keys pressed and not released
    std::string lastMessage_;
};

} // namespace brakkon
