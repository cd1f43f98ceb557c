// Shared helpers of the test suites: an error recorder and small game builders.
#pragma once

#include "game/ErrorReport.h"
#include "game/RecordFields.h"
#include "game/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brakkon::test {

/// Captures every message shown through the error seam while it lives.
class ErrorRecorder {
public:
    ErrorRecorder()
        : scope_([this](std::string_view m, std::string_view d) {
              messages.emplace_back(m);
              details.emplace_back(d);
          })
    {
    }
    std::vector<std::string> messages;
    std::vector<std::string> details; ///< the detail of each message: which file and why

private:
    ScopedErrorHandler scope_;
};

/// Names each case of a parameterised suite after its `name` member, so that
/// test listings show the same readable names in every build and every run
/// (unnamed cases would be numbered and listed with their bytes).
inline constexpr auto CaseName = [](const auto& info) { return std::string(info.param.name); };

/// A gate with a full 19 x 14 grid of clear cells and the given quotas.
inline std::unique_ptr<GateType> MakeGate(std::int32_t kc = 0, std::int32_t zjc = 0, std::int32_t tank = 0,
                                          std::int32_t largeTank = 0, std::int32_t total = 0,
                                          std::int32_t nextGate = -1)
{
    auto gate = std::make_unique<GateType>();
    gate->KC = kc;
    gate->ZJC = zjc;
    gate->Tank = tank;
    gate->LargeTank = largeTank;
    gate->Total = total;
    gate->NextGate = nextGate;
    gate->Cells.resize(FieldCols);
    for (std::int32_t c = 0; c < FieldCols; ++c)
        for (std::int32_t r = 0; r < FieldRows; ++r) gate->Cells[c].push_back(std::make_unique<CellType>(NewCell(c, r)));
    return gate;
}

/// A sprite placed aligned on a cell.
inline SpriteType SpriteAt(std::uint8_t kind, std::int32_t col, std::int32_t row, std::int32_t index)
{
    SpriteType s;
    s.Index = index;
    s.Kind = kind;
    s.Active = 1;
    s.Col = col;
    s.Row = row;
    s.Left = col * FieldCellWidth;
    s.Top = row * FieldCellHeight;
    s.Right = s.Left + FieldCellWidth - 1;
    s.Bottom = s.Top + FieldCellHeight - 1;
    return s;
}

/// Every field of two gates, every sprite and every cell, and list lengths.
inline void ExpectSameGate(const GateType& a, const GateType& b)
{
    for (const auto& f : GateHeaderFields()) EXPECT_EQ(f.Get(a), f.Get(b)) << f.Name;
    ASSERT_EQ(a.Sprites.size(), b.Sprites.size());
    for (std::size_t i = 0; i < a.Sprites.size(); ++i) EXPECT_EQ(*a.Sprites[i], *b.Sprites[i]) << "sprite " << i;
    ASSERT_EQ(a.Cells.size(), b.Cells.size());
    for (std::size_t c = 0; c < a.Cells.size(); ++c) {
        ASSERT_EQ(a.Cells[c].size(), b.Cells[c].size()) << "column " << c;
        for (std::size_t r = 0; r < a.Cells[c].size(); ++r)
            EXPECT_EQ(*a.Cells[c][r], *b.Cells[c][r]) << "cell " << c << " " << r;
    }
}

} // namespace brakkon::test
