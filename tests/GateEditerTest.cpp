// The gate dialog driven by typing and keys on the offscreen platform: what
// "OK", Enter, "Cancel" and Esc leave in the gate, and what EditGate answers.
#include "tests/DialogSupport.h"
#include "editor/GateEditerUnit.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using Numbers = std::array<std::int32_t, 6>; ///< Tank, LargeTank, ZJC, KC, Total, NextGate

Numbers Of(const GateType& g) { return {g.Tank, g.LargeTank, g.ZJC, g.KC, g.Total, g.NextGate}; }

enum class Close { OkButton, EnterKey, CancelButton, EscKey };

struct EditCase {
    const char* name;
    std::vector<std::pair<int, const char*>> typed; ///< field (1 to 6) and the text typed over its own
    Close close;
    bool result;
    Numbers after;
};

TEST(GateEditer, WritesTheSixNumbersOnlyWhenConfirmedAfterAChange)
{
    const Numbers before{5, 2, 3, 3, 20, 7};
    const EditCase cases[] = {
        {"OK without a change", {}, Close::OkButton, false, before},
        {"Enter without a change", {}, Close::EnterKey, false, before},
        {"the old value typed back", {{1, "6"}, {1, "5"}}, Close::OkButton, true, before},
        {"a negative NextGate", {{6, "-1"}}, Close::EnterKey, true, {5, 2, 3, 3, 20, -1}},
        {"an empty field", {{3, ""}}, Close::EnterKey, true, {5, 2, 0, 3, 20, 7}},
        {"beyond a short", {{5, "100000"}, {4, "-40000"}}, Close::OkButton, true, {5, 2, 3, -40000, 100000, 7}},
        {"Cancel", {{2, "9"}}, Close::CancelButton, false, before},
        {"Esc", {{2, "9"}}, Close::EscKey, false, before},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        GateType gate;
        gate.Tank = 5, gate.LargeTank = 2, gate.ZJC = 3, gate.KC = 3, gate.Total = 20, gate.NextGate = 7;
        test::WhenShown<TGateEditerForm>([&c](TGateEditerForm& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "GateEditer");
            const std::array spins{dialog.SpinEdit1, dialog.SpinEdit2, dialog.SpinEdit3,
                                   dialog.SpinEdit4, dialog.SpinEdit5, dialog.SpinEdit6};
            QSpinBox* last = spins[0];
            for (const auto& [field, text] : c.typed) {
                last = spins[static_cast<std::size_t>(field - 1)];
                last->selectAll();
                QTest::keyClick(last, Qt::Key_Backspace);
                QTest::keyClicks(last, text);
            }
            switch (c.close) {
            case Close::OkButton: QTest::mouseClick(dialog.Button1, Qt::LeftButton); break;
            case Close::EnterKey: QTest::keyClick(last, Qt::Key_Return); break;
            case Close::CancelButton: QTest::mouseClick(dialog.Button2, Qt::LeftButton); break;
            case Close::EscKey: QTest::keyClick(last, Qt::Key_Escape); break;
            }
        });
        EXPECT_EQ(EditGate(&gate), c.result);
        EXPECT_EQ(Of(gate), c.after);
    }
    EXPECT_FALSE(EditGate(nullptr));
}

TEST(GateEditer, WarnsWithoutRefusingWhileTheQuotasAddUpToMoreThanTheTotal)
{
    const struct {
        const char* name;
        std::int32_t total;                             ///< stored, over quotas of 5, 2, 3 and 3
        std::vector<std::pair<int, const char*>> typed; ///< field (1 to 6) and the text typed over its own
        bool warned;
    } cases[] = {
        {"13 of 20", 20, {}, false},
        {"stored as 13 of 12", 12, {}, true},
        {"21 of 20", 20, {{1, "13"}}, true},
        {"20 of 20", 20, {{1, "12"}}, false},
        {"the total lowered to 12", 20, {{5, "12"}}, true},
        {"a negative quota", 20, {{1, "-20"}, {5, "0"}}, false},
        {"two quotas of the largest int", 20, {{1, "2147483647"}, {2, "2147483647"}, {5, "2147483647"}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GateType gate;
        gate.Tank = 5, gate.LargeTank = 2, gate.ZJC = 3, gate.KC = 3, gate.Total = c.total;
        bool warned = false;
        test::WhenShown<TGateEditerForm>([&](TGateEditerForm& dialog) {
            const std::array spins{dialog.SpinEdit1, dialog.SpinEdit2, dialog.SpinEdit3,
                                   dialog.SpinEdit4, dialog.SpinEdit5, dialog.SpinEdit6};
            for (const auto& [field, text] : c.typed) {
                QSpinBox* spin = spins[static_cast<std::size_t>(field - 1)];
                spin->selectAll();
                QTest::keyClicks(spin, text);
            }
            warned = dialog.QuotaWarning->isVisible();
            QTest::keyClick(dialog.SpinEdit6, Qt::Key_Return);
        });
        EXPECT_EQ(EditGate(&gate), !c.typed.empty());
        EXPECT_EQ(warned, c.warned);
        for (const auto& [field, text] : c.typed) EXPECT_EQ(Of(gate)[static_cast<std::size_t>(field - 1)], std::stoi(text)); // never refused
    }
}

} // namespace
} // namespace brakkon
