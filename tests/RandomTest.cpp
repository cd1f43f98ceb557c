// The game's random generator and the random test built on it.
#include "game/Random.h"

#include <gtest/gtest.h>

#include <cmath>

namespace brakkon {
namespace {

TEST(Random, StartsAtZeroAndFollowsTheLinearSequence)
{
    Random r;
    EXPECT_EQ(r.Advance(), 1u);
    EXPECT_EQ(r.Advance(), 134775814u);
    EXPECT_EQ(r.Advance(), 3698175007u);
}

TEST(Random, DrawsBelowTakeTheHighWordOfTheProduct)
{
    Random r;
    r.Skip(2);
    EXPECT_EQ(r.Below(10), 8u); // 3698175007 x 10 / 2^32
    EXPECT_EQ(r.Below(10), 2u); // 870078620 x 10 / 2^32
}

TEST(Random, RealDrawIsTheNewSeedOverTwoToTheThirtySecond)
{
    Random r;
    r.Skip(2);
    EXPECT_DOUBLE_EQ(r.Real(), 3698175007.0 / 4294967296.0);
}

TEST(Random, ChanceAlwaysDrawsAndHonoursTheBounds)
{
    Random r;
    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(r.Chance(0));
        EXPECT_TRUE(r.Chance(10000));
        EXPECT_FALSE(r.Chance(-5));
    }
    // Three thousand draws were taken.
    Random same;
    same.Skip(3000);
    EXPECT_EQ(r.Seed, same.Seed);
}

TEST(Random, ChanceAgreesWithTheRealComparison)
{
    Random a;
    Random b;
    for (int i = 0; i < 200000; ++i) {
        const std::int32_t n = (i * 37) % 10001;
        EXPECT_EQ(a.Chance(n), b.Real() < n / 10000.0) << "draw " << i << " n " << n;
    }
}

struct RateCase {
    std::int32_t n;
};

class ChanceRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(ChanceRate, SucceedsAtTheAskedRate)
{
    Random r;
    r.Skip(12345);
    constexpr int draws = 400000;
    int hits = 0;
    for (int i = 0; i < draws; ++i) hits += r.Chance(GetParam().n) ? 1 : 0;
    const double p = GetParam().n / 10000.0;
    const double sigma = std::sqrt(p * (1 - p) / draws);
    EXPECT_NEAR(static_cast<double>(hits) / draws, p, 5 * sigma + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rates, ChanceRate,
                         ::testing::Values(RateCase{50}, RateCase{500}, RateCase{2000}, RateCase{3000},
                                           RateCase{5000}, RateCase{9999}),
                         [](const auto& info) { return "Per10000_" + std::to_string(info.param.n); });

} // namespace
} // namespace brakkon
