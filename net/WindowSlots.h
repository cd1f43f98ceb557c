// The window's game as the game of a network game: its engine state, a
// driver of its own that records the game, and the window's screen behind a
// host that knows when slots run a second time.
//
// Each slot runs as brakkon-sim's do: player 1's keys, then player 2's, then,
// while the game's timers run, simulated time advances by the host's
// interval, the clock ticks each time another 1000 ms have passed, and the
// game ticks. The window's own timers only pace the slots: the clock's ticks
// fall on the same slots on both sides.
//
// While slots run again after a correction, nothing is drawn or heard; the
// title and the menu are put back to what they showed at the first slot run
// again and then follow the re-run. Redraw() then shows the corrected field
// and status line whole.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "net/Rollback.h"
#include "sim/GameDriver.h"
#include "sim/Simulation.h"

#include <string>
#include <vector>

namespace brakkon {

/// The screen seen through a network game: quiet while slots run again,
/// the timers' switch kept as the game's own (the window's timers pace the
/// slots and stay on).
class NetHost final : public GameHost {
public:
    explicit NetHost(GameHost& screen) : screen_(screen) {}

    bool Again = false;          ///< the slot now running runs a second time
    bool TimersEnabled = true;   ///< the game's timers, as the engine switched them
    bool ClockRestarted = false; ///< switched on again since the last slot looked

    /// What the title labels and the menu show.
    struct Shown {
        std::string Title;
        bool TitleShown = false;
        bool MenuShown = false;
    };
    [[nodiscard]] const Shown& Showing() const { return shown_; }
    /// Shows `shown` on the screen.
    void PutBack(const Shown& shown);

    void DrawField(const GateType* gate) override;
    void PaintChanges(const GateType& gate) override;
    void RepaintField() override;
    void ShowIndicators() override;
    void ShowGateNo() override;
    void ShowPlayTime() override;
    void PlayEffect(SoundEffect effect) override;
    [[nodiscard]] bool MusicStopped() override { return screen_.MusicStopped(); }
    void PlayMusic() override;
    void SetTitle(std::string_view text, bool shown) override;
    void ShowMenu(bool shown) override;
    void EnableTimers(bool enabled) override;

private:
    GameHost& screen_;
    Shown shown_;
};

class WindowSlots final : public SlotGame {
public:
    /// Keeps references; `state` stands at the start of slot 0.
    /// `loads`: the host's saved games by number, as the session holds them.
    WindowSlots(MainState& state, NetHost& host, GameDriver& driver, std::int32_t interval, std::size_t ring,
                const std::vector<std::vector<std::uint8_t>>& loads);

    void Save(SlotState& into) const override;
    void Restore(const SlotState& from) override;
    void RunSlot(std::int64_t slot, const SlotInput& player1, const SlotInput& player2, bool again) override;

    /// Draws the field and the status line whole: after slots ran again.
    void Redraw();
    /// Game ticks that ran (not the slots paused).
    [[nodiscard]] std::int64_t TicksRun() const { return ticksRun_; }

private:
    void Apply(const NetKey& key);

    MainState& state_;
    const std::vector<std::vector<std::uint8_t>>& loads_;
    NetHost& host_;
    GameDriver& driver_;
    SimTime time_;
    std::int64_t ticksRun_ = 0;
    std::int64_t clockTicks_ = 0;
    std::int64_t lastRun_ = -1;
    std::vector<NetHost::Shown> shown_; ///< what showed before each slot, by slot in a ring
};

} // namespace brakkon
