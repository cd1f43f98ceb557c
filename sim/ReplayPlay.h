// The two halves of a replay as the driver (sim/GameDriver.h) uses them: the
// recorder that keeps what the driver applied, and the player that hands a
// replay's commands back, each before the game tick it came before.
//
// The recorder keeps everything in a buffer written at the end (nothing is
// written during play). From the first game's start it counts the game ticks
// and keeps every command with the ticks that had run before it.
#pragma once

#include "game/Command.h"
#include "game/GameHost.h"
#include "game/MainState.h"
#include "sim/Replay.h"

namespace brakkon {

class ReplayRecorder {
public:
    /// A game starts (a new game, a loaded saved game): the first one takes
    /// `start`, the state as that game found it, as the replay's start.
    void GameStarts(const ReplayStart& start, DataIdentity data);
    void GameStarts(const MainState& state, DataIdentity data) { GameStarts(CaptureStart(state), data); }
    [[nodiscard]] bool Recording() const { return started_; }

    /// A game tick ran (counted before the tick's work).
    void GameTick()
    {
        if (started_) ++replay_.Ticks;
    }
    /// Something else reached the engine; nothing before the first game.
    void Note(ReplayWhat what, std::int32_t value = 0, std::int32_t gate = 0);
    /// A saved game was loaded: its bytes as the working gate now holds them.
    void NoteLoad(const GateType& gate);
    /// The Game Editor showed stored gate `index`: its stream as it now stands.
    void NoteGate(std::int32_t index, const GateType& stored);

    /// Goes back to a point of the recording: its first `events` events,
    /// `ticks` game ticks run (network play going back to an earlier slot).
    void Rewind(std::size_t events, std::int64_t ticks);

    /// The recording so far; its end is the ticks run up to now.
    [[nodiscard]] const Replay& Recorded() const { return replay_; }

private:
    Replay replay_;
    bool started_ = false;
};

class ReplayPlayer {
public:
    /// Keeps a reference: `replay` must outlive the player.
    explicit ReplayPlayer(const Replay& replay) : replay_(replay) {}

    /// Puts the recorded start into `state` (its Game must hold the data).
    void Start(MainState& state) const { ApplyStart(replay_.Start, state); }
    /// The next command that came before the next game tick; false when
    /// none is left before it.
    bool NextCommand(Command& command);
    /// True when a game tick follows the commands NextCommand gave; false at
    /// the replay's end.
    [[nodiscard]] bool TickFollows() const { return tick_ < replay_.Ticks; }
    /// The game tick that the commands came before has run.
    void TickRan() { ++tick_; }
    /// Game ticks run so far.
    [[nodiscard]] std::int64_t Tick() const { return tick_; }

private:
    const Replay& replay_;
    std::size_t next_ = 0;
    std::int64_t tick_ = 0;
};

} // namespace brakkon
