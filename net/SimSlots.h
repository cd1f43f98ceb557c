// brakkon-sim's simulation as the game of a network game, and the start that
// the host sends.
//
// The start travels as a replay's text holds it: the data file's identity,
// the header (generator, step, flow, players), and the working gate as a
// saved game loaded at tick 0, read on the other side by the replay reader
// and the saved-game loader. Both sides then play from exactly that state.
//
// SimSlots runs slots through Simulation::RunSlot, keeps and puts back the
// simulation's whole state for rollback. The simulation's driver records the
// game from its start on, so that the network game can be written as a
// replay that brakkon-sim --replay plays to the same state; going back to a
// slot goes back in that recording too.
#pragma once

#include "sim/Replay.h"
#include "net/Rollback.h"
#include "sim/Simulation.h"

#include <string_view>

namespace brakkon {

/// The start of a network game from a game that has begun (a simulation's
/// or the window's).
[[nodiscard]] Replay MakeNetStart(const MainState& state, DataIdentity data);
[[nodiscard]] inline Replay MakeNetStart(const Simulation& sim, DataIdentity data) { return MakeNetStart(sim.State, data); }
/// Reads a start that the host sent: a replay holding only its header and
/// one saved game loaded at tick 0, with the players' usual keys.
[[nodiscard]] TextResult ReadNetStart(std::string_view text, Replay& start);
/// Puts a start into a game whose data file is loaded, its driver recording
/// from the start's saved game on.
void ApplyNetStart(const Replay& start, MainState& state, GameDriver& driver);
inline void ApplyNetStart(const Replay& start, Simulation& sim) { ApplyNetStart(start, sim.State, sim.Driver); }

class SimSlots : public SlotGame {
public:
    /// Keeps a reference to `sim`, which stands at the start of slot 0.
    explicit SimSlots(Simulation& sim) : sim_(sim) {}

    void Save(SlotState& into) const override;
    void Restore(const SlotState& from) override;
    void RunSlot(std::int64_t slot, const SlotInput& player1, const SlotInput& player2, bool again) override;

    /// The replay of the game: the start and the first `events` events
    /// recorded, ending after `ticks` game ticks.
    [[nodiscard]] Replay ReplayOf(std::size_t events, std::int64_t ticks) const;
    [[nodiscard]] std::size_t JournalSize() const { return sim_.Driver.Recorded().Events.size(); }

private:
    Simulation& sim_;
};

} // namespace brakkon
