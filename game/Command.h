// Everything that changes a game from outside, as one value, and the one
// engine entry that applies it.
//
// The window, its menu, the pads, the Game Control dialog, the Game Editor,
// brakkon-sim's key scripts, the replay player and network play all describe
// what they want done as a Command and hand it to the driver, which applies
// it here and records it. The game timer's tick is not a command: the driver
// runs and counts it (GameTimerTick).
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"

#include <cstdint>
#include <vector>

namespace brakkon {

enum class CommandKind : std::uint8_t {
    Clock,    ///< a tick of the clock timer
    Press,    ///< a key press that reached the game (Value: key code)
    Release,  ///< a key release (Value: key code)
    Focus,    ///< the window lost the focus: movement keys let go
    Pause,    ///< the menu or the [Menu] button paused the game
    Resume,   ///< and resumed it
    NewGame,  ///< a new game (Value: players, 1 or 2; Gate: the stored gate it begins at)
    LoadGame, ///< a saved game loaded (Bytes: the saved game)
    Step,     ///< the movement step set (Value: 1, 2 or 4)
    ShowGate, ///< the Game Editor shows a stored gate, maybe changed (Gate: its index; Bytes: its gate stream)
};

struct Command {
    CommandKind Kind = CommandKind::Clock;
    std::int32_t Value = 0;
    std::int32_t Gate = 0;
    std::vector<std::uint8_t> Bytes;

    [[nodiscard]] static Command Press(KeyCode key) { return {CommandKind::Press, key, 0, {}}; }
    [[nodiscard]] static Command Release(KeyCode key) { return {CommandKind::Release, key, 0, {}}; }
    [[nodiscard]] static Command Of(CommandKind kind, std::int32_t value = 0) { return {kind, value, 0, {}}; }
    [[nodiscard]] static Command NewGame(std::int32_t players, std::int32_t gate = 0)
    {
        return {CommandKind::NewGame, players, gate, {}};
    }
    [[nodiscard]] static Command LoadGame(std::vector<std::uint8_t> savedGame)
    {
        return {CommandKind::LoadGame, 0, 0, std::move(savedGame)};
    }
    /// `stream` empty: the stored gate is shown as it stands.
    [[nodiscard]] static Command ShowGate(std::int32_t gate, std::vector<std::uint8_t> stream = {})
    {
        return {CommandKind::ShowGate, 0, gate, std::move(stream)};
    }
};

/// Applies `command` to the game at once, between game ticks:
/// - Press: Ctrl is taken as the space bar and Shift as "A"; then the pause
///   keys and the players' keys;
/// - Release: ends a player's request; Focus: both players let go of their
///   movement keys;
/// - Pause, Resume, Clock: as the menu and the clock timer do;
/// - NewGame: the title shown, the gate started afresh (a gate won in the
///   game left behind is forgotten); the game is resumed by its own command;
/// - LoadGame: the saved game becomes the working gate, drawn, the title hidden;
/// - Step: the movement step;
/// - ShowGate: the stored gate replaced by Bytes when given (Gate may be one
///   past the last: a gate the editor added), then started afresh for two.
/// False, with nothing changed, when the command cannot be applied: a saved
/// game or gate stream that does not read, a gate that is not stored.
bool ApplyCommand(MainState& state, GameHost& host, const Command& command);

} // namespace brakkon
