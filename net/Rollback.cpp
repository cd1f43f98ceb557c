#include "net/Rollback.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace brakkon {
namespace {
/// The prediction of a remote slot: nothing new, the keys held stay held.
const SlotInput NothingNew{};
} // namespace

Rollback::Rollback(SlotGame& game, Side local, RollbackOptions options)
    : game_(game), localSide_(local), options_(options),
      ring_(static_cast<std::size_t>(std::max<std::int64_t>(options.MaxAhead, 0) + 2)),
      ringSlot_(ring_.size(), -1)
{
    if (options_.HashEvery <= 0) options_.HashEvery = 60;
}

void Rollback::PushLocal(const SlotInput& input) { local_.push_back(input); }

const SlotInput& Rollback::LocalInput(std::int64_t slot) const
{
    if (slot < localBase_ || slot >= LocalEnd()) throw std::out_of_range("local input no longer held");
    return local_[static_cast<std::size_t>(slot - localBase_)];
}

Rollback::Put Rollback::PutRemote(std::int64_t slot, const SlotInput& input)
{
    if (slot >= options_.EndSlot || slot > RemoteEnd()) return Put::OutOfOrder;
    if (slot < remoteBase_) return Put::Same; // confirmed long ago and let go
    if (slot < RemoteEnd()) return remote_[static_cast<std::size_t>(slot - remoteBase_)] == input ? Put::Same : Put::Conflict;
    remote_.push_back(input);
    if (slot < current_ && !(input == NothingNew)) wrong_ = std::min(wrong_, slot);
    return Put::Added;
}

void Rollback::Acknowledged(std::int64_t slot) { acked_ = std::max(acked_, std::min(slot, LocalEnd())); }

const SlotInput& Rollback::RemoteOrPredicted(std::int64_t slot) const
{
    if (slot >= remoteBase_ && slot < RemoteEnd()) return remote_[static_cast<std::size_t>(slot - remoteBase_)];
    return NothingNew;
}

bool Rollback::CanRun() const
{
    return !Ended() && current_ < LocalEnd() && current_ < RemoteEnd() + options_.MaxAhead;
}

std::int64_t Rollback::Confirmed() const { return std::min({current_, RemoteEnd(), wrong_}); }

void Rollback::RunSlot(std::int64_t slot, bool again)
{
    const std::size_t entry = static_cast<std::size_t>(slot) % ring_.size();
    game_.Save(ring_[entry]);
    ringSlot_[entry] = slot;
    const SlotInput& mine = LocalInput(slot);
    const SlotInput& theirs = RemoteOrPredicted(slot);
    if (localSide_ == Side::Host)
        game_.RunSlot(slot, mine, theirs, again);
    else
        game_.RunSlot(slot, theirs, mine, again);
}

void Rollback::Reconcile()
{
    if (wrong_ < current_) {
        const std::int64_t from = wrong_;
        if (ringSlot_[static_cast<std::size_t>(from) % ring_.size()] != from)
            throw std::logic_error("the state to go back to is no longer kept");
        game_.Restore(Ring(from));
        for (std::int64_t slot = from; slot < current_; ++slot) RunSlot(slot, true);
        ++stats_.Rollbacks;
        stats_.SlotsRerun += current_ - from;
        stats_.Longest = std::max(stats_.Longest, current_ - from);
    }
    wrong_ = std::numeric_limits<std::int64_t>::max();
    CaptureHashes();
}

void Rollback::RunOne()
{
    Reconcile();
    if (!CanRun()) return;
    RunSlot(current_, false);
    ++current_;
    CaptureHashes();
    Trim();
}

void Rollback::CaptureHashes()
{
    const std::int64_t confirmed = Confirmed();
    while (nextHash_ <= confirmed && nextHash_ <= options_.EndSlot) {
        const SlotState* state = nullptr;
        if (nextHash_ == current_) {
            game_.Save(scratch_);
            state = &scratch_;
        } else if (ringSlot_[static_cast<std::size_t>(nextHash_) % ring_.size()] == nextHash_) {
            state = &Ring(nextHash_);
        } else {
            throw std::logic_error("a confirmed state was let go before it was hashed");
        }
        hashes_.push_back({nextHash_, HashState(*state), state->TicksRun, state->Journal});
        const std::int64_t next = (nextHash_ / options_.HashEvery + 1) * options_.HashEvery;
        nextHash_ = nextHash_ < options_.EndSlot ? std::min(next, options_.EndSlot) : options_.EndSlot + 1;
    }
}

void Rollback::Trim()
{
    // Kept: remote inputs from the first slot that may still run again; local
    // ones from there or from the first the remote side has not acknowledged.
    const std::int64_t confirmed = Confirmed();
    while (remoteBase_ < confirmed && !remote_.empty()) {
        remote_.pop_front();
        ++remoteBase_;
    }
    const std::int64_t keepLocal = std::min(confirmed, acked_);
    while (localBase_ < keepLocal && !local_.empty()) {
        local_.pop_front();
        ++localBase_;
    }
}

std::vector<ConfirmedHash> Rollback::TakeHashes() { return std::exchange(hashes_, {}); }

} // namespace brakkon
