#include "net/SlotState.h"

#include "game/RecordFields.h"

namespace brakkon {
namespace {

class Fnv64 {
public:
    void Add(std::uint64_t value, std::size_t bytes = 8)
    {
        for (std::size_t i = 0; i < bytes; ++i, value >>= 8) hash_ = (hash_ ^ (value & 0xffu)) * 0x100000001b3ull;
    }
    void AddInt(std::int64_t value) { Add(static_cast<std::uint64_t>(value)); }
    template <typename Record>
    void AddRecord(const Record& r, std::span<const RecordField<Record>> fields)
    {
        for (const auto& f : fields) AddInt(f.Get(r));
    }
    void AddPlayer(const PlayerType& p)
    {
        for (const std::int64_t v : {std::int64_t{p.LeftKey}, std::int64_t{p.RightKey}, std::int64_t{p.UpKey},
                                     std::int64_t{p.DownKey}, std::int64_t{p.FireKey}, std::int64_t{p.FireHeld},
                                     std::int64_t{p.MoveKey}, std::int64_t{p.MoveDir}, std::int64_t{p.MoveIdle}})
            AddInt(v);
    }
    [[nodiscard]] std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

/// The working gate's grid has the snapshot's shape.
bool SameShape(const CellGrid& cells, const std::vector<std::uint32_t>& sizes)
{
    if (cells.size() != sizes.size()) return false;
    for (std::size_t c = 0; c < cells.size(); ++c)
        if (cells[c].size() != sizes[c]) return false;
    return true;
}

} // namespace

void SaveEngine(const MainState& state, EngineSnapshot& into)
{
    const GateType* gate = state.Game.Gate.get();
    into.HasGate = gate != nullptr;
    into.Sprites.clear();
    into.ColumnSizes.clear();
    into.Cells.clear();
    if (gate != nullptr) {
        const auto header = GateHeaderFields();
        for (std::size_t i = 0; i < header.size(); ++i) into.GateHeader[i] = header[i].Get(*gate);
        for (const auto& s : gate->Sprites) into.Sprites.push_back(*s);
        for (const CellColumn& column : gate->Cells) {
            into.ColumnSizes.push_back(static_cast<std::uint32_t>(column.size()));
            for (const auto& cell : column) into.Cells.push_back(*cell);
        }
    }
    into.Rest = CaptureStart(state);
}

void RestoreEngine(const EngineSnapshot& from, MainState& state)
{
    if (!from.HasGate) {
        state.Game.Gate.reset();
    } else {
        if (state.Game.Gate == nullptr) state.Game.Gate = std::make_unique<GateType>();
        GateType& gate = *state.Game.Gate;
        const auto header = GateHeaderFields();
        for (std::size_t i = 0; i < header.size(); ++i) header[i].Set(gate, from.GateHeader[i]);

        SpriteList& sprites = gate.Sprites;
        if (sprites.size() > from.Sprites.size()) sprites.resize(from.Sprites.size());
        while (sprites.size() < from.Sprites.size()) sprites.push_back(std::make_unique<SpriteType>());
        for (std::size_t i = 0; i < sprites.size(); ++i) *sprites[i] = from.Sprites[i];

        if (!SameShape(gate.Cells, from.ColumnSizes)) {
            gate.Cells.clear();
            for (const std::uint32_t size : from.ColumnSizes) {
                CellColumn column;
                for (std::uint32_t r = 0; r < size; ++r) column.push_back(std::make_unique<CellType>());
                gate.Cells.push_back(std::move(column));
            }
        }
        std::size_t next = 0;
        for (CellColumn& column : gate.Cells)
            for (auto& cell : column) *cell = from.Cells[next++];
    }
    ApplyStart(from.Rest, state);
}

std::uint64_t HashState(const SlotState& state)
{
    const EngineSnapshot& e = state.Engine;
    Fnv64 h;
    h.AddInt(e.HasGate);
    for (const std::int32_t v : e.GateHeader) h.AddInt(v);
    h.AddInt(static_cast<std::int64_t>(e.Sprites.size()));
    for (const SpriteType& s : e.Sprites) h.AddRecord(s, SpriteFields());
    h.AddInt(static_cast<std::int64_t>(e.ColumnSizes.size()));
    for (const std::uint32_t size : e.ColumnSizes) h.AddInt(size);
    for (const CellType& c : e.Cells) h.AddRecord(c, CellFields());
    const ReplayStart& r = e.Rest;
    h.AddPlayer(r.Player1);
    h.AddPlayer(r.Player2);
    for (const std::int64_t v : {std::int64_t{r.RandomSeed}, std::int64_t{r.MoveStep}, std::int64_t{r.NextGatePending},
                                 std::int64_t{r.BlinkPhase}, std::int64_t{r.Playing}, std::int64_t{r.GameOver},
                                 std::int64_t{state.TimersEnabled}, std::int64_t{state.ClockRestarted},
                                 state.Elapsed, state.NextClock, state.TicksRun, state.ClockTicks,
                                 state.GameOverTick.value_or(-1)})
        h.AddInt(v);
    return h.Value();
}

} // namespace brakkon
