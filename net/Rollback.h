// Rollback: a network game that never waits for the other side's keys
// unless it has to.
//
// The local player's inputs are applied on the slot they fall on. For a slot
// whose remote inputs have not arrived, the remote player is predicted to do
// nothing new: the keys it holds stay held. Before each slot runs, the state
// at its start is kept in a ring, one per slot; when the remote inputs of a
// slot arrive and differ from that prediction, the game goes back to that
// slot's state and runs forward again to where it was, quietly (the game is
// told the slots run again). A side never runs more than MaxAhead slots past
// the remote inputs it holds: it waits for them instead.
//
// A slot is confirmed when both sides' inputs of it are known and the game
// ran it with them. At every HashEvery-th slot (from 0) and at the last one,
// the confirmed state is hashed for the desync check.
//
// Rollback owns the input logs and the ring; SlotGame is the game it drives
// (brakkon-sim's simulation, later the window's).
#pragma once

#include "net/SlotInput.h"
#include "net/SlotState.h"

#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

namespace brakkon {

/// The game that rollback drives: one slot at a time, its state kept and put back.
class SlotGame {
public:
    virtual ~SlotGame() = default;
    virtual void Save(SlotState& into) const = 0;
    virtual void Restore(const SlotState& from) = 0;
    /// Runs slot `slot`: player 1's keys, then player 2's, then the timers'
    /// work. `again` when it is run a second time after a correction: its
    /// effects have been heard once already.
    virtual void RunSlot(std::int64_t slot, const SlotInput& player1, const SlotInput& player2, bool again) = 0;
};

struct RollbackOptions {
    std::int64_t MaxAhead = 8;   ///< slots run past the remote inputs held
    std::int64_t HashEvery = 60; ///< slots between hashes of the confirmed state
    std::int64_t EndSlot = std::numeric_limits<std::int64_t>::max(); ///< slots the game runs
};

struct RollbackStats {
    std::int64_t Rollbacks = 0;  ///< times the game went back
    std::int64_t SlotsRerun = 0; ///< slots run again in all
    std::int64_t Longest = 0;    ///< most slots run again at once
};

/// A hash of the confirmed state at the start of Slot, with where the game
/// then stood.
struct ConfirmedHash {
    std::int64_t Slot = 0;
    std::uint64_t Hash = 0;
    std::int64_t TicksRun = 0;
    std::size_t Journal = 0;
};

class Rollback {
public:
    /// Keeps a reference to `game`, which stands at the start of slot 0.
    Rollback(SlotGame& game, Side local, RollbackOptions options);

    /// The local input of the next slot without one (slots in order from 0).
    void PushLocal(const SlotInput& input);
    [[nodiscard]] std::int64_t LocalEnd() const { return localBase_ + static_cast<std::int64_t>(local_.size()); }
    /// A local input still held: at or after the oldest that was not yet
    /// acknowledged or confirmed.
    [[nodiscard]] const SlotInput& LocalInput(std::int64_t slot) const;

    enum class Put { Added, Same, Conflict, OutOfOrder };
    /// The remote input of `slot`: the next one not held (Added), or one held
    /// already, again (Same) or different (Conflict). Anything else is out of
    /// order. Nothing is run here: Reconcile does that.
    [[nodiscard]] Put PutRemote(std::int64_t slot, const SlotInput& input);
    [[nodiscard]] std::int64_t RemoteEnd() const { return remoteBase_ + static_cast<std::int64_t>(remote_.size()); }

    /// The remote side holds the local inputs before `slot`.
    void Acknowledged(std::int64_t slot);
    [[nodiscard]] std::int64_t AcknowledgedEnd() const { return acked_; }

    /// True when the next slot may run: the game has not ended, its local
    /// input is known, and it lies within MaxAhead of the remote inputs held.
    [[nodiscard]] bool CanRun() const;
    /// Runs the next slot (reconciling first).
    void RunOne();
    /// Goes back to the first slot whose remote input was mispredicted, if
    /// any, and runs forward again to the current slot.
    void Reconcile();

    /// The slot about to run.
    [[nodiscard]] std::int64_t Current() const { return current_; }
    /// Slots before this are confirmed.
    [[nodiscard]] std::int64_t Confirmed() const;
    [[nodiscard]] bool Ended() const { return current_ >= options_.EndSlot; }

    /// The hashes of confirmed states found since the last call.
    [[nodiscard]] std::vector<ConfirmedHash> TakeHashes();
    [[nodiscard]] const RollbackStats& Stats() const { return stats_; }
    [[nodiscard]] const RollbackOptions& Options() const { return options_; }

private:
    [[nodiscard]] const SlotInput& RemoteOrPredicted(std::int64_t slot) const;
    void RunSlot(std::int64_t slot, bool again);
    void CaptureHashes();
    void Trim();
    [[nodiscard]] SlotState& Ring(std::int64_t slot) { return ring_[static_cast<std::size_t>(slot) % ring_.size()]; }

    SlotGame& game_;
    Side localSide_;
    RollbackOptions options_;
    std::deque<SlotInput> local_;
    std::deque<SlotInput> remote_;
    std::int64_t localBase_ = 0;
    std::int64_t remoteBase_ = 0;
    std::int64_t acked_ = 0;
    std::int64_t current_ = 0;
    std::int64_t wrong_ = std::numeric_limits<std::int64_t>::max(); ///< first mispredicted slot
    std::vector<SlotState> ring_;
    std::vector<std::int64_t> ringSlot_; ///< which slot each ring entry holds
    SlotState scratch_;
    std::int64_t nextHash_ = 0;
    std::vector<ConfirmedHash> hashes_;
    RollbackStats stats_;
};

} // namespace brakkon
