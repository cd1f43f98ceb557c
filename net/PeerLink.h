// What both network peers (the window's game and brakkon-sim's) keep of the
// other side: the connection, the conversation over it, and the rollback over
// the peer's game once that runs. What comes over the network goes to the
// session, what the session has to say goes out, the game begins once it may
// (the host's greetings agreed, the joiner's start came), and a side that has
// ended waits a little for its last messages to leave.
//
// The peer keeps its own game, its slots and its pace: it builds the game in
// the BeginGame it hands to Dispatch and attaches it with Attach.
#pragma once

#include "net/Rollback.h"
#include "net/Session.h"
#include "net/Transport.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brakkon {

class PeerLink {
public:
    /// Builds the peer's game when it may begin and attaches it; false with
    /// the reason when the host's start cannot be played.
    using BeginGame = std::function<bool(std::int64_t now, std::string& error)>;

    PeerLink(Side role, DataIdentity data, SessionOptions options = {});
    ~PeerLink();
    PeerLink(const PeerLink&) = delete;
    PeerLink& operator=(const PeerLink&) = delete;

    /// The host listens (a further player hears that it is busy), the joiner
    /// connects; false with the reason on failure.
    [[nodiscard]] bool Open(const Endpoint& address, std::string& error);
    [[nodiscard]] Side Role() const { return role_; }
    [[nodiscard]] Session& Conversation() { return session_; }
    [[nodiscard]] const Session& Conversation() const { return session_; }
    /// Valid once Open succeeded.
    [[nodiscard]] Transport& Connection() { return *transport_; }
    [[nodiscard]] const Transport& Connection() const { return *transport_; }

    /// Waits up to `waitMs` for the network; Dispatch then handles what came.
    void Poll(std::uint32_t waitMs);
    /// Hands what came to the session and begins the game through `begin`
    /// once it may; a start that cannot be played ends the game.
    void Dispatch(std::int64_t now, const BeginGame& begin);
    /// Sends what the session has to say.
    void Flush();

    /// The game runs from here over `game` (standing at slot 0): from now on
    /// inputs and hashes flow.
    Rollback& Attach(SlotGame& game, RollbackOptions options);
    [[nodiscard]] const Rollback* Progress() const { return rollback_.get(); }

    /// Ends the link from this side and begins waiting for the last messages.
    void Close(std::int64_t now);
    /// Notes when a closing link has closed: the other side went, or the wait ran out.
    void CheckClosed(std::int64_t now);
    [[nodiscard]] bool Closed() const { return closed_; }
    /// Says at once that this side goes, when it goes without waiting.
    void Hangup();

private:
    Side role_;
    std::unique_ptr<Transport> transport_;
    Session session_;
    std::unique_ptr<Rollback> rollback_;
    std::vector<TransportEvent> events_;
    std::int64_t closingSince_ = -1;
    bool closed_ = false;
};

} // namespace brakkon
