// ReplayControl: the main window's replays, over the game's driver. While
// recording, the driver records every game from the first one's start until
// the window goes, and the recording is written at the end; while playing,
// the driver plays a replay in the window in place of the keys, the menu and
// the clock timer, one event slot per tick of the game timer. The engine's
// side (the driver, the recorder, the player, the file) is in sim/.
#pragma once

#include "sim/GameDriver.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace brakkon {

class ReplayControl {
public:
    /// The window's game: the driver every command of the window goes through.
    void Attach(MainState& state, GameHost& host) { driver_ = std::make_unique<GameDriver>(state, host); }
    [[nodiscard]] GameDriver& Driver() { return *driver_; }

    /// From the next game's start on, every game is recorded, as played with
    /// the data file `data` names when it starts, and then written to `path`.
    void Record(std::filesystem::path path, std::function<std::filesystem::path()> data);
    /// Writes the recording now (once). True when written, or when there is
    /// nothing to write.
    bool Finish();

    /// Reads the replay and checks it against the data file `data`; empty on
    /// success, else the one message that refuses it. A replay is not
    /// recorded again.
    [[nodiscard]] std::string Play(const std::filesystem::path& path, const std::filesystem::path& data);
    [[nodiscard]] bool Replaying() const { return replay_ != nullptr; }
    /// Has the driver play the replay from its start (once its data is loaded).
    void Start();
    /// One tick of the game timer while replaying: the events before the
    /// next game tick, then that tick. False at the replay's end.
    bool Tick() { return driver_->PlayTick(); }
    /// Game ticks the replay played so far.
    [[nodiscard]] std::int64_t Ticks() const { return driver_ ? driver_->PlayedTicks() : 0; }

private:
    std::unique_ptr<GameDriver> driver_;
    std::filesystem::path recordPath_;
    bool recording_ = false;
    std::unique_ptr<Replay> replay_; ///< the replay being played
};

} // namespace brakkon
