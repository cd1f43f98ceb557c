// The computer player's decisions on hand-made fields: it faces an enemy in
// its row or column and fires, shoots a shell coming at it or steps aside,
// never shoots its own base, sets off to defend the base first, and presses only
// its own player's keys.
#include "sim/Bot.h"
#include "tests/SimSupport.h"
#include "sim/Simulation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brakkon {
namespace {

using test::GateFromMap;

// clang-format off
/// Open ground; the base in its bricks.
constexpr test::MapRows Field = {
    "...................", "...................", "...................", "...................",
    "...................", "...................", "...................", "...................",
    "...................", "...................", "...................", "...................",
    "........bbb........", "........bbb........",
};
// clang-format on

/// A gate of `Field` with player 1 on (col, row) facing `facing`, player 2
/// out of play, and the sprites added by the test after them.
struct MadeField {
    std::unique_ptr<GateType> Gate = GateFromMap(Field, 0, 0, 0, 0, 0, -1);

    MadeField(std::int32_t col, std::int32_t row, std::int32_t facing)
    {
        Add(KindPlayer1, col, row, facing).ImageGroup = GroupPlayer1;
        Add(KindPlayer2, Player2StartCol, PlayerStartRow, DirUp).Active = 0;
    }
    SpriteType& Add(std::uint8_t kind, std::int32_t col, std::int32_t row, std::int32_t facing)
    {
        SpriteType s = test::SpriteAt(kind, col, row, static_cast<std::int32_t>(Gate->Sprites.size()));
        s.Direction = facing;
        s.ImageGroup = kind == KindEnemy ? GroupEnemyZJC : kind == KindEnemyShell ? GroupShell : s.ImageGroup;
        Gate->Sprites.push_back(std::make_unique<SpriteType>(s));
        return *Gate->Sprites.back();
    }
};

struct FacingCase {
    const char* name;
    std::int32_t enemyCol, enemyRow;
    std::int32_t face; ///< the way the bot must face to shoot
};

class BotFacing : public ::testing::TestWithParam<FacingCase> {};

TEST_P(BotFacing, TurnsToAnEnemyInItsRowOrColumnAndFires)
{
    MadeField made(9, 6, DirLeft);
    made.Add(KindEnemy, GetParam().enemyCol, GetParam().enemyRow, DirUp);
    Bot bot(1);
    const Bot::Plan plan = bot.Decide(BotField(*made.Gate, 0, DefaultMoveStep), 100);
    EXPECT_EQ(plan.Face, std::optional(GetParam().face));
    EXPECT_FALSE(plan.Move.has_value());
    EXPECT_TRUE(plan.Fire);
}

INSTANTIATE_TEST_SUITE_P(Enemies, BotFacing,
                         ::testing::Values(FacingCase{"Above", 9, 2, DirUp}, FacingCase{"Below", 9, 10, DirDown},
                                           FacingCase{"AheadOnTheLeft", 3, 6, DirLeft},
                                           FacingCase{"BehindOnTheRight", 15, 6, DirRight}),
                         test::CaseName);

TEST(Bot, ShootsAShellComingAtItWhenItCanFire)
{
    MadeField made(9, 8, DirLeft);
    made.Add(KindEnemyShell, 9, 3, DirDown);
    Bot bot(1);
    const Bot::Plan plan = bot.Decide(BotField(*made.Gate, 0, DefaultMoveStep), 100);
    EXPECT_EQ(plan.Face, std::optional<std::int32_t>(DirUp));
    EXPECT_TRUE(plan.Fire);
}

TEST(Bot, StepsAsideFromAShellItCannotShootInTime)
{
    Bot bot(1);
    MadeField first(9, 8, DirUp);
    first.Add(KindEnemy, 9, 2, DirDown);
    std::vector<KeyEvent> keys;
    bot.Keys(*first.Gate, 100, keys); // fires at the enemy: the fire key is down now
    ASSERT_TRUE(std::any_of(keys.begin(), keys.end(), [](const KeyEvent& e) { return e.Press && e.Key == VkSpace; }));

    MadeField next(9, 8, DirUp); // a shell too near to shoot before it strikes, far enough to dodge
    next.Add(KindEnemyShell, 9, 6, DirDown).Top += 4;
    const Bot::Plan plan = bot.Decide(BotField(*next.Gate, 0, DefaultMoveStep), 101);
    EXPECT_FALSE(plan.Fire);
    ASSERT_TRUE(plan.Move.has_value());
    EXPECT_TRUE(*plan.Move == DirLeft || *plan.Move == DirRight) << *plan.Move;
}

TEST(Bot, NeverShootsThroughItsOwnBase)
{
    // In the base's row with an enemy beyond it, and in the base's column above it.
    for (const auto& [col, row, facing, enemyCol, enemyRow] :
         {std::tuple{7, 13, DirRight, 13, 13}, std::tuple{9, 11, DirDown, 3, 2}}) {
        SCOPED_TRACE(col);
        MadeField made(col, row, facing);
        made.Add(KindEnemy, enemyCol, enemyRow, DirUp);
        const BotField field(*made.Gate, 0, DefaultMoveStep);
        EXPECT_TRUE(field.Fire(facing).Harmful);
        Bot bot(1);
        const Bot::Plan plan = bot.Decide(field, 100);
        EXPECT_FALSE(plan.Fire && plan.Face.value_or(facing) == facing);
    }
}

TEST(Bot, EnemiesUnderCoverAreNotSeen)
{
    MadeField made(9, 6, DirLeft);
    made.Gate->Cells[3][6]->TopImage = TileCoverFirst;
    made.Add(KindEnemy, 3, 6, DirUp);
    EXPECT_TRUE(BotField(*made.Gate, 0, DefaultMoveStep).Enemies().empty());
    Bot bot(1);
    EXPECT_FALSE(bot.Decide(BotField(*made.Gate, 0, DefaultMoveStep), 100).Fire);
}

struct DefendCase {
    const char* name;
    std::int32_t enemyCol, enemyRow; ///< next to the base's bricks
};

class BotDefends : public ::testing::TestWithParam<DefendCase> {};

// Far up on the right, with an enemy close by that is not in its line, and
// one next to the base: it sets off toward the base, down or to the left.
TEST_P(BotDefends, SetsOffTowardAnEnemyNextToTheBase)
{
    MadeField made(15, 3, DirUp);
    made.Add(KindEnemy, 17, 1, DirLeft);
    made.Add(KindEnemy, GetParam().enemyCol, GetParam().enemyRow, DirRight);
    Bot bot(1);
    const Bot::Plan plan = bot.Decide(BotField(*made.Gate, 0, DefaultMoveStep), 100);
    ASSERT_TRUE(plan.Move.has_value());
    EXPECT_TRUE(*plan.Move == DirDown || *plan.Move == DirLeft) << *plan.Move;
    EXPECT_FALSE(plan.Fire);
}

INSTANTIATE_TEST_SUITE_P(Base, BotDefends,
                         ::testing::Values(DefendCase{"Left", 7, 13}, DefendCase{"Right", 11, 13},
                                           DefendCase{"Above", 9, 11}),
                         test::CaseName);

// A whole game on a made field: two enemies that neither move nor fire, one
// close to the bot, one next to the base. The bot goes for the base's first.
TEST(Bot, GoesToDefendTheBaseFirst)
{
    Simulation sim;
    test::GiveTinyImages(sim.State.Game);
    MadeField made(15, 3, DirUp);
    for (const auto& [col, row] : {std::pair{17, 1}, std::pair{5, 13}}) {
        SpriteType& e = made.Add(KindEnemy, col, row, DirRight);
        e.StepPeriod = 1 << 30; // never a decision tick: it stands
    }
    sim.State.Game.Gate = std::move(made.Gate);
    sim.State.Playing = true;
    sim.State.GameOver = false;
    Bot bot(1);
    KeyPlayer* players[] = {&bot};
    const std::vector<KeyEvent> noScript;
    std::size_t next = 0;
    const SpriteList& sprites = sim.State.Game.Gate->Sprites;
    for (std::int64_t slot = 0; slot < 3000 && sprites[3]->Active; ++slot) sim.RunSlot(slot, noScript, next, players);
    EXPECT_FALSE(sprites[3]->Active) << "the enemy by the base stands";
    EXPECT_TRUE(sprites[2]->Active) << "the enemy near the bot went first";
    EXPECT_EQ(sim.State.Game.Gate->Cells[BaseCol][BaseRow]->Block, BlockWall);
}

TEST(Bot, PressesOnlyItsOwnPlayersKeysAndLetsGoWhenItsTankIsOut)
{
    MadeField made(9, 8, DirLeft);
    made.Gate->Sprites[1]->Active = 1;
    made.Add(KindEnemy, 7, 2, DirDown);
    Bot bot(2);
    std::vector<KeyEvent> keys;
    for (std::int64_t slot = 0; slot < 40; ++slot) bot.Keys(*made.Gate, slot, keys);
    const KeyCode own[] = {Player2Keys.LeftKey, Player2Keys.RightKey, Player2Keys.UpKey, Player2Keys.DownKey,
                           Player2Keys.FireKey};
    ASSERT_FALSE(keys.empty());
    for (const KeyEvent& e : keys) EXPECT_NE(std::find(std::begin(own), std::end(own), e.Key), std::end(own)) << e.Key;

    made.Gate->Sprites[1]->Active = 0;
    keys.clear();
    bot.Keys(*made.Gate, 40, keys);
    bot.Keys(*made.Gate, 41, keys);
    EXPECT_TRUE(std::none_of(keys.begin(), keys.end(), [](const KeyEvent& e) { return e.Press; }));
}

} // namespace
} // namespace brakkon
