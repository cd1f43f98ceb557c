// Enemy tanks: firing, the step period, and the random decisions as rates.
#include "tests/EngineSupport.h"
#include "game/Geometry.h"
#include "game/SpriteUpdate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brakkon {
namespace {

using test::Add;
using test::Cell;
using test::MakeWall;
using test::PlayField;
using test::RecordingHost;
using test::Shift;
using test::Sprite;

using test::Play;

// ---- Enemy tanks ----

TEST(EnemyTank, FiresEveryTickAndMovesOnlyOnDecisionTicks)
{
    Play p;
    SpriteType e = Sprite(KindEnemy, 5, 2, DirDown);
    e.StepPeriod = 3;
    e.FireChance = 10000;
    SpriteType& enemy = Add(p.state, e);
    std::vector<std::int32_t> tops;
    for (int i = 0; i < 6; ++i) {
        p.Tick(enemy);
        tops.push_back(enemy.Top - 64);
        EXPECT_EQ(p.Gate().Sprites.size(), 4u + static_cast<std::size_t>(i));
        EXPECT_EQ(p.Gate().Sprites.back()->Kind, KindEnemyShell);
    }
    EXPECT_EQ(tops, (std::vector<std::int32_t>{0, 0, 2, 2, 2, 4}));
    EXPECT_TRUE(p.host.Effects.empty()); // enemy fire is silent
}

TEST(EnemyTank, FacingAShutCellItStandsAndAnimates)
{
    Play p;
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.ImageGroup = GroupEnemyZJC;
    SpriteType& enemy = Add(p.state, e);
    enemy.TurnChance = enemy.BackChance = enemy.ReverseChance = 0;
    MakeWall(p.state, 5, 6, 2);
    p.Tick(enemy);
    EXPECT_EQ(enemy.Top, 160);
    EXPECT_EQ(enemy.Frame, 1);
}

/// Runs one decision tick of a copy of `enemy` many times and counts where it
/// ends up facing and whether it moved.
struct Outcomes {
    int left = 0, right = 0, up = 0, down = 0, moved = 0, fired = 0;
    int trials = 0;
};

Outcomes Decide(Play& p, const SpriteType& enemy, int trials)
{
    Outcomes out;
    SpriteType& s = Add(p.state, enemy);
    const SpriteType start = s;
    auto& sprites = p.Gate().Sprites;
    const std::size_t size = sprites.size();
    for (int i = 0; i < trials; ++i) {
        s = start;
        p.Tick(s);
        if (sprites.size() > size) {
            ++out.fired;
            sprites.resize(size);
        }
        out.left += s.Direction == DirLeft;
        out.right += s.Direction == DirRight;
        out.up += s.Direction == DirUp;
        out.down += s.Direction == DirDown;
        out.moved += (s.Left != start.Left || s.Top != start.Top);
    }
    out.trials = trials;
    return out;
}

void ExpectRate(int count, int trials, double p, const char* what)
{
    const double sigma = std::sqrt(p * (1 - p) / trials);
    EXPECT_NEAR(static_cast<double>(count) / trials, p, 5 * sigma + 1e-9) << what;
}

constexpr int Trials = 40000;

TEST(EnemyRates, FiresOneTickInTwenty)
{
    Play p;
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.FireChance = EnemyFireChance;
    const Outcomes o = Decide(p, e, Trials);
    ExpectRate(o.fired, Trials, 0.05, "fire");
}

TEST(EnemyRates, AtABoundaryWithBothSidesOpenTakesEachSideOneTimeInSix)
{
    Play p;
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.FireChance = 0;
    e.ReverseChance = EnemyReverseChance;
    e.TurnChance = EnemyTurnChance;
    e.BackChance = EnemyBackChance;
    const Outcomes o = Decide(p, e, Trials);
    ExpectRate(o.left, Trials, 0.15, "left");
    ExpectRate(o.right, Trials, 0.15, "right");
    ExpectRate(o.up, Trials, 0.7 * 0.005, "reverse");
    ExpectRate(o.moved, Trials, 0.3 + 0.7 * 0.995, "moved"); // a turn into an open side moves on
}

TEST(EnemyRates, WithOneSideOpenTakesItThreeTimesInTen)
{
    Play p;
    MakeWall(p.state, 4, 5, 2);
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.TurnChance = EnemyTurnChance;
    const Outcomes o = Decide(p, e, Trials);
    EXPECT_EQ(o.left, 0);
    ExpectRate(o.right, Trials, 0.3, "right");
}

TEST(EnemyRates, FacingAShutWayTurnsBackOneTimeInFive)
{
    Play p;
    MakeWall(p.state, 4, 5, 2);
    Cell(p.state, 6, 5).Block = BlockBarrier;
    MakeWall(p.state, 5, 6, 1);
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.TurnChance = EnemyTurnChance;
    e.BackChance = EnemyBackChance;
    const Outcomes o = Decide(p, e, Trials);
    ExpectRate(o.up, Trials, 0.2, "back");
    ExpectRate(o.moved, Trials, 0.2, "moved back up");
}

TEST(EnemyRates, ReversesForNoReasonOneDecisionInTwoHundred)
{
    Play p;
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    Shift(e, 0, 4); // between cells: no turn choice
    e.ReverseChance = EnemyReverseChance;
    e.TurnChance = EnemyTurnChance;
    const Outcomes o = Decide(p, e, 200000);
    ExpectRate(o.up, 200000, 0.005, "reverse");
    EXPECT_EQ(o.up + o.moved, 200000); // a reversal takes the tick
}

TEST(EnemyRates, BlockedByATankReversesOneTimeInTwo)
{
    Play p;
    Add(p.state, Sprite(KindEnemy, 5, 6, DirDown));
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.TurnChance = EnemyTurnChance;
    const Outcomes o = Decide(p, e, Trials);
    ExpectRate(o.up, Trials, 0.5, "reverse");
    EXPECT_EQ(o.moved, 0);
}

TEST(EnemyTank, AfterTurningIntoATankItDoesNotMove)
{
    Play p;
    Add(p.state, Sprite(KindEnemy, 4, 5, DirDown)); // the way left is touched by a tank
    MakeWall(p.state, 6, 5, 2);
    SpriteType e = Sprite(KindEnemy, 5, 5, DirDown);
    e.TurnChance = 10000;
    e.ReverseChance = 0;
    const Outcomes o = Decide(p, e, 2000);
    // The cell to the left is open (tanks are not walls), so it turns left
    // every time and stands there, facing the tank.
    EXPECT_EQ(o.left, 2000);
    EXPECT_EQ(o.moved, 0);
}

} // namespace
} // namespace brakkon
