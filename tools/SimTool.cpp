// brakkon-sim: plays a game without a window, from a key script, with
// computer players or from a replay recorded in the window, alone or as one
// side of a network game, and prints or saves where it ended; or measures
// every gate (the balance report).
#include "net/HeadlessPeer.h"
#include "sim/Balance.h"
#include "sim/Bot.h"
#include "sim/Replay.h"
#include "game/SavedGame.h"
#include "sim/Simulation.h"
#include "game/StatusLine.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace brakkon;

constexpr const char* UsageText =
    "usage: brakkon-sim --data FILE (--gate N --players 1|2 | --load SAVEDGAME)\n"
    "                   [--seed N] [--ticks T] [--interval MS] [--step 1|2|4]\n"
    "                   [--keys SCRIPT] [--bot 1|2|both] [--save OUT] [--json]\n"
    "       brakkon-sim --data FILE --replay REPLAY [--save OUT] [--json]\n"
    "       brakkon-sim --data FILE (--gate N --players 2 | --load SAVEDGAME)\n"
    "                   [--seed N] [--ticks T] [--interval MS] [--step 1|2|4]\n"
    "                   [--keys SCRIPT] --host [ADDRESS:]PORT [--delay D] [--pace MS]\n"
    "                   [--record REPLAY] [--save OUT] [--json]\n"
    "       brakkon-sim --data FILE [--keys SCRIPT] --join HOST[:PORT] [--delay D]\n"
    "                   [--pace MS] [--record REPLAY] [--save OUT] [--json]\n"
    "       brakkon-sim --data FILE --balance [--seeds N] [--interval MS]\n"
    "\n"
    "  --gate N --players P  a new game at stored gate N, as the menu starts one\n"
    "  --load SAVEDGAME      a saved game, resumed\n"
    "  --seed N              advance the random generator N + 1 times first (0)\n"
    "  --ticks T             run T tick slots (0); while the game is paused a\n"
    "                        slot passes without a tick and without time\n"
    "  --interval MS         milliseconds per game tick (16); the clock tick runs\n"
    "                        each time another 1000 ms have passed\n"
    "  --step S              MoveStep (2)\n"
    "  --keys SCRIPT         lines 'TICK press|release KEY', applied before game\n"
    "                        tick TICK (from 0); KEY: Left Right Up Down Space Ctrl\n"
    "                        Shift Enter Escape F1, A..Z, 0..9, or a key code of\n"
    "                        two or more digits; '#' starts a comment line. Given\n"
    "                        twice, the second script's events follow the first's\n"
    "                        within a tick: a network game's two scripts, played here\n"
    "  --bot 1|2|both        a computer player at player 1's keys, player 2's or\n"
    "                        both: it presses and releases them tick by tick,\n"
    "                        deciding from what the window shows (after the\n"
    "                        script's keys of the same tick)\n"
    "  --replay REPLAY       play a replay that 'brakkon --record REPLAY' wrote,\n"
    "                        to its end; refused unless FILE is the data file it\n"
    "                        was recorded with\n"
    "  --balance             play every gate of FILE from a new game over N seeds\n"
    "                        (0 to N - 1): with nobody at the keys (two tanks\n"
    "                        standing), with one bot and with two, each game\n"
    "                        capped at 10 minutes of game time, and print a\n"
    "                        Markdown table: how long the base stands (median\n"
    "                        and what 9 seeds of 10 reach), the share of seeds\n"
    "                        won and the median time to win\n"
    "  --seeds N             seeds for --balance (50)\n"
    "  --host [ADDRESS:]PORT play player 1 of a network game: wait for one player\n"
    "                        on PORT (the game's port is 28460; 0 lets the system\n"
    "                        pick one) of every address of this machine or of\n"
    "                        ADDRESS only, and send it this game\n"
    "  --join HOST[:PORT]    play player 2 of the game that HOST hosts (port 28460\n"
    "                        unless given); the game's options come from the host.\n"
    "                        Each side's script presses its own player's keys and\n"
    "                        F1 or Escape, which pause both; both print the same\n"
    "                        end state, the one a game here with both scripts ends in\n"
    "  --delay D             network: ticks between a key and the tick it acts on,\n"
    "                        0 to 4 (2)\n"
    "  --pace MS             network: real milliseconds per tick slot (the game's\n"
    "                        interval); 0 runs as fast as the other side allows\n"
    "  --record REPLAY       network: write the game's replay at its end. When the\n"
    "                        two sides' games differ, it is written anyway, by\n"
    "                        default to brakkon-sim-host.replay or -join.replay\n"
    "  --save OUT            save the working gate as a saved game at the end\n"
    "  --json                print the end state as one JSON object:\n"
    "                        Ticks (game ticks run; slots while paused run none),\n"
    "                        Playing, GameOver, NextGatePending, MoveStep, Gate,\n"
    "                        Effects ([tick, index] per effect), GameOverTick\n"
    "\n"
    "After each game tick that moved the sprites, the state side of the drawing\n"
    "runs as in the window: shielded players' tanks blink (re-checked where they\n"
    "stand, which may take a bonus) and every dirty mark is cleared but the\n"
    "blinking tanks'. A tick that changed the gate draws nothing.\n";

int Usage(const std::string& why)
{
    if (!why.empty()) std::fprintf(stderr, "brakkon-sim: %s\n", why.c_str());
    std::fputs(UsageText, stderr);
    return 2;
}

struct Options {
    SimStart Start;
    std::optional<std::int32_t> Players;
    std::int64_t Ticks = 0;
    std::vector<std::filesystem::path> Keys;
    std::optional<std::filesystem::path> Save;
    std::optional<std::filesystem::path> Replay;
    std::optional<Endpoint> Host;
    std::optional<Endpoint> Join;
    std::optional<std::int64_t> Delay;
    std::optional<std::int64_t> Pace;
    std::optional<std::filesystem::path> Record;
    std::vector<std::int32_t> Bots; ///< players played by computer players
    bool Balance = false;
    std::optional<std::int32_t> Seeds;
    bool Json = false;
};

/// Options that go with --replay, and with --balance.
constexpr std::string_view ReplayOptions[] = {"--data", "--replay", "--save", "--json"};
constexpr std::string_view BalanceOptionNames[] = {"--data", "--balance", "--seeds", "--interval"};

/// The first option of `args` that is not among `allowed`, or empty.
std::string StrayOption(const std::vector<std::string>& args, std::span<const std::string_view> allowed)
{
    for (const std::string& a : args)
        if (a.rfind("--", 0) == 0 && std::find(allowed.begin(), allowed.end(), a) == allowed.end()) return a;
    return {};
}

/// The options of a network game that are the host's alone.
constexpr std::string_view HostOnly[] = {"--gate", "--players", "--load", "--seed", "--ticks", "--interval", "--step"};

/// The checks that only concern a network game; an empty string means success.
std::string CheckNetwork(const std::vector<std::string>& args, const Options& o)
{
    const bool network = o.Host || o.Join;
    if (!network && (o.Delay || o.Pace || o.Record)) return "--delay, --pace and --record go with --host or --join";
    if (!network) return {};
    if (o.Host && o.Join) return "give either --host or --join";
    if (o.Keys.size() > 1) return "a side of a network game takes one --keys script";
    if (!o.Bots.empty()) return "--bot plays a game on this machine, not one of --host or --join";
    if (o.Join) {
        for (const std::string& a : args)
            if (std::find(std::begin(HostOnly), std::end(HostOnly), a) != std::end(HostOnly))
                return "the game's options come from the host, not " + a + " of --join";
        return {};
    }
    if (o.Players && *o.Players != 2) return "a network game is for --players 2";
    return {};
}

/// Parses the command line; an empty string means success.
std::string Parse(const std::vector<std::string>& args, Options& o)
{
    bool haveData = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json" || a == "--balance") {
            (a == "--json" ? o.Json : o.Balance) = true;
            continue;
        }
        constexpr std::string_view valued[] = {"--data",   "--gate", "--players", "--load", "--seed",
                                               "--ticks",  "--interval", "--step", "--keys", "--save",
                                               "--replay", "--host", "--join", "--delay", "--pace", "--record",
                                               "--bot", "--seeds"};
        if (std::find(std::begin(valued), std::end(valued), a) == std::end(valued)) return "unknown option " + a;
        if (i + 1 >= args.size()) return "missing value after " + a;
        const std::string& v = args[++i];
        auto number = [&](auto& out) { return ParseInt(v, out) ? std::string() : "bad value for " + a + ": " + v; };
        std::string bad;
        if (a == "--data") {
            o.Start.DataFile = v;
            haveData = true;
        } else if (a == "--gate") {
            std::int32_t gate = 0;
            bad = number(gate);
            o.Start.Gate = gate;
        } else if (a == "--players") {
            std::int32_t players = 0;
            bad = number(players);
            if (bad.empty() && players != 1 && players != 2) bad = "--players takes 1 or 2";
            o.Players = players;
        } else if (a == "--load") {
            o.Start.Load = v;
        } else if (a == "--seed") {
            bad = number(o.Start.Seed);
        } else if (a == "--ticks") {
            bad = number(o.Ticks);
            if (bad.empty() && o.Ticks < 0) bad = "--ticks takes a count";
        } else if (a == "--interval") {
            bad = number(o.Start.Interval);
            if (bad.empty() && o.Start.Interval <= 0) bad = "--interval takes a positive number";
        } else if (a == "--step") {
            bad = number(o.Start.MoveStep);
            if (bad.empty() && o.Start.MoveStep != 1 && o.Start.MoveStep != 2 && o.Start.MoveStep != 4)
                bad = "--step takes 1, 2 or 4";
        } else if (a == "--keys") {
            o.Keys.emplace_back(v);
        } else if (a == "--host" || a == "--join") {
            auto endpoint = ParseEndpoint(v, DefaultPort, a == "--host");
            if (!endpoint) bad = "bad address for " + a + ": " + v;
            (a == "--host" ? o.Host : o.Join) = endpoint;
        } else if (a == "--delay") {
            bad = number(o.Delay.emplace());
            if (bad.empty() && (*o.Delay < 0 || *o.Delay > MaxInputDelay)) bad = "--delay takes 0 to 4";
        } else if (a == "--pace") {
            bad = number(o.Pace.emplace());
            if (bad.empty() && *o.Pace < 0) bad = "--pace takes 0 or more";
        } else if (a == "--record") {
            o.Record = v;
        } else if (a == "--save") {
            o.Save = v;
        } else if (a == "--replay") {
            o.Replay = v;
        } else if (a == "--bot") {
            if (v == "1" || v == "2")
                o.Bots = {v == "1" ? 1 : 2};
            else if (v == "both")
                o.Bots = {1, 2};
            else
                bad = "--bot takes 1, 2 or both";
        } else if (a == "--seeds") {
            std::int32_t seeds = 0;
            bad = number(seeds);
            if (bad.empty() && seeds <= 0) bad = "--seeds takes a positive number";
            o.Seeds = seeds;
        }
        if (!bad.empty()) return bad;
    }
    if (!haveData) return "--data is required";
    if (o.Balance) {
        if (const std::string stray = StrayOption(args, BalanceOptionNames); !stray.empty())
            return "--balance goes with --data, --seeds and --interval only, not " + stray;
        return {};
    }
    if (o.Seeds) return "--seeds goes with --balance";
    if (std::string bad = CheckNetwork(args, o); !bad.empty()) return bad;
    if (o.Join) return {};
    if (o.Replay) {
        if (const std::string stray = StrayOption(args, ReplayOptions); !stray.empty())
            return "--replay goes with --data, --save and --json only, not " + stray;
        return {};
    }
    if (o.Start.Load.has_value() == o.Start.Gate.has_value()) return "give either --gate and --players, or --load";
    if (o.Start.Gate && !o.Players) return "--gate needs --players";
    if (o.Start.Load && o.Players) return "--players goes with --gate, not --load";
    o.Start.Players = o.Players.value_or(1);
    return {};
}

void PrintSummary(const Simulation& sim)
{
    const GateType& g = *sim.State.Game.Gate;
    int inPlay = 0;
    for (std::size_t i = 2; i < g.Sprites.size(); ++i) inPlay += g.Sprites[i]->Active ? 1 : 0;
    std::printf("%lld game ticks; %s\n", static_cast<long long>(sim.TicksRun),
                sim.State.Playing ? "playing" : (sim.State.GameOver ? "game over" : "paused"));
    std::printf("gate %s  time %s  lives %d %d  enemies to come %d  in play after the players %d\n",
                GateNoText(g.GateNo).c_str(), PlayTimeText(g.PlayTime).c_str(), g.Lives1, g.Lives2, g.EnemiesLeft,
                inPlay);
    std::printf("%zu effects\n", sim.Host.Effects.size());
}

/// Reads the key scripts in their order; 0, or the exit status of a failure
/// (its message printed).
int ReadScripts(const Options& o, std::vector<KeyEvent>& keys)
{
    for (const std::filesystem::path& path : o.Keys) {
        TextSource script;
        if (TextResult r = TextSource::Load(path, path.string(), script); !r) {
            std::fprintf(stderr, "brakkon-sim: %s\n", r.Message.c_str());
            return 1;
        }
        std::vector<KeyEvent> read;
        if (TextResult r = ReadKeyScript(script, read); !r) {
            std::fprintf(stderr, "brakkon-sim: %s\n", r.Message.c_str());
            return 2;
        }
        keys.insert(keys.end(), read.begin(), read.end());
    }
    return 0;
}

/// Saves the working gate when asked and prints where the game ended.
int Report(const Simulation& sim, const Options& o)
{
    if (o.Save && !SaveGameFile(*o.Save, *sim.State.Game.Gate)) {
        std::fprintf(stderr, "brakkon-sim: cannot save %s\n", o.Save->c_str());
        return 1;
    }
    if (o.Json)
        std::printf("%s\n", sim.Json().c_str());
    else
        PrintSummary(sim);
    return 0;
}

/// One side of a network game, played to its end.
int PlayNetwork(const Options& o, std::vector<KeyEvent> keys)
{
    PeerOptions p;
    p.Role = o.Host ? Side::Host : Side::Joiner;
    p.Start = o.Start;
    p.Ticks = o.Ticks;
    p.Keys = std::move(keys);
    p.Address = o.Host ? *o.Host : *o.Join;
    p.InputDelay = o.Delay.value_or(DefaultInputDelay);
    p.PaceMs = o.Pace;
    p.RecordAlways = o.Record.has_value();
    p.ReplayFile = o.Record.value_or(o.Host ? "brakkon-sim-host.replay" : "brakkon-sim-join.replay");
    HeadlessPeer peer(p);
    std::string error;
    if (!peer.Open(error)) {
        std::fprintf(stderr, "brakkon-sim: %s\n", error.c_str());
        return 1;
    }
    if (o.Host) {
        std::string where = o.Host->Host.empty() ? "" : " " + o.Host->Host;
        std::string addresses;
        for (const std::string& a : o.Host->Host.empty() ? LocalAddresses() : std::vector<std::string>{})
            addresses += (addresses.empty() ? "; this machine is " : ", ") + a;
        std::fprintf(stderr, "brakkon-sim: waiting for the other player on%s port %u%s\n", where.c_str(),
                     static_cast<unsigned>(peer.Port()), addresses.c_str());
        std::fflush(stderr);
    }
    for (bool told = false; !peer.Done();) {
        peer.Step(10);
        if (!told && peer.Playing()) std::fputs("brakkon-sim: the game begins\n", stderr);
        told = told || peer.Playing();
    }
    std::fprintf(stderr, "brakkon-sim: %s\n", peer.StatsLine().c_str());
    const SessionEnd& end = *peer.End();
    if (!end.Message.empty()) std::fprintf(stderr, "brakkon-sim: %s\n", end.Message.c_str());
    if (end.Reason != EndReason::Finished || !end.Message.empty()) return 1;
    return Report(peer.Game(), o);
}

int RunBalance(const Options& options)
{
    BalanceOptions balance;
    balance.DataFile = options.Start.DataFile;
    balance.Seeds = options.Seeds.value_or(balance.Seeds);
    balance.Interval = options.Start.Interval;
    // Ten minutes of game time at any interval.
    balance.CapTicks = 600'000 / balance.Interval;
    std::vector<GateBalance> gates;
    std::string error;
    if (!MeasureBalance(balance, gates, error)) {
        std::fprintf(stderr, "brakkon-sim: %s\n", error.c_str());
        return 1;
    }
    std::fputs(BalanceTable(balance, gates).c_str(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(UsageText, stdout);
        return 0;
    }
    Options options;
    if (std::string why = Parse(args, options); !why.empty()) return Usage(why);
    if (options.Balance) return RunBalance(options);

    Simulation sim;
    std::string error;
    std::vector<KeyEvent> keys;
    if (options.Replay) {
        Replay replay;
        if (TextResult r = LoadReplay(*options.Replay, replay); !r) {
            std::fprintf(stderr, "brakkon-sim: %s\n", r.Message.c_str());
            return 1;
        }
        if (!sim.BeginReplay(options.Start.DataFile, replay, error)) {
            std::fprintf(stderr, "brakkon-sim: %s\n", error.c_str());
            return 1;
        }
        sim.RunReplay();
        return Report(sim, options);
    }
    if (int status = ReadScripts(options, keys); status != 0) return status;
    if (options.Host || options.Join) return PlayNetwork(options, std::move(keys));
    if (!sim.Begin(options.Start, error)) {
        std::fprintf(stderr, "brakkon-sim: %s\n", error.c_str());
        return 1;
    }
    std::vector<Bot> bots;
    for (const std::int32_t player : options.Bots) bots.emplace_back(player, options.Start.MoveStep);
    std::vector<KeyPlayer*> players;
    for (Bot& bot : bots) players.push_back(&bot);
    sim.Run(options.Ticks, keys, {}, players);
    return Report(sim, options);
}
