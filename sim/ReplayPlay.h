// Recording a game into a Replay and playing one back into the engine.
//
// The window owns a ReplayRecorder when it records: from the first game's
// start it counts the game ticks and notes every other thing that reaches the
// engine, into a buffer written at the end (nothing is written during play).
// ReplayPlayer plays a Replay into a MainState through the same engine calls
// as the window; brakkon-sim runs it flat out, the window one event slot per
// tick of its game timer.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "sim/Replay.h"

namespace brakkon {

class ReplayRecorder {
public:
    /// A game starts (a new game from the menu, a loaded saved game): the
    /// first one takes the state as it stands as the replay's start.
    void GameStarts(const MainState& state, DataIdentity data);
    [[nodiscard]] bool Recording() const { return started_; }

    /// A game tick ran (the window calls this before the tick's work).
    void GameTick()
    {
        if (started_) ++replay_.Ticks;
    }
    /// Something else reached the engine; nothing before the first game.
    void Note(ReplayWhat what, std::int32_t value = 0);
    /// A saved game was loaded: its bytes as the working gate now holds them.
    void NoteLoad(const GateType& gate);

    /// The recording so far; its end is the ticks run up to now.
    [[nodiscard]] const Replay& Recorded() const { return replay_; }

private:
    Replay replay_;
    bool started_ = false;
};

/// Applies one event to the game, as the window did when it happened.
void ApplyReplayEvent(const Replay& replay, const ReplayEvent& event, MainState& state, GameHost& host);

class ReplayPlayer {
public:
    /// Keeps a reference: `replay` must outlive the player.
    explicit ReplayPlayer(const Replay& replay) : replay_(replay) {}

    /// Puts the recorded start into `state` (its Game must hold the data).
    void Start(MainState& state) const { ApplyStart(replay_.Start, state); }
    /// Applies the events that came before the next game tick; true when a
    /// game tick follows them, false at the replay's end.
    bool EventsBeforeTick(MainState& state, GameHost& host);
    /// The game tick that EventsBeforeTick announced has run.
    void TickRan() { ++tick_; }
    /// Game ticks run so far.
    [[nodiscard]] std::int64_t Tick() const { return tick_; }

private:
    const Replay& replay_;
    std::size_t next_ = 0;
    std::int64_t tick_ = 0;
};

} // namespace brakkon
