// The whole state of a game at the start of a tick slot, kept so that a
// network game can go back to it, and its 64-bit hash.
//
// EngineSnapshot holds what one game tick and one clock tick read or write:
// the working gate's figures, sprites and cells, both players' keys and
// requests, the flags of the game's flow, the movement step and the random
// generator. It is flat (records by value), so that keeping one is a copy
// into buffers that stay allocated from slot to slot. The stored gates and
// the image library never change during play and are not kept.
//
// SlotState adds what the driver of the slots keeps: the timers' switch,
// simulated time, the ticks counted, and the lengths of the logs that a
// going back shortens (effects heard, events journalled).
#pragma once

#include "game/MainState.h"
#include "sim/Replay.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace brakkon {

struct EngineSnapshot {
    bool HasGate = false;
    std::array<std::int32_t, 11> GateHeader{}; ///< GateNo .. NextGate
    std::vector<SpriteType> Sprites;
    std::vector<std::uint32_t> ColumnSizes;
    std::vector<CellType> Cells; ///< column by column
    ReplayStart Rest; ///< the generator, the step, the flow and both players: what a replay starts from
};

/// Copies the game-deciding part of `state` into `into`, reusing its buffers.
void SaveEngine(const MainState& state, EngineSnapshot& into);
/// Puts a snapshot back. The records of the working gate are overwritten
/// where they are; shells that appeared since are freed, shells that went are
/// made again.
void RestoreEngine(const EngineSnapshot& from, MainState& state);

struct SlotState {
    EngineSnapshot Engine;
    bool TimersEnabled = true;
    bool ClockRestarted = false;
    std::int64_t Elapsed = 0;
    std::int64_t NextClock = 0;
    std::int64_t TicksRun = 0;
    std::int64_t ClockTicks = 0;
    std::optional<std::int64_t> GameOverTick;
    std::size_t Effects = 0; ///< effects heard before the slot
    std::size_t Journal = 0; ///< replay events recorded before the slot
    std::int64_t JournalTicks = 0; ///< and the game ticks the recording counted
};

/// FNV-1a 64 over every field of the state, the logs' lengths left out: two
/// sides that played the same game hash alike.
[[nodiscard]] std::uint64_t HashState(const SlotState& state);

} // namespace brakkon
