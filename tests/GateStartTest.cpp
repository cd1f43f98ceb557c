// Gate start: new games, continuations, enemy placement and the base.
#include "tests/EngineSupport.h"
#include "game/GateStart.h"
#include "game/GateStream.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Cell;
using test::MakeGate;
using test::RecordingHost;

/// A state with stored gates made by MakeGate with these quotas.
struct Fixture {
    MainState state;
    RecordingHost host;

    GateType& Store(std::unique_ptr<GateType> gate)
    {
        state.Game.Gates.push_back(std::move(gate));
        return *state.Game.Gates.back();
    }
    GateType& Working() { return *state.Game.Gate; }
    SpriteType& Sprite(std::size_t i) { return *state.Game.Gate->Sprites[i]; }
};

struct PlayersCase {
    const char* name;
    bool secondPlayer;
    std::uint8_t active2;
    std::int32_t shield2;
};

class StartPlayers : public ::testing::TestWithParam<PlayersCase> {};

TEST_P(StartPlayers, NewGamePlacesBothTanksWithTheirStartValues)
{
    const PlayersCase& c = GetParam();
    Fixture f;
    f.Store(MakeGate(0, 0, 0, 0, 0));
    StartGate(f.state, f.host, 0, true, c.secondPlayer);

    GateType& g = f.Working();
    ASSERT_EQ(g.Sprites.size(), 2u);
    EXPECT_EQ(g.GateNo, 1);
    EXPECT_EQ(g.PlayTime, 0);
    EXPECT_EQ(g.Lives1, 1);
    EXPECT_EQ(g.Lives2, 1);
    const SpriteType& p1 = f.Sprite(0);
    const SpriteType& p2 = f.Sprite(1);
    EXPECT_EQ(p1.Kind, KindPlayer1);
    EXPECT_EQ(p1.Index, 0);
    EXPECT_EQ(p1.Active, 1);
    EXPECT_EQ(p1.Shield, 2);
    EXPECT_EQ(p1.ImageGroup, 1);
    EXPECT_EQ(p1.Direction, DirUp);
    EXPECT_EQ(p1.Col, 11);
    EXPECT_EQ(p1.Row, 13);
    EXPECT_EQ(p1.Left, 352);
    EXPECT_EQ(p1.Top, 416);
    EXPECT_EQ(p1.Right, 383);
    EXPECT_EQ(p1.Bottom, 447);
    EXPECT_EQ(p1.StepPeriod, 1);
    EXPECT_EQ(p1.Dirty, 1);
    EXPECT_EQ(p2.Kind, KindPlayer2);
    EXPECT_EQ(p2.Index, 1);
    EXPECT_EQ(p2.Col, 7);
    EXPECT_EQ(p2.ImageGroup, 4);
    EXPECT_EQ(p2.Active, c.active2);
    EXPECT_EQ(p2.Shield, c.shield2);
    EXPECT_EQ(f.host.DrawFieldCount, 1);
    EXPECT_EQ(f.host.LastDrawn, &g);
}

INSTANTIATE_TEST_SUITE_P(Players, StartPlayers,
                         ::testing::Values(PlayersCase{"OnePlayer", false, 0, 0}, PlayersCase{"TwoPlayers", true, 1, 2}),
                         test::CaseName);

TEST(StartGate, ExampleQuotasPlaceThirteenEnemiesInKindOrder)
{
    Fixture f;
    f.Store(MakeGate(3, 3, 5, 2, 20));
    StartGate(f.state, f.host, 0, true, false);

    GateType& g = f.Working();
    ASSERT_EQ(g.Sprites.size(), 15u);
    EXPECT_EQ(g.EnemiesLeft, 7);
    struct Expect {
        std::int32_t group, level, period;
    };
    const Expect kc{10, 0, 1}, zjc{9, 0, 1}, tank{7, 1, 2}, large{8, 2, 3};
    const Expect order[] = {kc, kc, kc, zjc, zjc, zjc, tank, tank, tank, tank, tank, large, large};
    for (std::size_t i = 0; i < 13; ++i) {
        const SpriteType& e = f.Sprite(i + 2);
        SCOPED_TRACE(i);
        EXPECT_EQ(e.Index, static_cast<std::int32_t>(i + 2));
        EXPECT_EQ(e.Kind, KindEnemy);
        EXPECT_EQ(e.ImageGroup, order[i].group);
        EXPECT_EQ(e.Level, order[i].level);
        EXPECT_EQ(e.StepPeriod, order[i].period);
        EXPECT_EQ(e.Armour, 2 * order[i].level);
        EXPECT_EQ(e.Direction, DirDown);
        EXPECT_EQ(e.ReverseChance, 50);
        EXPECT_EQ(e.TurnChance, 3000);
        EXPECT_EQ(e.BackChance, 2000);
        EXPECT_EQ(e.FireChance, 500);
        EXPECT_EQ(e.Active, 1);
        EXPECT_EQ(e.Row, 0);
        EXPECT_TRUE(e.Col == 0 || e.Col == 18);
        EXPECT_EQ(e.Left, e.Col * 32);
        EXPECT_EQ(e.Bottom, 31);
    }
}

TEST(StartGate, QuotasAboveTheTotalLeaveANegativeCount)
{
    Fixture f;
    f.Store(MakeGate(2, 2, 0, 0, 3));
    StartGate(f.state, f.host, 0, true, true);
    EXPECT_EQ(f.Working().EnemiesLeft, -1);
    EXPECT_EQ(f.Working().Sprites.size(), 6u);
}

TEST(StartGate, NegativeQuotasPlaceNone)
{
    Fixture f;
    f.Store(MakeGate(-3, 1, -1, 0, 5));
    StartGate(f.state, f.host, 0, true, true);
    EXPECT_EQ(f.Working().Sprites.size(), 3u);
    EXPECT_EQ(f.Working().EnemiesLeft, 4);
}

TEST(StartGate, EntryCornersAreEvenlyDrawn)
{
    Fixture f;
    f.Store(MakeGate(200, 0, 0, 0, 200));
    int left = 0;
    constexpr int rounds = 50;
    for (int r = 0; r < rounds; ++r) {
        StartGate(f.state, f.host, 0, true, true);
        for (std::size_t i = 2; i < f.Working().Sprites.size(); ++i) left += f.Sprite(i).Col == 0 ? 1 : 0;
    }
    const double rate = left / (200.0 * rounds);
    EXPECT_NEAR(rate, 0.5, 0.02);
}

TEST(StartGate, BaseIsAlwaysABreakableWall)
{
    for (std::uint8_t bonus : {0, 2}) {
        Fixture f;
        auto stored = MakeGate();
        CellType& base = *stored->Cells[9][13];
        base.Bonus = bonus;
        base.Block = bonus == 0 ? BlockOpen : BlockBarrier;
        base.Hardness = 2;
        base.WallImage = 8;
        f.Store(std::move(stored));
        StartGate(f.state, f.host, 0, true, false);
        const CellType& started = Cell(f.state, 9, 13);
        EXPECT_EQ(started.Block, BlockWall);
        EXPECT_EQ(started.Hardness, 0);
        EXPECT_EQ(started.WallImage, 0);
        EXPECT_EQ(started.Bonus, bonus); // only the wall is forced
        // The stored gate is not touched.
        EXPECT_EQ(f.state.Game.Gates[0]->Cells[9][13]->Hardness, 2);
    }
}

TEST(StartGate, StoredSpritesAndTotalsAreReplaced)
{
    Fixture f;
    auto stored = MakeGate(1, 0, 0, 0, 1, 4);
    stored->GateNo = 9;
    stored->PlayTime = 999;
    stored->Lives1 = 3;
    stored->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindEnemy, 4, 4, 0)));
    f.Store(std::move(stored));
    StartGate(f.state, f.host, 0, true, true);
    GateType& g = f.Working();
    EXPECT_EQ(g.GateNo, 1);
    EXPECT_EQ(g.PlayTime, 0);
    EXPECT_EQ(g.Lives1, 1);
    EXPECT_EQ(g.NextGate, 4);
    ASSERT_EQ(g.Sprites.size(), 3u);
    EXPECT_EQ(f.Sprite(2).Row, 0);
    // The working gate shares no record with the stored one.
    EXPECT_NE(g.Cells[0][0].get(), f.state.Game.Gates[0]->Cells[0][0].get());
}

TEST(StartGate, ContinuationCarriesTotalsLevelsAndWhoPlays)
{
    Fixture f;
    f.Store(MakeGate(1, 0, 0, 0, 1));
    f.Store(MakeGate(0, 2, 0, 0, 2));
    StartGate(f.state, f.host, 0, true, true);
    GateType& g = f.Working();
    g.GateNo = 5;
    g.PlayTime = 321;
    g.Lives1 = 3;
    g.Lives2 = 0;
    f.Sprite(0).Level = 2;
    f.Sprite(0).ImageGroup = 3;
    f.Sprite(0).Col = 3; // where it stood does not carry
    f.Sprite(1).Active = 0;
    f.Sprite(1).Level = 1;

    StartGate(f.state, f.host, 1, false, true);
    EXPECT_EQ(g.GateNo, 5);
    EXPECT_EQ(g.PlayTime, 321);
    EXPECT_EQ(g.Lives1, 3);
    EXPECT_EQ(g.Lives2, 0);
    EXPECT_EQ(g.ZJC, 2);
    ASSERT_EQ(g.Sprites.size(), 4u);
    EXPECT_EQ(f.Sprite(0).Level, 2);
    EXPECT_EQ(f.Sprite(0).ImageGroup, 3);
    EXPECT_EQ(f.Sprite(0).Col, 11);
    EXPECT_EQ(f.Sprite(0).Shield, 2);
    EXPECT_EQ(f.Sprite(1).Active, 0);
    EXPECT_EQ(f.Sprite(1).Shield, 0);
    EXPECT_EQ(f.Sprite(1).Level, 1);
    EXPECT_EQ(f.Sprite(1).ImageGroup, 5);
}

TEST(StartGate, PlayerTwoAtLevelTwoIsDrawnFromGroupSix)
{
    Fixture f;
    f.Store(MakeGate());
    StartGate(f.state, f.host, 0, true, true);
    f.Sprite(1).Level = 2;
    StartGate(f.state, f.host, 0, false, false);
    EXPECT_EQ(f.Sprite(1).ImageGroup, 6);
    EXPECT_EQ(f.Sprite(1).Active, 1); // secondPlayer is ignored when carrying over
}

TEST(StartGate, ContinuationFromAGateWithoutPlayersCarriesPlayersOut)
{
    Fixture f;
    f.Store(MakeGate());
    StartGate(f.state, f.host, 0, false, true);
    ASSERT_EQ(f.Working().Sprites.size(), 2u);
    EXPECT_EQ(f.Sprite(0).Active, 0);
    EXPECT_EQ(f.Sprite(1).Active, 0);
}

TEST(StartGate, IndexOutsideTheGatesChangesAndDrawsNothing)
{
    for (std::int32_t index : {-1, 1, 7}) {
        Fixture f;
        f.Store(MakeGate(1, 0, 0, 0, 1));
        StartGate(f.state, f.host, 0, true, true);
        ByteWriter before;
        ASSERT_TRUE(WriteGateTo(before, &f.Working()));
        const std::uint32_t seed = f.state.Rand.Seed;
        f.host.Clear();

        StartGate(f.state, f.host, index, true, true);
        ByteWriter after;
        ASSERT_TRUE(WriteGateTo(after, &f.Working()));
        EXPECT_EQ(before.Bytes(), after.Bytes()) << index;
        EXPECT_EQ(f.state.Rand.Seed, seed);
        EXPECT_TRUE(f.host.Calls.empty());
    }
}

TEST(StartGate, HugeQuotasArePlacedOnlyUpToTheLimit)
{
    Fixture f;
    f.Store(MakeGate(2000000000, 2000000000, 0, 0, 2147483647));
    StartGate(f.state, f.host, 0, true, true);
    EXPECT_EQ(f.Working().Sprites.size(), 2u + MaxEnemiesPlaced);
    EXPECT_EQ(f.Working().EnemiesLeft, 2147483647 - MaxEnemiesPlaced);
}

} // namespace
} // namespace brakkon
