// The pictures a real game sends to the screen, tick by tick, for the floor
// program (FloorBench.cpp): a game played without a window on the field
// canvas, keeping after each game tick the rectangles of the canvas that the
// tick's drawing changed, as the window would repaint them.
//
// The game is a replay: one recorded in the window (`brakkon --record`), or
// HandsSession's, which presses the keys as scripts/xvfb-bench's hands do.
#pragma once

#include "sim/Replay.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brakkon::bench {

struct FloorFrames {
    std::vector<QRegion> Frames; ///< what each game tick changed, in order; empty regions included
    QImage First;                ///< the canvas after the first tick
    QImage Last;                 ///< and after the last

    /// Mean rectangles and pixels pushed per tick.
    [[nodiscard]] double RectsPerFrame() const;
    [[nodiscard]] double PixelsPerFrame() const;
};

/// Two players on the first gate for `seconds` of 16 ms ticks: each holds
/// one way for a second (player 2 a quarter turn behind player 1) and fires
/// four times in it, pressing for 100 ms and resting 150 ms; the clock ticks
/// every 1000 ms. Recorded against the data file `data`.
[[nodiscard]] Replay HandsSession(const std::filesystem::path& data, std::int64_t seconds);

/// Plays `replay` on the data file `data` and keeps what each tick drew.
/// Empty on success, else why the replay could not be played.
[[nodiscard]] std::string RecordFrames(const std::filesystem::path& data, const Replay& replay, FloorFrames& out);

} // namespace brakkon::bench
