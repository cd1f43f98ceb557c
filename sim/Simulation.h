// A game without a window: the engine driven tick by tick from a key
// script, with simulated time. brakkon-sim, the golden replays and the soak
// test run games through it.
//
// Each tick slot: the key events of that slot go to the driver as commands,
// as the window's keys do (menu keys do nothing here); then,
// while the timers run, simulated time advances by the game timer's interval,
// the clock timer's tick runs each time another 1000 ms have passed, and the
// game timer's tick runs. While the game is paused the timers stand: neither
// time nor ticks pass, and the clock counts its 1000 ms anew from the resume,
// as a restarted timer does.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "sim/GameDriver.h"
#include "sim/Replay.h"
#include "sim/SimKeys.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace brakkon {

/// The window as the simulator sees it: effects are recorded with the tick
/// slot they happened in; the timers' switch is kept; the rest shows nothing.
class SimHost : public SilentHost {
public:
    std::vector<std::pair<std::int64_t, std::int32_t>> Effects; ///< (tick slot, effect index)
    std::int64_t Slot = 0;       ///< the tick slot now running
    bool TimersEnabled = true;   ///< the game starts with both timers running
    bool ClockRestarted = false; ///< the timers were switched on again since the last look

    void PlayEffect(SoundEffect effect) override { Effects.emplace_back(Slot, EffectCode(effect)); }
    void EnableTimers(bool enabled) override
    {
        if (enabled && !TimersEnabled) ClockRestarted = true;
        TimersEnabled = enabled;
    }
};

/// How a simulated game begins.
struct SimStart {
    std::filesystem::path DataFile;            ///< "Game.dat" of the game
    std::optional<std::int32_t> Gate;          ///< a new game at this stored gate...
    std::int32_t Players = 1;                  ///< ...for one or two players
    std::optional<std::filesystem::path> Load; ///< or a saved game resumed
    std::uint64_t Seed = 0;                    ///< the generator is advanced Seed + 1 times first
    std::int32_t Interval = 16;                ///< milliseconds of the game timer
    std::int32_t MoveStep = DefaultMoveStep;
};

/// Simulated time: the game timer's interval and when the clock ticks next.
struct SimTime {
    std::int32_t Interval = 16;      ///< milliseconds per game tick
    std::int64_t Elapsed = 0;        ///< milliseconds of game ticks so far
    std::int64_t NextClock = 1000;   ///< the clock ticks when Elapsed reaches it
};

class Simulation {
public:
    MainState State;
    SimHost Host;
    GameDriver Driver{State, Host}; ///< every command and game tick goes through it
    SimTime Time;
    std::int64_t TicksRun = 0;                ///< game ticks that ran (not the slots paused)
    std::int64_t ClockTicks = 0;              ///< clock ticks that ran
    std::optional<std::int64_t> GameOverTick; ///< slot in which the game first ended
    std::optional<std::int64_t> GateWonTick;  ///< slot in which the clock first found a gate won

    /// Starts up (the data, the generator, the step), then starts the gate
    /// or loads the saved game and resumes it. On failure: false, with
    /// the reason in `error` (file errors are also shown through the error
    /// seam).
    bool Begin(const SimStart& start, std::string& error);

    /// Loads the data file, refuses it unless it is the one `replay` was
    /// recorded with, and has the driver play it from its recorded start.
    bool BeginReplay(const std::filesystem::path& dataFile, const Replay& replay, std::string& error);

    /// Plays the replay begun by BeginReplay to its end: the recorded
    /// commands, each before the game tick it came before, and every game
    /// tick that ran in the window (the replay's events alone switch the
    /// timers; a slot is a game tick here).
    void RunReplay();

    /// Runs `slots` tick slots with the key events of `keys` (in script
    /// order within a tick) and those of `players`. `afterTick` runs after
    /// each game tick that ran.
    void Run(std::int64_t slots, const std::vector<KeyEvent>& keys,
             const std::function<void(const Simulation&)>& afterTick = {}, std::span<KeyPlayer* const> players = {});

    /// One tick slot: its keys (from `nextKey` on in `keys`, which is ordered
    /// by tick), then those of each of `players` in turn, then the timers'
    /// work if they run.
    void RunSlot(std::int64_t slot, const std::vector<KeyEvent>& keys, std::size_t& nextKey,
                 std::span<KeyPlayer* const> players = {});

    /// One tick slot with these key events, in this order (a network game's
    /// slot: player 1's keys, then player 2's), then those of each of
    /// `players` in turn.
    void RunSlot(std::int64_t slot, std::span<const KeyEvent> events, std::span<KeyPlayer* const> players = {});

    /// The final state as one JSON object (see brakkon-sim's usage).
    [[nodiscard]] std::string Json() const;

    Simulation() = default;
    Simulation(const Simulation&) = delete; // the driver holds the state and the host
    Simulation& operator=(const Simulation&) = delete;

private:
    /// Hands a key event to the driver.
    void ApplyKey(const KeyEvent& event);
    void NoteGameOver(bool wasOver);

    std::vector<KeyEvent> playerKeys_; ///< the players' keys of one slot, kept to avoid allocating
};

} // namespace brakkon
