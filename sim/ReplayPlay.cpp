#include "sim/ReplayPlay.h"

#include "game/ByteStream.h"
#include "game/GateStream.h"
#include "game/SavedGame.h"

namespace brakkon {

namespace {
/// Room for an hour of clock ticks and a busy player's keys before the
/// buffer grows.
constexpr std::size_t ReservedEvents = 16384;
} // namespace

void ReplayRecorder::GameStarts(const ReplayStart& start, DataIdentity data)
{
    if (started_) return;
    started_ = true;
    replay_.Data = data;
    replay_.Start = start;
    replay_.Events.reserve(ReservedEvents);
}

void ReplayRecorder::Note(ReplayWhat what, std::int32_t value, std::int32_t gate)
{
    if (started_) replay_.Events.push_back({replay_.Ticks, what, value, gate});
}

void ReplayRecorder::NoteLoad(const GateType& gate)
{
    if (!started_) return;
    std::vector<std::uint8_t> bytes;
    if (!EncodeSavedGame(gate, bytes)) return; // it was just decoded: cannot fail
    replay_.Events.push_back({replay_.Ticks, ReplayWhat::LoadGame, static_cast<std::int32_t>(replay_.SavedGames.size()), 0});
    replay_.SavedGames.push_back(std::move(bytes));
}

void ReplayRecorder::NoteGate(std::int32_t index, const GateType& stored)
{
    if (!started_) return;
    ByteWriter stream;
    if (!WriteGateTo(stream, &stored)) return; // only memory can fail
    replay_.Events.push_back({replay_.Ticks, ReplayWhat::ShowGate, static_cast<std::int32_t>(replay_.GateStreams.size()), index});
    replay_.GateStreams.push_back(stream.Bytes());
}

void ReplayRecorder::Rewind(std::size_t events, std::int64_t ticks) { CutReplay(replay_, events, ticks); }

bool ReplayPlayer::NextCommand(Command& command)
{
    if (next_ >= replay_.Events.size() || replay_.Events[next_].Tick > tick_) return false;
    command = CommandOf(replay_, replay_.Events[next_++]);
    return true;
}

} // namespace brakkon
