// The balance report: its statistics, how a game counts (won, lost, or
// capped), and the table, over the simulator's small data file.
#include "sim/Balance.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

struct StatsCase {
    const char* name;
    std::vector<double> values;
    double median;
    double tenth; ///< what 9 in 10 reach
};

class BalanceStats : public ::testing::TestWithParam<StatsCase> {};

TEST_P(BalanceStats, MedianAndLowerTenth)
{
    EXPECT_DOUBLE_EQ(Median(GetParam().values), GetParam().median);
    EXPECT_DOUBLE_EQ(LowerPercentile(GetParam().values, 0.1), GetParam().tenth);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BalanceStats,
    ::testing::Values(StatsCase{"None", {}, 0, 0}, StatsCase{"One", {7}, 7, 7},
                      StatsCase{"EvenCountTakesTheMiddlePair", {4, 1, 3, 2}, 2.5, 1},
                      StatsCase{"TenValuesTheLowest", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, 5.5, 1},
                      StatsCase{"ElevenValuesTheSecond", {11, 1, 10, 2, 9, 3, 8, 4, 7, 5, 6}, 6, 2}),
    test::CaseName);

class BalanceRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::WriteSimGameData(data_)); }

    const test::TempFolder temp_{"brakkon-balance"};
    const std::filesystem::path data_ = temp_.path / "Game.dat";
};

TEST_F(BalanceRun, AGameCountsAsWonLostOrCapped)
{
    // Gate 3 has no enemies and never ends; gate 2 is crowded, and nobody defends it.
    const GateGame endless = PlayGateGame(data_, 3, Hands::TwoBots, 0, 500, 16);
    EXPECT_FALSE(endless.Won || endless.Lost);
    EXPECT_EQ(endless.Ticks, 500);
    const GateGame crowded = PlayGateGame(data_, 2, Hands::Nobody, 0, 20000, 16);
    EXPECT_TRUE(crowded.Lost);
    EXPECT_FALSE(crowded.Won);
    EXPECT_LT(crowded.Ticks, 20000);
    // The corridor's one enemy comes down a side into the players' fire.
    const GateGame corridor = PlayGateGame(data_, 1, Hands::TwoBots, 0, 20000, 16);
    EXPECT_TRUE(corridor.Won);
    EXPECT_FALSE(corridor.Lost);
}

TEST_F(BalanceRun, MeasuresEveryGateAndPrintsOneRowEach)
{
    BalanceOptions options;
    options.DataFile = data_;
    options.Seeds = 2;
    options.CapTicks = 250;
    std::vector<GateBalance> gates;
    std::string error;
    ASSERT_TRUE(MeasureBalance(options, gates, error)) << error;
    ASSERT_EQ(gates.size(), 4u);
    EXPECT_EQ(gates[0].Enemies, "20: 3 KC 3 ZJC 5 Tank 2 LargeTank");
    const GateBalance& endless = gates[3];
    EXPECT_TRUE(endless.StandsCapped);
    EXPECT_DOUBLE_EQ(endless.StandsMedian, 4.0); // 250 ticks of 16 ms
    EXPECT_DOUBLE_EQ(endless.OneBotWins, 0);
    EXPECT_DOUBLE_EQ(endless.TwoBotsWins, 0);

    const std::string table = BalanceTable(options, gates);
    EXPECT_NE(table.find("seeds 0 to 1, each game capped at 4.0 s"), std::string::npos) << table;
    EXPECT_NE(table.find("| 3 | 0: | over 4.0 s | 4.0 s | 0 % | - | 0 % | - |\n"), std::string::npos) << table;
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2 + 2 + 4);
}

TEST_F(BalanceRun, AMissingDataFileIsReported)
{
    BalanceOptions options;
    options.DataFile = temp_.path / "none.dat";
    std::vector<GateBalance> gates(1);
    std::string error;
    EXPECT_FALSE(MeasureBalance(options, gates, error));
    EXPECT_NE(error.find("none.dat"), std::string::npos) << error;
}

} // namespace
} // namespace brakkon
