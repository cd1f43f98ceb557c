#include "net/Session.h"

#include <algorithm>
#include <cstdio>

namespace brakkon {
namespace {

std::string Describe(const HelloMessage& hello)
{
    char checksum[17] = {};
    std::snprintf(checksum, sizeof checksum, "%016llx", static_cast<unsigned long long>(hello.Data.Checksum));
    return "protocol version " + std::to_string(hello.Version) + ", a data file of " +
           std::to_string(hello.Data.Size) + " bytes with checksum " + checksum;
}

} // namespace

Session::Session(Side side, DataIdentity data, SessionOptions options) : side_(side), data_(data), options_(options) {}

void Session::Connected(std::int64_t now)
{
    connected_ = true;
    lastHeard_ = now;
    Send(HelloMessage{ProtocolVersion, data_}, true);
}

void Session::Disconnected(std::int64_t)
{
    if (end_) return;
    if (!connected_)
        end_ = SessionEnd{EndReason::Unreachable, "No game answered at that address.", -1};
    else
        end_ = SessionEnd{EndReason::PeerLeft, "The other player left the game; the network game ended.", -1};
}

void Session::Received(std::span<const std::uint8_t> packet, std::int64_t now)
{
    if (end_) return;
    lastHeard_ = now;
    Decoded decoded = Decode(packet, OtherSide(side_));
    if (!decoded) return Damaged(decoded.Error);
    Message& message = *decoded.Value;
    // Inputs travel on a channel of their own, unordered with the rest: they
    // may pass the greeting and the start, and come again later.
    if (std::holds_alternative<InputsMessage>(message) && game_ == nullptr) return;
    if (!greeted_ && !std::holds_alternative<HelloMessage>(message) && !std::holds_alternative<BusyMessage>(message))
        return Damaged("a message before its greeting");
    if (const auto* m = std::get_if<HelloMessage>(&message)) return Handle(*m);
    if (std::holds_alternative<BusyMessage>(message)) {
        end_ = SessionEnd{EndReason::Busy, "That game already has two players.", -1};
        return;
    }
    if (const auto* m = std::get_if<StartMessage>(&message)) return Handle(*m);
    if (const auto* m = std::get_if<InputsMessage>(&message)) return Handle(*m, now);
    if (const auto* m = std::get_if<HashMessage>(&message)) return Handle(*m);
    if (auto* m = std::get_if<LoadMessage>(&message)) return Handle(*m);
    if (std::holds_alternative<ByeMessage>(message)) {
        end_ = SessionEnd{EndReason::PeerLeft, "The other player left the game; the network game ended.", -1};
        return;
    }
    if (const auto* m = std::get_if<DesyncMessage>(&message))
        end_ = SessionEnd{EndReason::Desync,
                          "The other player's game went out of step with this one at tick " + std::to_string(m->Slot) +
                              "; the network game ended.",
                          m->Slot};
}

void Session::Handle(const HelloMessage& m)
{
    if (greeted_) return Damaged("a second greeting");
    greeted_ = true;
    const HelloMessage mine{ProtocolVersion, data_};
    if (!(m == mine)) {
        end_ = SessionEnd{EndReason::Mismatch,
                          "The two games differ: this one has " + Describe(mine) + "; the other player's has " +
                              Describe(m) + ". A network game needs the same version and data file on both sides.",
                          -1};
        return;
    }
    matched_ = true;
    if (side_ == Side::Host && offered_) {
        Send(*offered_, true);
        start_ = offered_;
    }
}

void Session::Handle(const StartMessage& m)
{
    if (!matched_ || start_) return Damaged("a start out of turn");
    start_ = m;
}

void Session::Handle(LoadMessage& m)
{
    if (m.Index != loads_.size()) return Damaged("a saved game out of order");
    loads_.push_back(std::move(m.Bytes));
}

std::uint16_t Session::SendLoad(std::vector<std::uint8_t> bytes)
{
    const auto index = static_cast<std::uint16_t>(loads_.size());
    Send(LoadMessage{index, bytes}, true);
    loads_.push_back(std::move(bytes));
    return index;
}

void Session::Handle(const InputsMessage& m, std::int64_t now)
{
    if (m.Ack > game_->LocalEnd()) return Damaged("an acknowledgement of inputs never sent");
    for (std::size_t i = 0; i < m.Slots.size(); ++i) {
        // A load whose bytes are still on their way: the slot comes again.
        const auto events = m.Slots[i].Events();
        if (std::any_of(events.begin(), events.end(),
                        [&](const NetKey& k) { return LoadOfNetKey(k.Key) >= static_cast<int>(loads_.size()); }))
            break;
        switch (game_->PutRemote(static_cast<std::int64_t>(m.First + i), m.Slots[i])) {
        case Rollback::Put::Added:
        case Rollback::Put::Same: break;
        case Rollback::Put::Conflict: return Damaged("inputs that changed after they were sent");
        case Rollback::Put::OutOfOrder: return Damaged("inputs out of order");
        }
    }
    game_->Acknowledged(m.Ack);
    remoteNow_ = m.Now;
    remoteNowAt_ = now;
}

void Session::Handle(const HashMessage& m)
{
    if (game_ == nullptr) return Damaged("a hash before the game began");
    // The other side can confirm a slot only once it holds this side's inputs before it.
    if (!IsHashSlot(m.Slot) || static_cast<std::int64_t>(m.Slot) > game_->LocalEnd())
        return Damaged("a hash of a tick that cannot be confirmed");
    const auto [it, added] = remoteHashes_.emplace(m.Slot, m.Hash);
    if (!added && it->second != m.Hash) return Damaged("two hashes of one tick");
    CompareHashes();
}

bool Session::IsHashSlot(std::int64_t slot) const
{
    const RollbackOptions& o = game_->Options();
    return slot <= o.EndSlot && (slot % o.HashEvery == 0 || slot == o.EndSlot);
}

void Session::CompareHashes()
{
    while (!end_ && !remoteHashes_.empty()) {
        const auto [slot, hash] = *remoteHashes_.begin();
        const auto local = localHashes_.find(slot);
        if (local == localHashes_.end()) return; // this side has not confirmed it yet
        if (local->second.Hash != hash) {
            end_ = SessionEnd{EndReason::Desync,
                              "The two games went out of step at tick " + std::to_string(slot) +
                                  "; the network game ended.",
                              slot};
            Send(DesyncMessage{static_cast<std::uint32_t>(slot)}, true);
            return;
        }
        localHashes_.erase(localHashes_.begin(), local); // the last agreed one stays
        remoteHashes_.erase(remoteHashes_.begin());
        if (slot == game_->Options().EndSlot) {
            // Both hold the last tick's state and agree: the game is over.
            Send(ByeMessage{}, true);
            end_ = SessionEnd{EndReason::Finished, {}, -1};
        }
    }
}

void Session::Tick(std::int64_t now)
{
    if (end_) return;
    if (connected_ && now - lastHeard_ > options_.SilenceMs) {
        end_ = SessionEnd{EndReason::PeerSilent,
                          "Nothing came from the other player for " + std::to_string(options_.SilenceMs / 1000) +
                              " seconds; the network game ended.",
                          -1};
        return;
    }
    if (game_ == nullptr) return;
    for (const ConfirmedHash& h : game_->TakeHashes()) {
        localHashes_[h.Slot] = h;
        Send(HashMessage{static_cast<std::uint32_t>(h.Slot), h.Hash}, true);
    }
    CompareHashes();
    if (!end_) SendInputs(now);
}

void Session::SendInputs(std::int64_t now)
{
    const bool news = game_->LocalEnd() > sentLocalEnd_ || game_->RemoteEnd() > sentAck_;
    if (!news && now - lastSent_ < options_.ResendMs) return;
    InputsMessage m;
    m.Ack = static_cast<std::uint32_t>(game_->RemoteEnd());
    m.Now = static_cast<std::uint32_t>(game_->Current());
    m.First = static_cast<std::uint32_t>(game_->AcknowledgedEnd());
    const std::int64_t end = std::min(game_->LocalEnd(), game_->AcknowledgedEnd() + std::int64_t{MaxSlotsPerMessage});
    for (std::int64_t slot = game_->AcknowledgedEnd(); slot < end; ++slot) m.Slots.push_back(game_->LocalInput(slot));
    Send(m, false);
    lastSent_ = now;
    sentLocalEnd_ = game_->LocalEnd();
    sentAck_ = game_->RemoteEnd();
}

void Session::OfferStart(StartMessage start)
{
    offered_ = std::move(start);
    if (matched_ && !start_) {
        Send(*offered_, true);
        start_ = offered_;
    }
}

void Session::Attach(Rollback& game) { game_ = &game; }

void Session::Fail(EndReason reason, std::string message)
{
    if (!end_) end_ = SessionEnd{reason, std::move(message), -1};
}

std::optional<ConfirmedHash> Session::DesyncPoint() const
{
    if (!end_ || end_->Reason != EndReason::Desync || localHashes_.empty()) return std::nullopt;
    auto it = localHashes_.upper_bound(end_->Slot);
    if (it == localHashes_.begin()) return std::nullopt;
    return std::prev(it)->second;
}

void Session::Damaged(const std::string& why)
{
    end_ = SessionEnd{EndReason::Damaged,
                      "The other player sent a message this game refuses (" + why + "); the network game ended.", -1};
}

void Session::Send(const Message& message, bool reliable) {
    outgoing_.push_back({reliable, Encode(message)}); }

} // namespace brakkon
