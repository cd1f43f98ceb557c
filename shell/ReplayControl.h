// ReplayControl: the main window's replays. While recording, every game
// played from the first one's start until the window goes is noted (the
// window's parts call Note, each at one place) and written at the end;
// while playing, a replay runs in the window in place of the keys, the menu
// and the clock timer, one event slot per tick of the game timer. The
// engine's side (the recorder, the player, the file) is in sim/.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "sim/ReplayPlay.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace brakkon {

class ReplayControl {
public:
    /// From the next game's start on, every game is recorded and then
    /// written to `path`.
    void Record(std::filesystem::path path);
    /// Writes the recording now (once). True when written, or when there is
    /// nothing to write.
    bool Finish();

    /// A game starts (a new game, a loaded one): the first one is the
    /// recording's start, with the identity of the data file `data`.
    void GameStarts(const MainState& state, const std::filesystem::path& data);
    /// Something else reached the engine; nothing unless recording.
    void Note(ReplayWhat what, std::int32_t value = 0);
    /// A saved game was loaded into `gate`.
    void NoteLoad(const GateType& gate);
    /// A game tick is about to run.
    void GameTick();

    /// Reads the replay and checks it against the data file `data`; empty on
    /// success, else the one message that refuses it. A replay is not
    /// recorded again.
    [[nodiscard]] std::string Play(const std::filesystem::path& path, const std::filesystem::path& data);
    [[nodiscard]] bool Replaying() const { return player_ != nullptr; }
    /// Puts the replay's start into `state` (once its data is loaded).
    void Start(MainState& state) const;
    /// One tick of the game timer while replaying: the events before the
    /// next game tick, then that tick. False at the replay's end.
    bool Tick(MainState& state, GameHost& host);
    /// Game ticks the replay played so far.
    [[nodiscard]] std::int64_t Ticks() const { return player_ ? player_->Tick() : 0; }

private:
    std::filesystem::path recordPath_;
    std::unique_ptr<ReplayRecorder> recorder_; ///< set while recording
    std::unique_ptr<Replay> replay_;           ///< the replay being played
    std::unique_ptr<ReplayPlayer> player_;     ///< set while a replay plays
};

} // namespace brakkon
