// Editing a gate's map on the field, driven by drops and clicks on the
// offscreen platform: the tile table, clearing by click, the magnified field,
// the drops of other programs that the field refuses, and the gate change
// still to come that a gate shown from the editor leaves behind.
#include "tests/DialogSupport.h"
#include "tests/EditorSupport.h"
#include "editor/GateEditerUnit.h"

#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace brakkon {
namespace {

using test::CellFields;
using test::EditorFixture;
using test::Fields;
using test::SetFields;

constexpr CellFields BonusCell{2, 2, 0, -1, 0};
constexpr CellFields SteelCell{0, -1, 1, 6, 2};

struct DropCase {
    const char* name;
    int group, frame; ///< the frame selected, of image 0
    CellFields before, after;
    QPoint at = {3 * 32 + 5, 4 * 32 + 30}; ///< in cell (3, 4)
};

TEST(FieldEditing, DropsSetTheCellByTheTileTable)
{
    const DropCase cases[] = {
        {"shield on a bonus", 0, 3, BonusCell, {3, 3, 0, -1, 0}},
        {"shield on steel", 0, 3, SteelCell, {3, 3, 1, 6, 2}},
        {"stone keeps the bonus", 0, 5, BonusCell, {2, 2, 1, 5, 1}},
        {"brick over steel", 0, 4, SteelCell, {0, -1, 1, 4, 0}},
        {"fence on a bonus", 0, 8, BonusCell, {2, 2, 2, 8, 0}},
        {"fence over steel", 0, 8, SteelCell, {0, -1, 2, 8, 2}},
        {"bushes take the bonus", 0, 11, BonusCell, {0, 11, 0, -1, 0}},
        {"bushes over steel", 0, 11, SteelCell, {0, 11, 1, 6, 2}},
        {"sand on a bonus", 0, 14, BonusCell, {2, 2, 0, 14, 0}},
        {"sand on steel still blocks", 0, 14, SteelCell, {0, -1, 1, 14, 2}},
        {"the base tile", 0, 0, BonusCell, BonusCell},
        {"a tank picture", 1, 1, BonusCell, BonusCell},
        {"right of column 18", 0, 5, BonusCell, BonusCell, {608, 100}},
        {"below row 13", 0, 5, BonusCell, BonusCell, {100, 448}},
    };
    EditorFixture e;
    GameType& game = e.Game();
    e.Tool("ListAll");
    e.ClickGate(2);
    GateType& stored = *game.Gates[2];
    for (const DropCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetFields(*stored.Cells[3][4], c.before);
        e.ClickFrame(c.frame, c.group);
        game.Gate->PlayTime = 99;
        EXPECT_TRUE(e.Drop(c.at));
        EXPECT_EQ(Fields(*stored.Cells[3][4]), c.after);
        const bool edited = c.after != c.before;
        EXPECT_EQ(game.Gate->PlayTime == 0, edited); // shown again after an edit, and only then
        if (edited) {
            EXPECT_EQ(Fields(*game.Gate->Cells[3][4]), c.after);
        }
    }
}

TEST(FieldEditing, AClickClearsACellOnlyWithClickClearCellPressedAndTheEditorOpen)
{
    struct {
        const char* name;
        bool pressed, editorOpen;
        Qt::MouseButton button;
        bool cleared;
    } const cases[] = {
        {"released, left", false, true, Qt::LeftButton, false},   {"released, right", false, true, Qt::RightButton, false},
        {"pressed, left", true, true, Qt::LeftButton, true},      {"pressed, right", true, true, Qt::RightButton, true},
        {"pressed, editor closed", true, false, Qt::LeftButton, false},
    };
    EditorFixture e;
    e.Tool("ListAll");
    e.ClickGate(1);
    CellType& cell = *e.Game().Gates[1]->Cells[2][5];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.editorOpen) e.editor->close();
        EXPECT_EQ(e.form->FieldEditing(), c.editorOpen);
        if (e.editor->ClickClearCell->isChecked() != c.pressed) e.Tool("ClickClearCell");
        SetFields(cell, {3, 3, 1, 6, 2});
        cell.GroundImage = 15;
        QTest::mouseClick(&e.form->Field(), c.button, {}, QPoint(2 * 32 + 16, 5 * 32 + 16));
        EXPECT_EQ(Fields(cell), (c.cleared ? CellFields{0, -1, 0, -1, 2} : CellFields{3, 3, 1, 6, 2}));
        EXPECT_EQ(cell.GroundImage, 15);
    }
}

TEST(FieldEditing, AtScaleThreeDropsAndClicksLandOnTheCellUnderThePointer)
{
    EditorFixture e;
    e.Tool("ListAll");
    e.ClickGate(2);
    CellType& cell = *e.Game().Gates[2]->Cells[3][4];
    e.form->ChangeView(3, false);
    ASSERT_EQ(e.form->ViewScale(), 3);
    MainForm& form = *e.form;
    const QPoint inWindow = form.ViewOrigin() + (form.Field().pos() + QPoint(3 * 32 + 5, 4 * 32 + 30)) * 3;
    QWidget* under = form.childAt(inWindow);
    ASSERT_NE(under, &form.Field()); // the magnified picture, not the field itself
    SetFields(cell, BonusCell);
    e.ClickFrame(5);
    EXPECT_TRUE(e.Drop(under->mapFrom(&form, inWindow), under));
    EXPECT_EQ(Fields(cell), (CellFields{2, 2, 1, 5, 1})); // stone keeps the bonus
    e.Tool("ClickClearCell");
    SetFields(cell, {3, 3, 1, 6, 2});
    QTest::mouseClick(under, Qt::LeftButton, {}, under->mapFrom(&form, inWindow));
    EXPECT_EQ(Fields(cell), (CellFields{0, -1, 0, -1, 2}));
}

TEST(FieldEditing, WhatOtherProgramsDropIsRefusedAndTheGameGoesOn)
{
    EditorFixture e;
    e.Tool("ListAll");
    e.ClickGate(2);
    e.ClickFrame(5); // a gate and a frame selected: a tile dropped now edits
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString((e.Dir() / "Game").string()))});
    QMimeData text;
    text.setText(QStringLiteral("steel"));
    QMimeData otherEditor; // a frame view of another running game
    otherEditor.setData(FrameMimeType, "0123456789abcdef");
    QMimeData nothing;
    const std::pair<const char*, const QMimeData*> foreign[] = {
        {"a file from a file manager", &file},
        {"text from a browser", &text},
        {"a tile of another game's editor", &otherEditor},
        {"no data at all", &nothing},
    };
    CellType& cell = *e.Game().Gates[2]->Cells[3][4];
    const QPoint at(3 * 32 + 5, 4 * 32 + 5);
    for (const auto& [name, mime] : foreign) {
        SCOPED_TRACE(name);
        SetFields(cell, BonusCell);
        e.Game().Gate->PlayTime = 99;
        EXPECT_FALSE(e.Drop(at, nullptr, mime));
        EXPECT_EQ(Fields(cell), BonusCell);
        EXPECT_EQ(e.Game().Gate->PlayTime, 99); // not shown again: the game on the field goes on
    }
    EXPECT_TRUE(e.Drop(at)); // the frame view's own tile
    EXPECT_EQ(Fields(cell), (CellFields{2, 2, 1, 5, 1}));
}

/// The field is won: no enemy left to come and none in play.
void ClearEnemies(GateType& gate)
{
    gate.EnemiesLeft = 0;
    for (std::size_t i = 2; i < gate.Sprites.size(); ++i) gate.Sprites[i]->Active = 0;
}

TEST(FieldEditing, AGateShownFromTheEditorDropsAGateChangeStillToCome)
{
    const std::pair<const char*, std::function<void(EditorFixture&)>> ways[] = {
        {"a click in the gate list", [](EditorFixture& e) { e.ClickGate(2); }},
        {"a tile dropped", [](EditorFixture& e) {
             e.ClickFrame(5);
             e.Drop({32, 32});
         }},
        {"a cell cleared", [](EditorFixture& e) {
             e.Tool("ClickClearCell");
             QTest::mouseClick(&e.form->Field(), Qt::LeftButton, {}, QPoint(40, 40));
         }},
        {"SetBackAll", [](EditorFixture& e) {
             e.ClickFrame(14);
             e.Tool("SetBackAll");
         }},
        {"the gate dialog", [](EditorFixture& e) {
             test::WhenShown<TGateEditerForm>([](TGateEditerForm& dialog) {
                 QTest::keyClicks(dialog.SpinEdit1, "1");
                 QTest::keyClick(dialog.SpinEdit1, Qt::Key_Return);
             });
             e.ClickGate(2, true);
         }},
    };
    for (const auto& [name, show] : ways) {
        SCOPED_TRACE(name);
        EditorFixture e;
        e.Tool("ListAll");
        e.ClickGate(2);
        ClearEnemies(*e.Game().Gate);
        e.form->Timer2Timer(); // the clock finds the gate won
        ASSERT_TRUE(e.form->State().NextGatePending);
        show(e);
        e.form->Timer1Timer();
        const GateType& gate = *e.Game().Gate;
        EXPECT_EQ(gate.GateNo, 1); // gate 2 as stored, not the gate after it
        EXPECT_TRUE(std::any_of(gate.Sprites.begin() + 2, gate.Sprites.end(), [](const auto& s) { return s->Active != 0; }));
    }
}

} // namespace
} // namespace brakkon
