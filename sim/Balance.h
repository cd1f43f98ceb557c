// The balance report: every gate of a data file played from a new game over
// many seeds, three ways: with nobody at the keys (a two-player game whose
// tanks stand), with one computer player (a one-player game) and with two
// (a two-player game). It tells a level designer how long a gate's base
// stands on its own and how often, and how fast, a steady player wins it.
//
// A game counts as won when the clock finds the gate cleared before the game
// is lost (the base broken or every player's tank out); a game that reaches
// the cap is counted as neither won nor lost, and with nobody playing its
// time is the cap. Times are game ticks times the game timer's interval.
#pragma once

#include "game/Records.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brakkon {

struct BalanceOptions {
    std::filesystem::path DataFile;
    std::int32_t Seeds = 50;          ///< seeds 0 to Seeds - 1 for every gate and every way
    std::int64_t CapTicks = 37500;    ///< ten minutes of game time at 16 ms
    std::int32_t Interval = 16;       ///< milliseconds of the game timer
};

/// Who sits at the keys.
enum class Hands { Nobody, OneBot, TwoBots };

/// How one game of one gate went.
struct GateGame {
    bool Won = false;
    bool Lost = false;
    bool BaseFell = false;  ///< lost by the base, not by the players' tanks
    std::int64_t Ticks = 0; ///< game ticks until it was won or lost, or the cap
};

/// Plays stored gate `gate` of the loaded data file as a new game.
[[nodiscard]] GateGame PlayGateGame(const std::filesystem::path& dataFile, std::int32_t gate, Hands hands,
                                    std::uint64_t seed, std::int64_t capTicks, std::int32_t interval);

/// The figures of one gate.
struct GateBalance {
    std::int32_t Gate = 0;
    std::string Enemies;            ///< its quotas and total, as the table shows them
    double StandsMedian = 0;        ///< seconds the base stands with nobody playing
    double StandsTenth = 0;         ///< ...in nine seeds of ten at least
    bool StandsCapped = false;      ///< the median reached the cap
    double OneBotWins = 0;          ///< share of seeds won, 0 to 1
    double OneBotMedianWin = 0;     ///< seconds, over the games won; 0 when none
    double TwoBotsWins = 0;
    double TwoBotsMedianWin = 0;
};

/// The median of `values` (the mean of the middle two for an even count); 0 when empty.
[[nodiscard]] double Median(std::vector<double> values);
/// The value that `share` of `values` reach or pass (the nearest rank from the bottom); 0 when empty.
[[nodiscard]] double LowerPercentile(std::vector<double> values, double share);

/// Plays every gate of the data file. False, with the reason in `error`, when
/// the data file cannot be loaded.
bool MeasureBalance(const BalanceOptions& options, std::vector<GateBalance>& gates, std::string& error);

/// The report as a Markdown table with a line that says how it was made.
[[nodiscard]] std::string BalanceTable(const BalanceOptions& options, const std::vector<GateBalance>& gates);

} // namespace brakkon
