// Replays: everything that decides a game played in the window, kept as a
// text file one can read and diff (the format is described in sim/README.md).
//
// A replay holds the identity of the data file it was played with, the state
// of the random generator and of the players' requests when the first game
// began, and every event that reached the engine from then on, each with the
// number of game ticks that had run before it. The game ticks themselves are
// only counted. The window's recorder (ReplayRecorder) builds one; brakkon-sim
// and the window play it back through ReplayPlayer, the same way.
#pragma once

#include "game/MainState.h"
#include "content/TextSource.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brakkon {

/// The version this build writes and the only one it reads.
constexpr int ReplayVersion = 1;
/// The most game ticks a replay may hold: about 50 years of play at 16 ms.
constexpr std::int64_t MaxReplayTicks = std::int64_t{1} << 40;

/// What reached the engine.
enum class ReplayWhat : std::uint8_t {
    Clock,    ///< a tick of the clock timer
    Press,    ///< a key press, after the window's own keys (Value: key code)
    Release,  ///< a key release (Value: key code)
    Focus,    ///< the window lost the focus: movement keys let go
    Pause,    ///< the window paused the game ([Menu], the menu)
    Resume,   ///< the window resumed it
    NewGame,  ///< a new game from the menu (Value: players, 1 or 2)
    LoadGame, ///< a saved game loaded (Value: index into Replay::SavedGames)
    Step,     ///< the Game Control dialog set the movement step (Value: 1, 2 or 4)
};

struct ReplayEvent {
    std::int64_t Tick = 0;            ///< game ticks run before it
    ReplayWhat What = ReplayWhat::Clock;
    std::int32_t Value = 0;           ///< see ReplayWhat
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
    std::int64_t Ticks = 0;                            ///< game ticks in all; no event comes later
};

[[nodiscard]] ReplayStart CaptureStart(const MainState& state);
void ApplyStart(const ReplayStart& start, MainState& state);

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
