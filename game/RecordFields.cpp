#include "game/RecordFields.h"

#include <array>

namespace brakkon {
namespace {

using S = SpriteType;
constexpr std::array<RecordField<S>, 24> Sprite = {{
    {"Index", &S::Index}, {"Kind", &S::Kind}, {"ImageGroup", &S::ImageGroup}, {"Direction", &S::Direction},
    {"Frame", &S::Frame}, {"Level", &S::Level},
    {"ReverseChance", &S::ReverseChance}, {"TurnChance", &S::TurnChance}, {"BackChance", &S::BackChance},
    {"FireChance", &S::FireChance}, {"StepPeriod", &S::StepPeriod}, {"StepCount", &S::StepCount},
    {"Active", &S::Active}, {"Shield", &S::Shield},
    {"Col", &S::Col}, {"Row", &S::Row}, {"Left", &S::Left}, {"Top", &S::Top}, {"Right", &S::Right},
    {"Bottom", &S::Bottom}, {"OffsetX", &S::OffsetX}, {"OffsetY", &S::OffsetY},
    {"Armour", &S::Armour}, {"Dirty", &S::Dirty},
}};

using C = CellType;
constexpr std::size_t CellContentFieldCount = 6; // Bonus to GroundImage
constexpr std::array<RecordField<C>, 11> Cell = {{
    {"Bonus", &C::Bonus}, {"TopImage", &C::TopImage}, {"Block", &C::Block}, {"WallImage", &C::WallImage},
    {"Hardness", &C::Hardness}, {"GroundImage", &C::GroundImage},
    {"Left", &C::Left}, {"Top", &C::Top}, {"Right", &C::Right}, {"Bottom", &C::Bottom}, {"Dirty", &C::Dirty},
}};

using G = GateType;
constexpr std::array<RecordField<G>, 11> GateHeader = {{
    {"GateNo", &G::GateNo}, {"PlayTime", &G::PlayTime}, {"Lives1", &G::Lives1}, {"Lives2", &G::Lives2},
    {"EnemiesLeft", &G::EnemiesLeft},
    {"Tank", &G::Tank}, {"LargeTank", &G::LargeTank}, {"ZJC", &G::ZJC}, {"KC", &G::KC}, {"Total", &G::Total},
    {"NextGate", &G::NextGate},
}};
static_assert(GateHeader[GateRunningFieldCount].Name == "Tank");

} // namespace

std::span<const RecordField<SpriteType>> SpriteFields() { return Sprite; }
std::span<const RecordField<CellType>> CellFields() { return Cell; }
std::span<const RecordField<CellType>> CellContentFields() { return CellFields().first(CellContentFieldCount); }
std::span<const RecordField<GateType>> GateHeaderFields() { return GateHeader; }

} // namespace brakkon
