// Helpers of the network tests: the two players' key scripts, the local run
// that a network game must end like, and two headless peers played to their
// end in one thread.
#pragma once

#include "net/HeadlessPeer.h"
#include "sim/SimKeys.h"
#include "sim/Simulation.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace brakkon::test {

/// A game of the tests: the data file's gate 0 for two players.
inline SimStart NetStart(const std::filesystem::path& data)
{
    SimStart start;
    start.DataFile = data;
    start.Gate = 0;
    start.Players = 2;
    start.Seed = 5;
    return start;
}

/// One side's keys: every few ticks its player turns another way, fires or
/// lets go; with `pauses`, it pauses the game for a while at half time.
inline std::vector<KeyEvent> RandomScript(Side side, std::int64_t ticks, std::uint32_t seed, bool pauses = false)
{
    std::mt19937 random(seed);
    const PlayerType& p = side == Side::Host ? Player1Keys : Player2Keys;
    const KeyCode moves[] = {p.LeftKey, p.RightKey, p.UpKey, p.DownKey};
    std::vector<KeyEvent> keys;
    KeyCode held = 0;
    for (std::int64_t t = random() % 10; t < ticks; t += 3 + random() % 25) {
        const std::uint32_t what = random() % 4;
        if (held != 0 && what != 2) keys.push_back({t, false, held});
        held = what < 2 ? moves[random() % 4] : what == 2 ? held : 0;
        if (what < 2) keys.push_back({t, true, held});
        if (what == 2) keys.insert(keys.end(), {{t, true, p.FireKey}, {t + 1, false, p.FireKey}});
    }
    if (pauses) keys.insert(keys.end(), {{ticks / 2, true, VkEscape}, {ticks / 2 + 20, true, VkEscape}});
    std::erase_if(keys, [&](const KeyEvent& k) { return k.Tick >= ticks; });
    std::stable_sort(keys.begin(), keys.end(), [](const KeyEvent& a, const KeyEvent& b) { return a.Tick < b.Tick; });
    return keys;
}

inline void WriteScript(const std::filesystem::path& path, const std::vector<KeyEvent>& keys)
{
    std::ofstream out(path);
    for (const KeyEvent& k : keys) out << k.Tick << (k.Press ? " press " : " release ") << KeyName(k.Key) << "\n";
}

/// The end state of the same game played here with both scripts, the host's first.
inline std::string LocalJson(const SimStart& start, std::int64_t ticks, std::vector<KeyEvent> hostKeys,
                             const std::vector<KeyEvent>& joinKeys)
{
    Simulation sim;
    std::string error;
    if (!sim.Begin(start, error)) return "cannot begin: " + error;
    hostKeys.insert(hostKeys.end(), joinKeys.begin(), joinKeys.end());
    sim.Run(ticks, hostKeys);
    return sim.Json();
}

inline PeerOptions HostOptions(const SimStart& start, std::int64_t ticks, std::vector<KeyEvent> keys)
{
    PeerOptions o;
    o.Role = Side::Host;
    o.Start = start;
    o.Ticks = ticks;
    o.Keys = std::move(keys);
    o.Address = {"127.0.0.1", 0};
    o.PaceMs = 0;
    return o;
}

inline PeerOptions JoinOptions(const std::filesystem::path& data, std::uint16_t port, std::vector<KeyEvent> keys)
{
    PeerOptions o;
    o.Role = Side::Joiner;
    o.Start.DataFile = data;
    o.Keys = std::move(keys);
    o.Address = {"127.0.0.1", port};
    o.PaceMs = 0;
    return o;
}

/// Two end states are the same; a difference is shown where it begins.
inline ::testing::AssertionResult SameJson(const std::string& got, const std::string& expected)
{
    if (got == expected) return ::testing::AssertionSuccess();
    const auto at = static_cast<std::size_t>(
        std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first - got.begin());
    const std::size_t from = at < 60 ? 0 : at - 60;
    return ::testing::AssertionFailure() << "end states differ at byte " << at << ":\n  got      ..."
                                         << got.substr(from, 120) << "\n  expected ..." << expected.substr(from, 120);
}

/// Steps both peers until both are done or a minute has passed.
inline bool PlayToEnd(HeadlessPeer& a, HeadlessPeer& b)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((!a.Done() || !b.Done()) && std::chrono::steady_clock::now() < until) {
        a.Step(1);
        b.Step(1);
    }
    return a.Done() && b.Done();
}

} // namespace brakkon::test
