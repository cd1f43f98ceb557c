// Shared helpers of the test suites: an error recorder and small game builders.
#pragma once

#include "ErrorReport.h"
#include "Records.h"

#include <string>
#include <vector>

namespace brakkon::test {

/// Captures every message shown through the error seam while it lives.
class ErrorRecorder {
public:
    ErrorRecorder() : scope_([this](std::string_view m) { messages.emplace_back(m); }) {}
    std::vector<std::string> messages;

private:
    ScopedErrorHandler scope_;
};

/// A cell as the editor creates it at (col, row).
inline CellType ClearCell(std::int32_t col, std::int32_t row)
{
    CellType c;
    c.Left = col * FieldCellWidth;
    c.Top = row * FieldCellHeight;
    c.Right = c.Left + FieldCellWidth - 1;
    c.Bottom = c.Top + FieldCellHeight - 1;
    c.Dirty = 1;
    return c;
}

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
        for (std::int32_t r = 0; r < FieldRows; ++r) gate->Cells[c].push_back(std::make_unique<CellType>(ClearCell(c, r)));
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

} // namespace brakkon::test
