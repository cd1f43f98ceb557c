// The one door into a game: every command that changes it from outside goes
// through a GameDriver, which applies it (ApplyCommand) and, when recording,
// records it, and runs each tick of the game timer and counts it. Nothing
// else applies commands or records them.
//
// The window, brakkon-sim's key scripts, the soak and network play hand it
// commands; a replay is the driver fed from a file (Play, PlayTick). Its
// caller owns the timers: the driver neither starts nor stops one.
#pragma once

#include "game/Command.h"
#include "game/GameHost.h"
#include "game/MainState.h"
#include "sim/ReplayPlay.h"

#include <functional>
#include <memory>

namespace brakkon {

class GameDriver {
public:
    GameDriver(MainState& state, GameHost& host) : state_(state), host_(host) {}

    /// Records from the first game's start on (a new game, a saved game
    /// loaded, a gate the Game Editor shows), as played with the data file
    /// `data`.
    void Record(DataIdentity data);
    /// As Record, the data file's identity asked for when the first game
    /// starts (the window's data file may be saved anew before that).
    void Record(std::function<DataIdentity()> data);
    /// Records nothing more; what was recorded is dropped.
    void StopRecording() { recorder_.reset(); }
    /// True once a game started while recording: there is a replay to keep.
    [[nodiscard]] bool Recording() const { return recorder_ != nullptr && recorder_->Recording(); }
    /// The recording so far (empty when not recording).
    [[nodiscard]] const Replay& Recorded() const;
    /// Goes back to a point of the recording: its first `events` events
    /// after `ticks` game ticks (network play going back to an earlier slot).
    void RewindRecording(std::size_t events, std::int64_t ticks);

    /// Applies `command` now, between game ticks, and records it. False,
    /// with nothing changed or recorded, when it could not be applied.
    bool Apply(const Command& command);
    /// One tick of the game timer, counted when recording.
    void Tick();

    /// Plays `replay` from its start (its data file is loaded): puts the
    /// recorded start into the state. `replay` must outlive the playing.
    void Play(const Replay& replay);
    /// Applies the replay's commands that came before its next game tick and
    /// runs that tick; false, with no tick run, at the replay's end.
    bool PlayTick();
    /// Game ticks the replay has run.
    [[nodiscard]] std::int64_t PlayedTicks() const { return player_ ? player_->Tick() : 0; }

private:
    void Note(const Command& command);

    MainState& state_;
    GameHost& host_;
    std::unique_ptr<ReplayRecorder> recorder_;
    std::function<DataIdentity()> data_;
    std::unique_ptr<ReplayPlayer> player_;
};

} // namespace brakkon
