// The players' keys: requests, the immediate turn, fire, release, the pause
// keys and the loss of focus.
#include "tests/EngineSupport.h"
#include "game/Command.h"
#include "game/GameFlow.h"
#include "game/Geometry.h"
#include "game/Keyboard.h"
#include "game/Movers.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::PlayField;
using test::RecordingHost;
using test::Shift;

std::int32_t DirOf(KeyCode key)
{
    switch (key) {
    case VkLeft: return DirLeft;
    case VkRight: return DirRight;
    case VkUp: return DirUp;
    default: return DirDown;
    }
}

struct Play {
    MainState state;
    RecordingHost host;
    Play()
    {
        PlayField(state);
        ResumeGame(state, host);
        host.Clear();
    }
    GateType& Gate() { return *state.Game.Gate; }
    SpriteType& P1() { return *Gate().Sprites[0]; }
    SpriteType& P2() { return *Gate().Sprites[1]; }
    void Down(KeyCode key) { ApplyCommand(state, host, Command::Press(key)); }
    void Up(KeyCode key) { PlayerKeyUp(state, key); }
    std::size_t Shells() const { return state.Game.Gate->Sprites.size() - 2; }
};

struct RequestCase {
    KeyCode key;
    bool second;
    std::int32_t dir;
};

class Requests : public ::testing::TestWithParam<RequestCase> {};

TEST_P(Requests, EachMovementKeyAsksItsPlayerForItsDirection)
{
    const RequestCase& c = GetParam();
    Play p;
    p.Down(c.key);
    const PlayerType& asked = c.second ? p.state.Player2 : p.state.Player1;
    const PlayerType& other = c.second ? p.state.Player1 : p.state.Player2;
    EXPECT_EQ(asked.MoveKey, c.key);
    EXPECT_EQ(asked.MoveDir, c.dir);
    EXPECT_FALSE(asked.MoveIdle);
    EXPECT_TRUE(other.MoveIdle);
    EXPECT_EQ(other.MoveDir, -1);
    EXPECT_EQ((c.second ? p.P2() : p.P1()).Direction, c.dir); // aligned: turned at once
}

INSTANTIATE_TEST_SUITE_P(Keys, Requests,
                         ::testing::Values(RequestCase{37, false, 0}, RequestCase{39, false, 1},
                                           RequestCase{38, false, 2}, RequestCase{40, false, 3},
                                           RequestCase{70, true, 0}, RequestCase{72, true, 1},
                                           RequestCase{84, true, 2}, RequestCase{71, true, 3}),
                         [](const auto& info) { return "Key" + std::to_string(info.param.key); });

TEST(Requests, AutoRepeatOfTheHeldKeyGivesNoNewRequest)
{
    Play p;
    p.Down(VkLeft);
    p.P1().Direction = DirRight; // a second request would turn it back
    p.Down(VkLeft);
    EXPECT_EQ(p.P1().Direction, DirRight);
}

TEST(Requests, ReleasingTheOlderKeyChangesNothingTheNewerStops)
{
    Play p;
    p.Down(VkLeft);
    p.Down(VkUp);
    EXPECT_EQ(p.state.Player1.MoveKey, VkUp);
    EXPECT_EQ(p.state.Player1.MoveDir, DirUp);
    p.Up(VkLeft);
    EXPECT_FALSE(p.state.Player1.MoveIdle);
    p.Up(VkUp);
    EXPECT_TRUE(p.state.Player1.MoveIdle);
    EXPECT_EQ(p.state.Player1.MoveKey, 0);
    EXPECT_EQ(p.state.Player1.MoveDir, DirUp); // kept after the release
}

struct TurnCase {
    const char* name;
    std::int32_t facing, offsetX, offsetY;
    KeyCode key;
    std::int32_t expect;
};

class ImmediateTurn : public ::testing::TestWithParam<TurnCase> {};

TEST_P(ImmediateTurn, ReversesAnywhereTurnsOntoTheOtherAxisOnlyOnTheGrid)
{
    const TurnCase& c = GetParam();
    Play p;
    p.P1().Direction = c.facing;
    PlaceOnCell(p.state.Game, p.P1(), 8, 8);
    Shift(p.P1(), c.offsetX, c.offsetY);
    p.Down(c.key);
    EXPECT_EQ(p.P1().Direction, c.expect);
    EXPECT_EQ(p.state.Player1.MoveDir, DirOf(c.key));
}

INSTANTIATE_TEST_SUITE_P(
    Places, ImmediateTurn,
    ::testing::Values(TurnCase{"AlignedTurnsUp", DirRight, 0, 0, VkUp, DirUp},
                      TurnCase{"BetweenCellsReverses", DirRight, 10, 0, VkLeft, DirLeft},
                      TurnCase{"BetweenCellsKeepsWayWhenAskedUp", DirRight, 10, 0, VkUp, DirRight},
                      TurnCase{"VerticalBetweenCellsReverses", DirUp, 0, 6, VkDown, DirDown},
                      TurnCase{"VerticalBetweenCellsKeepsWayWhenAskedLeft", DirDown, 0, 6, VkLeft, DirDown}),
    test::CaseName);

TEST(Requests, ATankOutOfPlayIsStillTurned)
{
    Play p;
    p.P2().Active = 0;
    p.Down(VkLetter('H'));
    EXPECT_EQ(p.P2().Direction, DirRight);
}

TEST(Fire, OneShellPerPressWithTheGunSound)
{
    Play p;
    p.Down(VkSpace);
    p.Down(VkSpace); // held: auto-repeat
    EXPECT_EQ(p.Shells(), 1u);
    EXPECT_EQ(p.host.Effects, std::vector<SoundEffect>{SoundEffect::Gun});
    const SpriteType& shell = *p.Gate().Sprites[2];
    EXPECT_EQ(shell.Kind, KindPlayerShell);
    EXPECT_EQ(shell.Row, 12);
    EXPECT_EQ(shell.OffsetY, 16);
    p.Up(VkSpace);
    p.Down(VkSpace);
    EXPECT_EQ(p.Shells(), 2u);
}

TEST(Fire, CtrlAndShiftAreThePlayersFireKeysOnPressAndRelease)
{
    Play p;
    p.Down(VkControl);
    p.Down(VkShift);
    EXPECT_EQ(p.Shells(), 2u);
    EXPECT_EQ(p.Gate().Sprites[2]->Col, 11);
    EXPECT_EQ(p.Gate().Sprites[3]->Col, 7);
    EXPECT_TRUE(p.state.Player1.FireHeld);
    EXPECT_TRUE(p.state.Player2.FireHeld);
    p.Up(VkControl);
    EXPECT_FALSE(p.state.Player1.FireHeld);
    EXPECT_TRUE(p.state.Player2.FireHeld);
    p.Up(VkShift);
    EXPECT_FALSE(p.state.Player2.FireHeld);
}

TEST(Fire, ATankOutOfPlayLaunchesNothingAndStaysReady)
{
    Play p;
    p.P1().Active = 0;
    p.Down(VkSpace);
    EXPECT_EQ(p.Shells(), 0u);
    EXPECT_FALSE(p.state.Player1.FireHeld);
    EXPECT_TRUE(p.host.Effects.empty());
}

TEST(Keys, PlayerKeysDoNothingWhenNoGameIsPlayed)
{
    Play p;
    PauseGame(p.state, p.host);
    p.Down(VkUp);
    p.Down(VkSpace);
    EXPECT_TRUE(p.state.Player1.MoveIdle);
    EXPECT_EQ(p.Shells(), 0u);
}

struct PauseCase {
    const char* name;
    bool playing, gameOver;
    KeyCode key;
    bool expectPlaying, expectGameOver;
};

class PauseKeys : public ::testing::TestWithParam<PauseCase> {};

TEST_P(PauseKeys, PauseWhilePlayingReturnWhilePausedNothingOtherwise)
{
    const PauseCase& c = GetParam();
    MainState st;
    RecordingHost host;
    st.Playing = c.playing;
    st.GameOver = c.gameOver;
    ApplyCommand(st, host, Command::Press(c.key));
    EXPECT_EQ(st.Playing, c.expectPlaying);
    EXPECT_EQ(st.GameOver, c.expectGameOver);
}

INSTANTIATE_TEST_SUITE_P(States, PauseKeys,
                         ::testing::Values(PauseCase{"F1Playing", true, false, VkF1, false, false},
                                           PauseCase{"EscapePlaying", true, false, VkEscape, false, false},
                                           PauseCase{"F1Paused", false, false, VkF1, true, false},
                                           PauseCase{"EscapePaused", false, false, VkEscape, true, false},
                                           PauseCase{"F1Waiting", false, true, VkF1, false, true},
                                           PauseCase{"OtherKeyPaused", false, false, VkReturn, false, false}),
                         test::CaseName);

TEST(Keys, LosingTheFocusReleasesBothPlayersMovementKeysOnly)
{
    Play p;
    p.Down(VkLeft);
    p.Down(VkLetter('T'));
    p.Down(VkSpace);
    ReleaseMovementKeys(p.state);
    for (const PlayerType* pl : {&p.state.Player1, &p.state.Player2}) {
        EXPECT_TRUE(pl->MoveIdle);
        EXPECT_EQ(pl->MoveKey, 0);
    }
    EXPECT_EQ(p.state.Player1.MoveDir, DirLeft);
    EXPECT_TRUE(p.state.Player1.FireHeld);
}

TEST(Keys, AnEmptyWorkingGateIgnoresPlayerKeys)
{
    MainState st;
    RecordingHost host;
    ResumeGame(st, host);
    ApplyCommand(st, host, Command::Press(VkLeft));
    ApplyCommand(st, host, Command::Press(VkSpace));
    EXPECT_TRUE(st.Player1.MoveIdle);
    EXPECT_TRUE(st.Game.Gate->Sprites.empty());
}

} // namespace
} // namespace brakkon
