// One side of a network game without a window: brakkon-sim --host and --join.
//
// The host begins its game as brakkon-sim does (gate, players, seed, step),
// waits for one player, and sends it the start; the joiner connects, checks
// that both play the same data file, and builds its game from that start.
// Each side presses its own player's keys from its key script, committing
// the keys of a slot InputDelay slots before it runs, and both run the host's
// number of tick slots, one every PaceMs of real time (the game timer's
// interval unless given; 0 runs as fast as the other side allows). At the end
// both hold the same confirmed state: the one a local brakkon-sim run with
// both scripts reaches.
//
// Step() does one round of the loop (network, slots due, messages); it waits
// at most the time it is given, so two peers can share one thread in tests.
#pragma once

#include "net/PeerLink.h"
#include "net/SimSlots.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace brakkon {

/// Slots between a key's press and the slot it acts on, chosen from the
/// rollbacks measured through a link of 100 ms round trip.
constexpr std::int64_t DefaultInputDelay = 2;
constexpr std::int64_t MaxInputDelay = 4;

struct PeerOptions {
    Side Role = Side::Host;
    SimStart Start;                    ///< the data file; the host's game as brakkon-sim begins one
    std::int64_t Ticks = 0;            ///< the host's: tick slots the game runs
    std::vector<KeyEvent> Keys;        ///< this side's key script
    Endpoint Address;                  ///< the host's address to listen on, the joiner's to connect to
    std::int64_t InputDelay = DefaultInputDelay;
    std::int64_t MaxAhead = 8;
    std::optional<std::int64_t> PaceMs; ///< milliseconds per slot; the game's interval when not given
    std::filesystem::path ReplayFile;  ///< where the replay of the game goes (on a desync, or always)
    bool RecordAlways = false;         ///< write the replay at a normal end too
};

struct PeerStats {
    RollbackStats Rollback;
    std::int64_t Waits = 0;     ///< times a due slot waited for the other side
    std::int64_t SyncWaits = 0; ///< slots held back to stay level with the other side
    std::uint32_t RoundTripMs = 0; ///< as ENet last measured it
};

class HeadlessPeer {
public:
    explicit HeadlessPeer(PeerOptions options);
    ~HeadlessPeer();

    /// Loads the data file, checks the key script, begins the host's game,
    /// and listens or connects. On failure: false and the reason.
    [[nodiscard]] bool Open(std::string& error);
    /// The port the host listens on.
    [[nodiscard]] std::uint16_t Port() const;

    /// One round: waits up to `maxWaitMs` for the network (less when a slot
    /// is due), then handles what came, runs the slots due, sends.
    void Step(std::int64_t maxWaitMs);
    /// The game ended (either way) and the link is closed.
    [[nodiscard]] bool Done() const { return link_ && link_->Closed(); }
    /// How it ended; for a desync the message also says where the replay went.
    [[nodiscard]] const std::optional<SessionEnd>& End() const { return end_; }

    /// The game has begun: both sides greeted and the start is played.
    [[nodiscard]] bool Playing() const { return rollback_ != nullptr; }
    /// The rollback of the game once it began (where it stands, what is confirmed).
    [[nodiscard]] const Rollback* Progress() const { return rollback_; }
    [[nodiscard]] Simulation& Game() { return sim_; }
    [[nodiscard]] PeerStats Stats() const;
    /// One line on the rollbacks and waits of the game.
    [[nodiscard]] std::string StatsLine() const;

private:
    bool Begin(std::int64_t now, std::string& error);
    void StartGame(std::int64_t now);
    bool BuildJoinerGame(std::string& error);
    void FillLocalInputs();
    void RunDueSlots(std::int64_t now);
    void KeepLevel(std::int64_t now);
    void Finish(std::int64_t now);
    void WriteReplay();
    [[nodiscard]] std::int64_t Pace() const;

    PeerOptions options_;
    Simulation sim_;
    DataIdentity identity_;
    std::unique_ptr<SimSlots> slots_;
    std::unique_ptr<PeerLink> link_; ///< made in Open, once the data file is known
    Rollback* rollback_ = nullptr;   ///< the link's, once the game began
    Replay start_;
    std::int64_t ticks_ = 0;
    std::size_t nextKey_ = 0;
    std::int64_t nextSlotAt_ = 0;
    std::int64_t lastSyncWait_ = 0;
    bool waiting_ = false;
    bool begun_ = false; ///< slots run on this side's clock
    PeerStats stats_;
    std::optional<SessionEnd> end_;
};

} // namespace brakkon
