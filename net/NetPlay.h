// The window's side of a network game, without Qt: the connection, the
// conversation, and the rollback over the window's own engine state.
//
// The window creates it to host (waiting for one player) or to join, and
// then calls it from its event loop: Service() whenever the socket has
// something or the game timer ticks (it never waits), Advance() at each tick
// of the game timer (one slot, now and then none or two so that the two
// sides stay level). The local player's keys come through Press and Release
// (already this side's player's codes), the host's new game and step through
// HostCommand; each goes into the next slot not yet committed, InputDelay
// slots ahead.
//
// The host begins a new game for two players once the other side's greeting
// agrees, and sends it as the start; the joiner plays from that start. The
// game has no end of its own: it ends when a side leaves, goes silent, sends
// what this side refuses, or when the two games go out of step, in which
// case this side's replay of the game is written to ReplayFile.
#pragma once

#include "net/PeerLink.h"
#include "net/WindowSlots.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace brakkon {

struct NetPlayOptions {
    Side Role = Side::Host;
    Endpoint Address;             ///< where the host listens, where the joiner connects
    DataIdentity Data;            ///< the window's data file
    std::int32_t Interval = 16;   ///< the host's: milliseconds per slot
    std::int64_t InputDelay = 2;  ///< slots between a key and the slot it acts on
    std::int64_t MaxAhead = 8;
    bool KeepLevel = true;        ///< hold back or catch up a slot to stay level with the other side
    std::filesystem::path ReplayFile; ///< where this side's replay goes on a desync
    SessionOptions Session;
};

class NetPlay {
public:
    /// Keeps references to the window's engine state and screen.
    NetPlay(MainState& state, GameHost& screen, NetPlayOptions options);
    ~NetPlay();

    /// Listens or connects; false with the reason on failure.
    [[nodiscard]] bool Open(std::string& error);
    [[nodiscard]] std::uint16_t Port() const { return link_.Connection().Port(); }
    [[nodiscard]] int Socket() const { return link_.Connection().Socket(); }
    [[nodiscard]] bool Hosting() const { return options_.Role == Side::Host; }

    /// Handles what came, answers, starts the game when both are ready.
    void Service(std::int64_t now);
    /// One tick of the window's game timer: runs the slots due.
    void Advance(std::int64_t now);

    void Press(KeyCode key);
    void Release(KeyCode key);
    /// The host's new game (NetNewGame) or step (NetStep); ignored on the joiner's side.
    void HostCommand(KeyCode code);

    /// The host's saved game loaded on both sides: its bytes go at once, the
    /// load itself with the next keys. False when this side cannot.
    bool HostLoad(std::vector<std::uint8_t> bytes);
    /// The game has begun and not ended.
    [[nodiscard]] bool Playing() const { return rollback_ != nullptr && !end_; }
    [[nodiscard]] const std::optional<SessionEnd>& End() const { return end_; }
    /// Ended and the last messages are out (or given up on).
    [[nodiscard]] bool Closed() const { return link_.Closed(); }
    /// Ends the game from this side (the window closes, Cancel).
    void Leave(std::int64_t now);

    [[nodiscard]] const Rollback* Progress() const { return rollback_; }
    /// The hash of the game's state as it stands now.
    [[nodiscard]] std::uint64_t StateHash() const;
    [[nodiscard]] std::uint32_t RoundTripMs() const { return link_.Connection().RoundTripMs(); }
    /// Milliseconds per slot: the host's, once the game began.
    [[nodiscard]] std::int32_t Interval() const { return options_.Interval; }
    /// One line on the game's corrections and pacing.
    [[nodiscard]] std::string StatsLine() const;

private:
    bool Begin(std::string& error);
    void BeginHostGame();
    bool BeginJoinerGame(std::string& error);
    void Attach();
    void CommitLocal();
    [[nodiscard]] int SlotsDue(std::int64_t now);
    void Finish(std::int64_t now);
    void WriteReplay();

    MainState& state_;
    NetPlayOptions options_;
    NetHost host_;
    GameDriver driver_;
    std::unique_ptr<WindowSlots> slots_;
    PeerLink link_;
    Rollback* rollback_ = nullptr; ///< the link's, once the game began
    std::deque<NetKey> pending_; ///< local keys not yet committed to a slot
    std::int64_t lastLevel_ = 0;
    std::int64_t levelChanges_ = 0;
    std::optional<SessionEnd> end_;
};

} // namespace brakkon
