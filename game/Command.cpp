#include "game/Command.h"

#include "game/ByteStream.h"
#include "game/GameFlow.h"
#include "game/GateStart.h"
#include "game/GateStream.h"
#include "game/Keyboard.h"
#include "game/SavedGame.h"

namespace brakkon {
namespace {

bool StartNewGame(MainState& state, GameHost& host, const Command& command)
{
    if (command.Gate < 0 || static_cast<std::size_t>(command.Gate) >= state.Game.Gates.size()) return false;
    host.SetTitle(GameTitle, true);
    // A won gate whose change was still to come belongs to the game left
    // behind; the new game must not skip its first gate for it.
    state.NextGatePending = false;
    StartGate(state, host, command.Gate, true, command.Value == 2);
    return true;
}

bool LoadSavedGame(MainState& state, GameHost& host, const Command& command)
{
    if (!DecodeSavedGame(command.Bytes, *state.Game.Gate)) return false;
    state.NextGatePending = false; // as for a new game: the loaded gate is not won yet
    host.DrawField(state.Game.Gate.get());
    host.SetTitle(GameTitle, false);
    return true;
}

bool ShowStoredGate(MainState& state, GameHost& host, const Command& command)
{
    auto& gates = state.Game.Gates;
    if (command.Gate < 0 || static_cast<std::size_t>(command.Gate) > gates.size()) return false;
    const auto index = static_cast<std::size_t>(command.Gate);
    if (!command.Bytes.empty()) {
        auto stored = std::make_unique<GateType>();
        ByteReader stream(command.Bytes);
        if (!ReadGateFrom(stream, stored.get())) return false;
        if (index == gates.size())
            gates.push_back(std::move(stored));
        else
            gates[index] = std::move(stored);
    } else if (index == gates.size()) {
        return false;
    }
    // A won gate whose change was still to come belongs to the gate this one replaces.
    state.NextGatePending = false;
    StartGate(state, host, command.Gate, true, true);
    return true;
}

} // namespace

bool ApplyCommand(MainState& state, GameHost& host, const Command& command)
{
    switch (command.Kind) {
    case CommandKind::Clock: ClockTimerTick(state, host); return true;
    case CommandKind::Press: {
        const KeyCode key = NormaliseKey(static_cast<KeyCode>(command.Value));
        PauseKey(state, host, key);
        PlayerKeyDown(state, host, key);
        return true;
    }
    case CommandKind::Release: PlayerKeyUp(state, static_cast<KeyCode>(command.Value)); return true;
    case CommandKind::Focus: ReleaseMovementKeys(state); return true;
    case CommandKind::Pause: PauseGame(state, host); return true;
    case CommandKind::Resume: ResumeGame(state, host); return true;
    case CommandKind::NewGame: return StartNewGame(state, host, command);
    case CommandKind::LoadGame: return LoadSavedGame(state, host, command);
    case CommandKind::Step: ApplyMoveStep(state, host, command.Value); return true;
    case CommandKind::ShowGate: return ShowStoredGate(state, host, command);
    }
    return false;
}

} // namespace brakkon
