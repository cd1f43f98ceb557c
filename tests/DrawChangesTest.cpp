// The per-tick drawing: the blink of shielded tanks and the clearing of
// dirty marks.
#include "game/DrawChanges.h"
#include "tests/EngineSupport.h"
#include "game/GateStart.h"
#include "game/StatusLine.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Cell;
using test::PlayField;
using test::RecordingHost;

TEST(DrawChanges, AShieldedTankIsShownEverySecondDrawingAndInPlayBetween)
{
    MainState st;
    RecordingHost host;
    PlayField(st);
    SpriteType& p1 = *st.Game.Gate->Sprites[0];
    SpriteType& p2 = *st.Game.Gate->Sprites[1];
    p1.Shield = 2;
    std::vector<int> shown;
    for (int i = 0; i < 4; ++i) {
        test::CleanMarks(st);
        const BlinkingTanks blinking = BeginDrawChanges(st, host);
        EXPECT_EQ(blinking.Tanks[0], &p1);
        EXPECT_EQ(blinking.Tanks[1], nullptr); // no shield, no blink
        EXPECT_EQ(Cell(st, 11, 13).Dirty, 1);   // its cell is redrawn either way
        shown.push_back(p1.Active);
        EXPECT_EQ(p2.Active, 1);
        EndDrawChanges(blinking);
        EXPECT_EQ(p1.Active, 1);
        EXPECT_EQ(p1.Dirty, 1);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 0, 1, 0}));
}

TEST(DrawChanges, LeavesEverythingCleanButTheBlinkingTanks)
{
    MainState st;
    RecordingHost host;
    PlayField(st);
    st.Game.Gate->Sprites[1]->Shield = 1;
    Cell(st, 3, 3).Dirty = 1;
    st.Game.Gate->Sprites[0]->Dirty = 1;
    DrawChanges(st, host);
    for (auto& column : st.Game.Gate->Cells)
        for (auto& cell : column) ASSERT_EQ(cell->Dirty, 0);
    EXPECT_EQ(st.Game.Gate->Sprites[0]->Dirty, 0);
    EXPECT_EQ(st.Game.Gate->Sprites[1]->Dirty, 1);
    EXPECT_TRUE(st.BlinkPhase);
}

TEST(DrawChanges, TheBlinkTakesABonusLyingOnTheStartCell)
{
    MainState st;
    RecordingHost host;
    auto stored = test::MakeGate();
    stored->Cells[11][13]->Bonus = BonusShield;
    st.Game.Gates.push_back(std::move(stored));
    StartGate(st, host, 0, true, false);
    EXPECT_EQ(Cell(st, 11, 13).Bonus, BonusShield); // gate start does not look
    DrawChanges(st, host);
    EXPECT_EQ(Cell(st, 11, 13).Bonus, BonusNone);
    EXPECT_EQ(st.Game.Gate->Sprites[0]->Shield, 10);
    EXPECT_EQ(host.Effects, std::vector<SoundEffect>{SoundEffect::Bonus});
}

TEST(DrawChanges, ABonusPlayerTwoTakesInTheBlinkShowsPlayerOnesIconsAsTheyAre)
{
    MainState st;
    struct : RecordingHost {
        MainState* state = nullptr;
        std::vector<PlayerIndicators> player1; ///< what each refresh shows of player 1
        void ShowIndicators() override { player1.push_back(IndicatorsFor(state->Game.Gate->Sprites[0].get(), 1)); }
    } host;
    host.state = &st;
    PlayField(st);
    st.Game.Gate->Sprites[0]->Shield = st.Game.Gate->Sprites[1]->Shield = 3;
    Cell(st, Player2StartCol, PlayerStartRow).Bonus = BonusExtraLife;
    st.BlinkPhase = true; // this drawing hides the shielded tanks
    DrawChanges(st, host);
    ASSERT_EQ(host.player1.size(), 1u);
    EXPECT_EQ(host.player1[0].Stars[0], true);
}

TEST(DrawChanges, WithFewerThanTwoSpritesOnlyTheBlinkPhaseFlips)
{
    MainState st;
    RecordingHost host;
    st.Game.Gate->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindPlayer1, 0, 0, 0)));
    st.Game.Gate->Sprites[0]->Shield = 3;
    const BlinkingTanks blinking = BeginDrawChanges(st, host);
    EXPECT_EQ(blinking.Tanks[0], nullptr);
    EXPECT_EQ(st.Game.Gate->Sprites[0]->Active, 1);
    EXPECT_TRUE(st.BlinkPhase);
}

TEST(DrawChanges, ATankOutOfPlayDoesNotBlink)
{
    MainState st;
    RecordingHost host;
    PlayField(st, false);
    st.Game.Gate->Sprites[1]->Shield = 4;
    DrawChanges(st, host);
    DrawChanges(st, host);
    EXPECT_EQ(st.Game.Gate->Sprites[1]->Active, 0);
    EXPECT_EQ(st.Game.Gate->Sprites[1]->Dirty, 0);
}

} // namespace
} // namespace brakkon
