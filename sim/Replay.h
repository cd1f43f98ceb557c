// Replays: everything that decides a game played in the window, kept as a
// text file one can read and diff (the format is described in sim/README.md).
//
// A replay holds the identity of the data file it was played with, the state
// of the random generator and of the players' requests when the first game
// began, and every event that reached the engine from then on, each with the
// number of game ticks that had run before it. The game ticks themselves are
// only counted. Each event is a command (game/Command.h) as the driver
// applied it; the driver records them and plays them back (sim/GameDriver.h).
#pragma once

#include "game/Command.h"
#include "game/MainState.h"
#include "content/TextSource.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brakkon {

/// The versions this build reads. It writes version 2 only for a replay
/// that needs it (a gate the Game Editor showed, a new game at another gate
/// than the first); every other replay is written as version 1.
constexpr int ReplayVersion = 2;
constexpr int ReplayFirstVersion = 1;
/// The most game ticks a replay may hold: about 50 years of play at 16 ms.
constexpr std::int64_t MaxReplayTicks = std::int64_t{1} << 40;

/// What reached the engine: the command's kind.
using ReplayWhat = CommandKind;

/// A command as the replay keeps it. Value is the command's, except for a
/// saved game loaded (an index into Replay::SavedGames) and a gate shown (an
/// index into Replay::GateStreams); Gate is the command's.
struct ReplayEvent {
    std::int64_t Tick = 0;            ///< game ticks run before it
    ReplayWhat What = ReplayWhat::Clock;
    std::int32_t Value = 0;
    std::int32_t Gate = 0;
};

/// A data file told apart from others by its size and a 64-bit FNV-1a hash.
struct DataIdentity {
    std::uint64_t Size = 0;
    std::uint64_t Checksum = 0;
    friend bool operator==(const DataIdentity&, const DataIdentity&) = default;
};

[[nodiscard]] DataIdentity IdentityOf(std::span<const std::uint8_t> bytes);
/// The identity of a file's content; nothing when it cannot be read.
[[nodiscard]] std::optional<DataIdentity> IdentityOfFile(const std::filesystem::path& path);

/// MainState as the first game found it: what StartGate and loading a saved
/// game leave standing.
struct ReplayStart {
    std::uint32_t RandomSeed = 0; ///< the generator's whole state
    std::int32_t MoveStep = DefaultMoveStep;
    bool BlinkPhase = false;
    bool Playing = false;
    bool GameOver = true;
    bool NextGatePending = false;
    PlayerType Player1 = Player1Keys;
    PlayerType Player2 = Player2Keys;
};

struct Replay {
    DataIdentity Data;
    ReplayStart Start;
    std::vector<ReplayEvent> Events;                   ///< ordered by tick
    std::vector<std::vector<std::uint8_t>> SavedGames; ///< the saved games loaded, in order
    std::vector<std::vector<std::uint8_t>> GateStreams; ///< the gates the Game Editor showed, in order
    std::int64_t Ticks = 0;                            ///< game ticks in all; no event comes later
};

[[nodiscard]] ReplayStart CaptureStart(const MainState& state);
void ApplyStart(const ReplayStart& start, MainState& state);

/// Keeps the first `events` events of `replay` (and the bytes of the loads
/// and gates among them), ending after `ticks` game ticks.
void CutReplay(Replay& replay, std::size_t events, std::int64_t ticks);

/// The command an event of `replay` holds, with its bytes.
[[nodiscard]] Command CommandOf(const Replay& replay, const ReplayEvent& event);

/// The replay as text.
[[nodiscard]] std::string WriteReplayText(const Replay& replay);
/// Reads a whole replay into `replay`, replaced only when all of it was read
/// (and every saved game in it decodes). A damaged one fails with one message
/// "NAME:LINE: what" or "NAME: what".
[[nodiscard]] TextResult ReadReplay(const TextSource& source, Replay& replay);
/// Loads and reads a replay file.
[[nodiscard]] TextResult LoadReplay(const std::filesystem::path& path, Replay& replay);
/// Writes the file through a temporary file renamed over it: a failure leaves
/// a previous file as it was.
[[nodiscard]] bool SaveReplay(const std::filesystem::path& path, const Replay& replay);

/// Empty when `data` is the file the replay was recorded with; else the one
/// message that refuses it.
[[nodiscard]] std::string DataMismatch(const Replay& replay, const std::optional<DataIdentity>& data,
                                       const std::string& dataName);

} // namespace brakkon
