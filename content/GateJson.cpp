#include "GateJson.h"

namespace brakkon {

void WriteSpriteJson(JsonWriter& j, const SpriteType& s)
{
    j.BeginObject()
        .Member("Index", s.Index)
        .Member("Kind", s.Kind)
        .Member("ImageGroup", s.ImageGroup)
        .Member("Direction", s.Direction)
        .Member("Frame", s.Frame)
        .Member("Level", s.Level)
        .Member("ReverseChance", s.ReverseChance)
        .Member("TurnChance", s.TurnChance)
        .Member("BackChance", s.BackChance)
        .Member("FireChance", s.FireChance)
        .Member("StepPeriod", s.StepPeriod)
        .Member("StepCount", s.StepCount)
        .Member("Active", s.Active)
        .Member("Shield", s.Shield)
        .Member("Col", s.Col)
        .Member("Row", s.Row)
        .Member("Left", s.Left)
        .Member("Top", s.Top)
        .Member("Right", s.Right)
        .Member("Bottom", s.Bottom)
        .Member("OffsetX", s.OffsetX)
        .Member("OffsetY", s.OffsetY)
        .Member("Armour", s.Armour)
        .Member("Dirty", s.Dirty)
        .EndObject();
}

void WriteCellJson(JsonWriter& j, const CellType& c)
{
    j.BeginObject()
        .Member("Bonus", c.Bonus)
        .Member("TopImage", c.TopImage)
        .Member("Block", c.Block)
        .Member("WallImage", c.WallImage)
        .Member("Hardness", c.Hardness)
        .Member("GroundImage", c.GroundImage)
        .Member("Left", c.Left)
        .Member("Top", c.Top)
        .Member("Right", c.Right)
        .Member("Bottom", c.Bottom)
        .Member("Dirty", c.Dirty)
        .EndObject();
}

void WriteGateJson(JsonWriter& j, const GateType& g, bool brief)
{
    j.BeginObject()
        .Member("GateNo", g.GateNo)
        .Member("PlayTime", g.PlayTime)
        .Member("Lives1", g.Lives1)
        .Member("Lives2", g.Lives2)
        .Member("EnemiesLeft", g.EnemiesLeft)
        .Member("Tank", g.Tank)
        .Member("LargeTank", g.LargeTank)
        .Member("ZJC", g.ZJC)
        .Member("KC", g.KC)
        .Member("Total", g.Total)
        .Member("NextGate", g.NextGate);
    if (brief) {
        j.Member("Sprites", static_cast<std::int64_t>(g.Sprites.size()));
        j.Key("Cells").BeginArray();
        for (const auto& column : g.Cells) j.Int(static_cast<std::int64_t>(column.size()));
        j.EndArray();
    } else {
        j.Key("Sprites").BeginArray();
        for (const auto& sprite : g.Sprites) WriteSpriteJson(j, *sprite);
        j.EndArray();
        j.Key("Cells").BeginArray();
        for (const auto& column : g.Cells) {
            j.BeginArray();
            for (const auto& cell : column) WriteCellJson(j, *cell);
            j.EndArray();
        }
        j.EndArray();
    }
    j.EndObject();
}

void WriteImageCountsJson(JsonWriter& j, const std::vector<ImageGroup>& images)
{
    j.BeginArray();
    for (const auto& group : images) {
        j.BeginArray();
        for (const auto& image : group) j.Int(static_cast<std::int64_t>(image.size()));
        j.EndArray();
    }
    j.EndArray();
}

} // namespace brakkon
