// One side of a network game's conversation, without sockets: what to send,
// what a received packet means, and how the game ends.
//
// The owner feeds it the transport's events (Connected, Received,
// Disconnected) and calls Tick with the time; it answers with packets to send
// (TakeOutgoing) and, once, the end of the game (End). In order:
//
//   1. Handshake: each side greets with its protocol version and data file;
//      any difference ends the game on both sides with one message naming
//      both. The host then sends the start; the joiner's owner builds its game
//      from it and attaches the rollback (so does the host's, at once).
//   2. Play: inputs flow both ways, each message repeating the local inputs
//      not yet acknowledged and acknowledging the remote ones held; a message
//      goes out whenever there is news and at least every ResendMs. Hashes of
//      the confirmed state are exchanged and compared.
//   3. End: when both sides hold the last slot's state and their hashes
//      agree, each says Bye. A damaged packet, a peer gone or silent for
//      SilenceMs, or hashes that differ end the game with a message.
#pragma once

#include "net/Protocol.h"
#include "net/Rollback.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace brakkon {

enum class EndReason : std::uint8_t {
    Finished,    ///< both sides reached the last slot with equal states
    Mismatch,    ///< protocol versions or data files differ
    Busy,        ///< the host already has its second player
    Unreachable, ///< no game answered
    PeerLeft,    ///< the other side closed the connection or went away
    PeerSilent,  ///< nothing came from the other side for SilenceMs
    Damaged,     ///< the other side sent something this side refuses
    Desync,      ///< the confirmed states differ
};

struct SessionEnd {
    EndReason Reason = EndReason::Finished;
    std::string Message;
    std::int64_t Slot = -1; ///< the slot whose hashes differed (Desync)
};

struct Outgoing {
    bool Reliable = true;
    std::vector<std::uint8_t> Bytes;
};

struct SessionOptions {
    std::int64_t SilenceMs = 3000;
    std::int64_t ResendMs = 30;
};

class Session {
public:
    Session(Side side, DataIdentity data, SessionOptions options = {});

    void Connected(std::int64_t now);
    void Received(std::span<const std::uint8_t> packet, std::int64_t now);
    void Disconnected(std::int64_t now);
    /// Silence, inputs due, hashes found, the end.
    void Tick(std::int64_t now);

    /// The host's start, sent once the greetings agree.
    void OfferStart(StartMessage start);
    /// True once the greetings agree.
    [[nodiscard]] bool Matched() const { return matched_; }
    /// The start the host sent (the joiner's), once it came.
    [[nodiscard]] const std::optional<StartMessage>& Start() const { return start_; }
    /// The game runs: from now on inputs and hashes flow. Keeps a reference.
    void Attach(Rollback& game);
    /// The host's: sends a saved game it loads; its number for NetLoad.
    std::uint16_t SendLoad(std::vector<std::uint8_t> bytes);
    /// The saved games the host loaded, by number.
    [[nodiscard]] const std::vector<std::vector<std::uint8_t>>& Loads() const { return loads_; }
    /// Ends the game on this side for a reason found outside the session.
    void Fail(EndReason reason, std::string message);

    [[nodiscard]] std::vector<Outgoing> TakeOutgoing() { return std::exchange(outgoing_, {}); }
    [[nodiscard]] const std::optional<SessionEnd>& End() const { return end_; }
    /// Where the confirmed game stood at the slot of a desync (or the last
    /// confirmed one before it).
    [[nodiscard]] std::optional<ConfirmedHash> DesyncPoint() const;

    /// The slot the other side was about to run when it last said, and when
    /// that came (-1 before).
    [[nodiscard]] std::int64_t RemoteNow() const { return remoteNow_; }
    [[nodiscard]] std::int64_t RemoteNowAt() const { return remoteNowAt_; }

private:
    void Handle(const HelloMessage& m);
    void Handle(const StartMessage& m);
    void Handle(const InputsMessage& m, std::int64_t now);
    void Handle(const HashMessage& m);
    void Handle(LoadMessage& m);
    void Damaged(const std::string& why);
    void Send(const Message& message, bool reliable);
    void SendInputs(std::int64_t now);
    void CompareHashes();
    [[nodiscard]] bool IsHashSlot(std::int64_t slot) const;

    Side side_;
    DataIdentity data_;
    SessionOptions options_;
    bool connected_ = false;
    bool greeted_ = false;
    bool matched_ = false;
    std::optional<StartMessage> offered_;
    std::optional<StartMessage> start_;
    Rollback* game_ = nullptr;
    std::int64_t lastHeard_ = 0;
    std::int64_t lastSent_ = -1;
    std::int64_t sentLocalEnd_ = -1;
    std::int64_t sentAck_ = -1;
    std::int64_t remoteNow_ = -1;
    std::int64_t remoteNowAt_ = -1;
    std::map<std::int64_t, ConfirmedHash> localHashes_; ///< from the last one both agreed on
    std::map<std::int64_t, std::uint64_t> remoteHashes_; ///< not yet compared
    std::vector<Outgoing> outgoing_;
    std::vector<std::vector<std::uint8_t>> loads_;
    std::optional<SessionEnd> end_;
};

} // namespace brakkon
