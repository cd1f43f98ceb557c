// Two headless peers in this process over ENet on the loopback address:
// directly and through a lossy, late relay they end as the local game does;
// a third player is turned away; a damaged packet and a desync end the game.
#include "tests/NetSupport.h"
#include "tests/RunTool.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"
#include "tests/UdpRelay.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
constexpr std::int64_t Ticks = 600;

class NetPlayTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(test::WriteSimGameData(data_)); }

    std::string Local(std::int64_t ticks = Ticks) const
    {
        return test::LocalJson(test::NetStart(data_), ticks, hostKeys_, joinKeys_);
    }
    std::unique_ptr<HeadlessPeer> Host(std::int64_t ticks = Ticks, std::int64_t pace = 0)
    {
        return Open(test::HostOptions(test::NetStart(data_), ticks, hostKeys_), pace, "host.replay");
    }
    std::unique_ptr<HeadlessPeer> Join(std::uint16_t port, std::int64_t pace = 0)
    {
        return Open(test::JoinOptions(data_, port, joinKeys_), pace, "join.replay");
    }
    std::unique_ptr<HeadlessPeer> Open(PeerOptions o, std::int64_t pace, const char* replay) const
    {
        o.PaceMs = pace;
        o.ReplayFile = dir_ / replay;
        auto peer = std::make_unique<HeadlessPeer>(o);
        std::string error;
        EXPECT_TRUE(peer->Open(error)) << error;
        return peer;
    }
    /// Both finish, in the state of the local game.
    void PlayBothToTheLocalEnd(HeadlessPeer& host, HeadlessPeer& join) const
    {
        ASSERT_TRUE(test::PlayToEnd(host, join));
        ExpectEnd(host, EndReason::Finished);
        ExpectEnd(join, EndReason::Finished);
        const std::string local = Local();
        EXPECT_TRUE(test::SameJson(host.Game().Json(), local));
        EXPECT_TRUE(test::SameJson(join.Game().Json(), local));
    }
    static void ExpectEnd(const HeadlessPeer& peer, EndReason reason)
    {
        ASSERT_TRUE(peer.End().has_value());
        EXPECT_EQ(peer.End()->Reason, reason) << peer.End()->Message;
    }
    /// Steps `peers` until `done` holds or ten seconds pass.
    static bool StepUntil(std::initializer_list<HeadlessPeer*> peers, const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < until)
            for (HeadlessPeer* p : peers) p->Step(1);
        return done();
    }

    const test::TempFolder dir_{"brakkon-net"};
    const fs::path data_ = dir_ / "Game.dat";
    const std::vector<KeyEvent> hostKeys_ = test::RandomScript(Side::Host, Ticks, 21);
    const std::vector<KeyEvent> joinKeys_ = test::RandomScript(Side::Joiner, Ticks, 22, true);
};

TEST_F(NetPlayTest, TwoPeersOverLoopbackEndAsTheLocalGame)
{
    auto host = Host();
    auto join = Join(host->Port());
    PlayBothToTheLocalEnd(*host, *join);
}

TEST_F(NetPlayTest, ThroughALossyLateLinkBothEndAsTheLocalGame)
{
    auto host = Host(Ticks, 4);
    test::UdpRelay relay(host->Port(), {40, 10, 5, 3});
    auto join = Join(relay.Port(), 4);
    PlayBothToTheLocalEnd(*host, *join);
    EXPECT_GT(relay.Dropped(), 0);
    EXPECT_GT(relay.Overtaken(), 0);
    EXPECT_GT(host->Stats().Rollback.Rollbacks + join->Stats().Rollback.Rollbacks, 0);
}

TEST_F(NetPlayTest, AThirdPlayerIsToldTheGameIsFullAndTheGameGoesOn)
{
    auto host = Host();
    auto join = Join(host->Port());
    ASSERT_TRUE(StepUntil({host.get(), join.get()}, [&] { return host->Playing() && join->Playing(); }));
    auto third = Join(host->Port());
    ASSERT_TRUE(StepUntil({host.get(), join.get(), third.get()}, [&] { return third->Done(); }));
    ExpectEnd(*third, EndReason::Busy);
    ASSERT_TRUE(test::PlayToEnd(*host, *join));
    ExpectEnd(*host, EndReason::Finished);
    EXPECT_TRUE(test::SameJson(join->Game().Json(), Local()));
}

TEST_F(NetPlayTest, ADamagedPacketEndsTheGameAndItsSenderIsLetGo)
{
    auto host = Host(100000, 16);
    std::string error;
    auto raw = Transport::Connect({"127.0.0.1", host->Port()}, error);
    ASSERT_NE(raw, nullptr) << error;
    std::vector<TransportEvent> events;
    auto service = [&] {
        raw->Service(1, events);
        host->Step(1);
    };
    const auto connected = [&] { return !events.empty() && events.front().What == TransportEvent::Kind::Connected; };
    for (int i = 0; i < 10000 && !connected(); ++i) service();
    ASSERT_TRUE(connected());
    raw->Send(Encode(HelloMessage{ProtocolVersion, *IdentityOfFile(data_)}), true);
    for (int i = 0; i < 10000 && !host->Playing(); ++i) service();
    ASSERT_TRUE(host->Playing());
    raw->Send(std::vector<std::uint8_t>{4, 0xff, 0xff}, false);
    const auto letGo = [&] { return events.back().What == TransportEvent::Kind::Disconnected; };
    for (int i = 0; i < 10000 && !(host->Done() && letGo()); ++i) service();
    ExpectEnd(*host, EndReason::Damaged);
    EXPECT_TRUE(letGo());
}

TEST_F(NetPlayTest, ADesyncStopsBothSidesAndEachReplayPlaysBackTheConfirmedGame)
{
    // Paced, so that the sides run level and the joiner's inputs are all
    // confirmed at times.
    auto host = Host(Ticks, 2);
    auto join = Join(host->Port(), 2);
    bool changed = false;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((!host->Done() || !join->Done()) && std::chrono::steady_clock::now() < until) {
        host->Step(1);
        join->Step(1);
        // A fault on the joiner's side alone, once nothing before it can run again.
        const Rollback* at = join->Progress();
        if (!changed && at != nullptr && at->Current() >= 100 && at->Current() < 500 &&
            at->Confirmed() == at->Current()) {
            join->Game().State.Rand.Seed ^= 0x5a5a;
            changed = true;
        }
    }
    ASSERT_TRUE(changed);
    ExpectEnd(*host, EndReason::Desync);
    ExpectEnd(*join, EndReason::Desync);
    EXPECT_NE(host->End()->Message.find("out of step"), std::string::npos);
    for (const char* side : {"host.replay", "join.replay"}) {
        SCOPED_TRACE(side);
        Replay replay;
        ASSERT_TRUE(LoadReplay(dir_ / side, replay));
        EXPECT_GE(replay.Ticks, 60);
        const test::ToolRun run =
            test::RunTool(BRAKKON_SIM_TOOL, {"--data", data_.string(), "--replay", (dir_ / side).string(), "--json"});
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_TRUE(test::SameJson(run.Out, Local(replay.Ticks) + "\n"));
    }
}

} // namespace
} // namespace brakkon
