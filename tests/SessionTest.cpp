// The conversation of a network game, without sockets: two sessions wired
// by hand, over a game of one counter that rollback drives.
#include "net/Session.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

/// A game of one number: enough to tell two sides' states apart.
class CounterGame : public SlotGame {
public:
    std::int64_t Value = 0;
    void Save(SlotState& into) const override { into.TicksRun = Value; }
    void Restore(const SlotState& from) override { Value = from.TicksRun; }
    void RunSlot(std::int64_t slot, const SlotInput& p1, const SlotInput& p2, bool) override
    {
        Value = (Value * 31 + slot + p1.Count * 7 + p2.Count * 13) % 1000003;
    }
};

constexpr std::int64_t Ticks = 200;
const DataIdentity Data{1000, 0xabc};

struct End {
    Session S;
    CounterGame Counter;
    Rollback Game;
    Side Role;
    End(Side role, DataIdentity data) : S(role, data), Game(Counter, role, {8, 60, Ticks}), Role(role) {}

    void PushUpTo(std::int64_t slot)
    {
        while (Game.LocalEnd() <= std::min(slot, Ticks - 1)) {
            SlotInput input;
            if (Game.LocalEnd() % 7 == 0) input.Add(true, Role == Side::Host ? VkLeft : VkLetter('F'));
            Game.PushLocal(input);
        }
    }
};

class SessionTest : public ::testing::Test {
protected:
    /// Delivers what each side sent; `keep` decides which unreliable packets arrive.
    void Pump(const std::function<bool(int)>& keep = {})
    {
        for (int round = 0; round < 4; ++round) {
            for (auto [from, to] : {std::pair{host_.get(), join_.get()}, std::pair{join_.get(), host_.get()}}) {
                for (const Outgoing& out : from->S.TakeOutgoing())
                    if (out.Reliable || !keep || keep(sent_++)) to->S.Received(out.Bytes, now_);
            }
        }
    }
    void Connect()
    {
        host_->S.OfferStart({Ticks, 16, "the start"});
        host_->S.Connected(now_);
        join_->S.Connected(now_);
        Pump();
    }
    /// Plays until both sessions end (or 10000 rounds pass).
    void PlayOut(const std::function<bool(int)>& keep = {}, const std::function<void()>& each = {})
    {
        host_->S.Attach(host_->Game);
        join_->S.Attach(join_->Game);
        for (int round = 0; round < 10000 && (!host_->S.End() || !join_->S.End()); ++round) {
            now_ += 5;
            for (End* e : {host_.get(), join_.get()}) {
                e->PushUpTo(e->Game.Current() + 1);
                if (e->Game.CanRun()) e->Game.RunOne();
                e->Game.Reconcile();
                e->S.Tick(now_);
            }
            if (each) each();
            Pump(keep);
        }
    }

    void SetUp() override { Reset(); }
    /// Two fresh sides; the joiner's data file may differ.
    void Reset(DataIdentity joinData = Data)
    {
        host_ = std::make_unique<End>(Side::Host, Data);
        join_ = std::make_unique<End>(Side::Joiner, joinData);
    }

    std::int64_t now_ = 1000;
    int sent_ = 0;
    std::unique_ptr<End> host_;
    std::unique_ptr<End> join_;
};

TEST_F(SessionTest, BothSidesFinishWithTheSameGameHoweverManyInputMessagesAreLost)
{
    // None lost, about half, about three in four: scattered over both ways.
    const auto scatter = [](int n) { return (static_cast<std::uint32_t>(n) * 2654435761u >> 13) % 4; };
    for (const auto& keep : std::vector<std::function<bool(int)>>{
             {}, [&](int n) { return scatter(n) < 2; }, [&](int n) { return scatter(n) == 3; }}) {
        Reset();
        Connect();
        ASSERT_TRUE(join_->S.Start().has_value());
        EXPECT_EQ(join_->S.Start()->Replay, "the start");
        PlayOut(keep);
        for (End* e : {host_.get(), join_.get()}) {
            ASSERT_TRUE(e->S.End());
            EXPECT_EQ(e->S.End()->Reason, EndReason::Finished) << e->S.End()->Message;
        }
        EXPECT_EQ(host_->Counter.Value, join_->Counter.Value);
    }
}

TEST_F(SessionTest, TheLastHashTheGoodbyeAndTheLeavingInOneBatchStillFinishTheGame)
{
    Connect();
    host_->S.Attach(host_->Game);
    join_->S.Attach(join_->Game);
    for (int round = 0; round < 10000 && !host_->S.End(); ++round) {
        now_ += 5;
        for (End* e : {host_.get(), join_.get()}) {
            e->PushUpTo(e->Game.Current() + 1);
            const bool slower = e == host_.get() && round % 2 == 1; // the joiner's last hash comes first
            if (e->Game.CanRun() && !slower) e->Game.RunOne();
            e->Game.Reconcile();
            e->S.Tick(now_);
        }
        for (const Outgoing& out : join_->S.TakeOutgoing()) host_->S.Received(out.Bytes, now_);
        if (!host_->S.End())
            for (const Outgoing& out : host_->S.TakeOutgoing()) join_->S.Received(out.Bytes, now_);
    }
    ASSERT_TRUE(host_->S.End());
    EXPECT_EQ(host_->S.End()->Reason, EndReason::Finished);
    // The host's last hash, its goodbye and its leaving come before the joiner's next tick.
    for (const Outgoing& out : host_->S.TakeOutgoing()) join_->S.Received(out.Bytes, now_);
    join_->S.Disconnected(now_);
    ASSERT_TRUE(join_->S.End());
    EXPECT_EQ(join_->S.End()->Reason, EndReason::Finished) << join_->S.End()->Message;
}

TEST_F(SessionTest, DifferentDataFilesEndBothSidesWithOneMessageNamingBoth)
{
    Reset(DataIdentity{2000, 0xdef});
    Connect();
    for (End* e : {host_.get(), join_.get()}) {
        ASSERT_TRUE(e->S.End());
        EXPECT_EQ(e->S.End()->Reason, EndReason::Mismatch);
        EXPECT_NE(e->S.End()->Message.find("1000 bytes"), std::string::npos) << e->S.End()->Message;
        EXPECT_NE(e->S.End()->Message.find("2000 bytes"), std::string::npos) << e->S.End()->Message;
    }
    EXPECT_FALSE(join_->S.Start().has_value());
}

TEST_F(SessionTest, AnotherProtocolVersionIsRefusedAsAMismatch)
{
    host_->S.Connected(now_);
    host_->S.Received(Encode(HelloMessage{ProtocolVersion + 1, Data}), now_);
    ASSERT_TRUE(host_->S.End());
    EXPECT_EQ(host_->S.End()->Reason, EndReason::Mismatch);
    EXPECT_NE(host_->S.End()->Message.find("protocol version 2"), std::string::npos);
}

TEST_F(SessionTest, AMessageThatCannotBeTrueEndsTheGameAsDamaged)
{
    SlotInput fire;
    fire.Add(true, VkSpace);
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> cases = {
        {"garbage", {0xff, 0x00}},
        {"a second greeting", Encode(HelloMessage{ProtocolVersion, Data})},
        {"an acknowledgement of inputs never sent", Encode(InputsMessage{500, 0, 0, {}})},
        {"inputs that skip ticks", Encode(InputsMessage{0, 0, 3, {fire}})},
        {"inputs that changed", Encode(InputsMessage{0, 0, 0, {SlotInput{}}})},
        {"a hash of a tick not yet possible", Encode(HashMessage{120, 1})},
        {"a hash of no hash tick", Encode(HashMessage{7, 1})},
    };
    for (const auto& [what, packet] : cases) {
        End host(Side::Host, Data);
        host.S.OfferStart({Ticks, 16, "start"});
        host.S.Connected(now_);
        host.S.Received(Encode(HelloMessage{ProtocolVersion, Data}), now_);
        host.S.Attach(host.Game);
        host.PushUpTo(3);
        SlotInput first;
        first.Add(true, VkLetter('G'));
        host.S.Received(Encode(InputsMessage{0, 1, 0, {first}}), now_);
        ASSERT_FALSE(host.S.End()) << what;
        host.S.Received(packet, now_);
        ASSERT_TRUE(host.S.End()) << what;
        EXPECT_EQ(host.S.End()->Reason, EndReason::Damaged) << what;
        EXPECT_NE(host.S.End()->Message.find("refuses"), std::string::npos);
    }
}

TEST_F(SessionTest, InputsThatPassTheGreetingOrTheStartAreLeftForLaterButNothingElseMay)
{
    SlotInput fire;
    fire.Add(true, VkSpace);
    join_->S.Connected(now_);
    join_->S.Received(Encode(InputsMessage{0, 0, 0, {fire}}), now_); // passed the greeting
    join_->S.Received(Encode(HelloMessage{ProtocolVersion, Data}), now_);
    join_->S.Received(Encode(InputsMessage{0, 0, 0, {fire}}), now_); // passed the start
    EXPECT_FALSE(join_->S.End());
    join_->S.Attach(join_->Game);
    EXPECT_EQ(join_->Game.RemoteEnd(), 0);

    host_->S.Connected(now_);
    host_->S.Received(Encode(HashMessage{0, 1}), now_);
    ASSERT_TRUE(host_->S.End());
    EXPECT_EQ(host_->S.End()->Reason, EndReason::Damaged);
}

TEST_F(SessionTest, APeerGoneOrSilentEndsTheGame)
{
    join_->S.Disconnected(now_);
    ASSERT_TRUE(join_->S.End());
    EXPECT_EQ(join_->S.End()->Reason, EndReason::Unreachable);

    Reset();
    Connect();
    host_->S.Tick(now_ + 3000);
    EXPECT_FALSE(host_->S.End());
    host_->S.Tick(now_ + 3001);
    ASSERT_TRUE(host_->S.End());
    EXPECT_EQ(host_->S.End()->Reason, EndReason::PeerSilent);

    join_->S.Disconnected(now_);
    ASSERT_TRUE(join_->S.End());
    EXPECT_EQ(join_->S.End()->Reason, EndReason::PeerLeft);
    host_->S.Disconnected(now_);
    EXPECT_EQ(host_->S.End()->Reason, EndReason::PeerSilent) << "the first end stays";
}

TEST_F(SessionTest, ASecondPlayerHearsTheGameIsFull)
{
    join_->S.Connected(now_);
    join_->S.Received(Encode(BusyMessage{}), now_);
    ASSERT_TRUE(join_->S.End());
    EXPECT_EQ(join_->S.End()->Reason, EndReason::Busy);
}

TEST_F(SessionTest, StatesThatDifferStopBothSidesAtTheSameTick)
{
    Connect();
    bool changed = false;
    PlayOut({}, [&] {
        // Once nothing before it can run again, so that no going back undoes it.
        if (!changed && join_->Game.Current() >= 70 && join_->Game.Confirmed() == join_->Game.Current()) {
            join_->Counter.Value += 1; // a fault on one side only
            changed = true;
        }
    });
    for (End* e : {host_.get(), join_.get()}) {
        ASSERT_TRUE(e->S.End());
        EXPECT_EQ(e->S.End()->Reason, EndReason::Desync) << e->S.End()->Message;
        EXPECT_EQ(e->S.End()->Slot, 120);
        const auto point = e->S.DesyncPoint();
        ASSERT_TRUE(point.has_value());
        EXPECT_GE(point->Slot, 60) << "the last tick both agreed on, or later";
        EXPECT_LE(point->Slot, 120);
    }
}

} // namespace
} // namespace brakkon
