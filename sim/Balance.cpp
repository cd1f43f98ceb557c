#include "sim/Balance.h"

#include "sim/Bot.h"
#include "game/GameData.h"
#include "sim/Simulation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brakkon {
namespace {

std::string EnemiesText(const GateType& g)
{
    std::string text = std::to_string(g.Total) + ":";
    const std::pair<const char*, std::int32_t> kinds[] = {
        {"KC", g.KC}, {"ZJC", g.ZJC}, {"Tank", g.Tank}, {"LargeTank", g.LargeTank}};
    for (const auto& [name, count] : kinds)
        if (count > 0) text += " " + std::to_string(count) + " " + name;
    return text;
}

std::string Seconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", s);
    return text;
}

std::string Percent(double share)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f %%", share * 100);
    return text;
}

} // namespace

GateGame PlayGateGame(const std::filesystem::path& dataFile, std::int32_t gate, Hands hands, std::uint64_t seed,
                      std::int64_t capTicks, std::int32_t interval)
{
    SimStart start;
    start.DataFile = dataFile;
    start.Gate = gate;
    start.Players = hands == Hands::OneBot ? 1 : 2;
    start.Seed = seed;
    start.Interval = interval;
    Simulation sim;
    std::string error;
    GateGame game;
    if (!sim.Begin(start, error)) return game;

    Bot first(1, sim.State.MoveStep), second(2, sim.State.MoveStep);
    std::vector<KeyPlayer*> players;
    if (hands != Hands::Nobody) players.push_back(&first);
    if (hands == Hands::TwoBots) players.push_back(&second);
    const std::vector<KeyEvent> noScript;
    std::size_t next = 0;
    for (std::int64_t slot = 0; slot < capTicks; ++slot) {
        sim.RunSlot(slot, noScript, next, players);
        if (sim.GateWonTick) {
            game.Won = true;
            break;
        }
        if (sim.State.GameOver) {
            const GateType& g = *sim.State.Game.Gate;
            game.Lost = true;
            game.BaseFell = g.Cells.size() > BaseCol && g.Cells[BaseCol].size() > BaseRow &&
                            g.Cells[BaseCol][BaseRow]->Block == BlockOpen;
            break;
        }
    }
    game.Ticks = sim.TicksRun;
    return game;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double LowerPercentile(std::vector<double> values, double share)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(share * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

bool MeasureBalance(const BalanceOptions& options, std::vector<GateBalance>& gates, std::string& error)
{
    GameType data;
    if (!LoadGameDataFile(options.DataFile, data)) {
        error = "cannot load the data file " + options.DataFile.string();
        return false;
    }
    const double secondsPerTick = options.Interval / 1000.0;
    gates.clear();
    for (std::size_t g = 0; g < data.Gates.size(); ++g) {
        GateBalance row;
        row.Gate = static_cast<std::int32_t>(g);
        row.Enemies = EnemiesText(*data.Gates[g]);
        std::vector<double> stands, oneWins, twoWins;
        for (std::int32_t seed = 0; seed < options.Seeds; ++seed) {
            const auto play = [&](Hands hands) {
                return PlayGateGame(options.DataFile, row.Gate, hands, static_cast<std::uint64_t>(seed),
                                    options.CapTicks, options.Interval);
            };
            stands.push_back(static_cast<double>(play(Hands::Nobody).Ticks) * secondsPerTick);
            if (const GateGame one = play(Hands::OneBot); one.Won) oneWins.push_back(static_cast<double>(one.Ticks) * secondsPerTick);
            if (const GateGame two = play(Hands::TwoBots); two.Won) twoWins.push_back(static_cast<double>(two.Ticks) * secondsPerTick);
        }
        const double seeds = std::max(1, options.Seeds);
        row.StandsMedian = Median(stands);
        row.StandsTenth = LowerPercentile(stands, 0.1);
        row.StandsCapped = row.StandsMedian >= static_cast<double>(options.CapTicks) * secondsPerTick;
        row.OneBotWins = static_cast<double>(oneWins.size()) / seeds;
        row.OneBotMedianWin = Median(oneWins);
        row.TwoBotsWins = static_cast<double>(twoWins.size()) / seeds;
        row.TwoBotsMedianWin = Median(twoWins);
        gates.push_back(row);
    }
    return true;
}

std::string BalanceTable(const BalanceOptions& options, const std::vector<GateBalance>& gates)
{
    const double cap = static_cast<double>(options.CapTicks) * options.Interval / 1000.0;
    std::string text = "Every gate played from a new game with seeds 0 to " + std::to_string(options.Seeds - 1) +
                       ", each game capped at " + Seconds(cap) +
                       " of game time (a game that reaches the cap is not won). Nobody: two players' tanks "
                       "stand; the time until the game is lost (median, and the time that 9 seeds of 10 reach). "
                       "One bot: a one-player game; two bots: a two-player game; the share of seeds won and "
                       "the median time to win.\n\n";
    text += "| Gate | Enemies | Nobody: median | Nobody: 9 in 10 | One bot: won | One bot: median win | "
            "Two bots: won | Two bots: median win |\n";
    text += "|---:|---|---:|---:|---:|---:|---:|---:|\n";
    for (const GateBalance& g : gates) {
        text += "| " + std::to_string(g.Gate) + " | " + g.Enemies + " | " + (g.StandsCapped ? "over " : "") +
                Seconds(g.StandsMedian) + " | " + Seconds(g.StandsTenth) + " | " + Percent(g.OneBotWins) + " | " +
                (g.OneBotWins > 0 ? Seconds(g.OneBotMedianWin) : "-") + " | " + Percent(g.TwoBotsWins) + " | " +
                (g.TwoBotsWins > 0 ? Seconds(g.TwoBotsMedianWin) : "-") + " |\n";
    }
    return text;
}

} // namespace brakkon
