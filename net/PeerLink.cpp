#include "net/PeerLink.h"

namespace brakkon {
namespace {

/// How long a side that has ended waits for its last messages to leave.
constexpr std::int64_t CloseWaitMs = 1000;

} // namespace

PeerLink::PeerLink(Side role, DataIdentity data, SessionOptions options)
    : role_(role), session_(role, data, options)
{
}

PeerLink::~PeerLink() = default;

bool PeerLink::Open(const Endpoint& address, std::string& error)
{
    if (role_ == Side::Host)
        transport_ = Transport::Listen(address, Encode(BusyMessage{}), error);
    else
        transport_ = Transport::Connect(address, error);
    return transport_ != nullptr;
}

void PeerLink::Poll(std::uint32_t waitMs)
{
    events_.clear();
    transport_->Service(waitMs, events_);
}

void PeerLink::Dispatch(std::int64_t now, const BeginGame& begin)
{
    for (const TransportEvent& event : events_) {
        switch (event.What) {
        case TransportEvent::Kind::Connected: session_.Connected(now); break;
        case TransportEvent::Kind::Disconnected: session_.Disconnected(now); break;
        case TransportEvent::Kind::Received:
            session_.Received(event.Bytes, now);
            if (rollback_ || session_.End()) break;
            if (role_ == Side::Host ? session_.Matched() : session_.Start().has_value()) {
                std::string error;
                if (!begin(now, error))
                    session_.Fail(EndReason::Damaged,
                                  "The host's start cannot be played (" + error + "); the network game ended.");
            }
            break;
        }
    }
    events_.clear();
}

void PeerLink::Flush()
{
    for (const Outgoing& out : session_.TakeOutgoing()) transport_->Send(out.Bytes, out.Reliable);
}

Rollback& PeerLink::Attach(SlotGame& game, RollbackOptions options)
{
    rollback_ = std::make_unique<Rollback>(game, role_, options);
    session_.Attach(*rollback_);
    return *rollback_;
}

void PeerLink::Close(std::int64_t now)
{
    transport_->Disconnect();
    closingSince_ = now;
}

void PeerLink::CheckClosed(std::int64_t now)
{
    if (closingSince_ >= 0 && (!transport_->HasPeer() || now - closingSince_ > CloseWaitMs)) closed_ = true;
}

void PeerLink::Hangup()
{
    if (!transport_ || !transport_->HasPeer()) return;
    transport_->Disconnect();
    std::vector<TransportEvent> events;
    transport_->Service(0, events);
}

} // namespace brakkon
