// Rollback without sockets: two sides whose inputs reach each other late by
// hand end in the state of the same game played here with both scripts,
// effects and all, and find the same confirmed hashes.
#include "tests/NetSupport.h"
#include "net/SimSlots.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t Ticks = 400;

/// One side of a game in this process: its simulation, journal and rollback.
struct LocalSide {
    explicit LocalSide(Side role) : Role(role) {}
    Side Role;
    std::vector<KeyEvent> Keys;
    Simulation Sim;
    std::unique_ptr<SimSlots> Slots;
    std::unique_ptr<Rollback> Game;
    std::vector<std::int64_t> PushedAt; ///< the step each local input was pushed in
    std::vector<ConfirmedHash> Hashes;

    void Begin(const Replay& start, std::int64_t maxAhead)
    {
        ApplyNetStart(start, Sim);
        Slots = std::make_unique<SimSlots>(Sim);
        Game = std::make_unique<Rollback>(*Slots, Role, RollbackOptions{maxAhead, 60, Ticks});
    }
    void Push(std::int64_t step, std::int64_t delay)
    {
        while (Game->LocalEnd() <= std::min(Game->Current() + delay, Ticks - 1)) {
            SlotInput input;
            for (const KeyEvent& k : Keys)
                if (k.Tick == Game->LocalEnd()) input.Add(k.Press, k.Key);
            Game->PushLocal(input);
            PushedAt.push_back(step);
        }
    }
    /// Hands the other side the inputs pushed at least `late` steps ago.
    void Deliver(LocalSide& to, std::int64_t step, std::int64_t late) const
    {
        while (to.Game->RemoteEnd() < static_cast<std::int64_t>(PushedAt.size()) &&
               PushedAt[static_cast<std::size_t>(to.Game->RemoteEnd())] + late <= step)
            ASSERT_EQ(to.Game->PutRemote(to.Game->RemoteEnd(), Game->LocalInput(to.Game->RemoteEnd())),
                      Rollback::Put::Added);
    }
};

class RollbackTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::WriteSimGameData(data_));
        Reset();
    }

    /// Both sides at the start of a fresh game.
    void Reset()
    {
        host_ = std::make_unique<LocalSide>(Side::Host);
        join_ = std::make_unique<LocalSide>(Side::Joiner);
        host_->Keys = test::RandomScript(Side::Host, Ticks, 11);
        join_->Keys = test::RandomScript(Side::Joiner, Ticks, 12, true);
        std::string error;
        ASSERT_TRUE(host_->Sim.Begin(test::NetStart(data_), error)) << error;
        const Replay start = MakeNetStart(host_->Sim, *IdentityOfFile(data_));
        ASSERT_TRUE(LoadGameDataFile(data_, join_->Sim.State.Game));
        join_->Sim.Time.Interval = host_->Sim.Time.Interval;
        host_->Begin(start, maxAhead_);
        join_->Begin(start, maxAhead_);
    }

    /// Both sides run a slot a step, each one's inputs reaching the other
    /// `late` steps after they were pushed; neither may run more than
    /// MaxAhead slots past the other's inputs it holds.
    std::int64_t Play(std::int64_t late, std::int64_t delay)
    {
        std::int64_t step = 0;
        for (; step < 100000 && (host_->Game->Confirmed() < Ticks || join_->Game->Confirmed() < Ticks); ++step) {
            for (LocalSide* side : {host_.get(), join_.get()}) {
                side->Push(step, delay);
                if (side->Game->CanRun()) side->Game->RunOne();
                side->Push(step, delay);
            }
            host_->Deliver(*join_, step, late);
            join_->Deliver(*host_, step, late);
            for (LocalSide* side : {host_.get(), join_.get()}) {
                side->Game->Reconcile();
                for (const ConfirmedHash& h : side->Game->TakeHashes()) side->Hashes.push_back(h);
            }
            for (const LocalSide* side : {host_.get(), join_.get()})
                EXPECT_LE(side->Game->Current(), side->Game->RemoteEnd() + maxAhead_);
        }
        return step;
    }

    std::string Local() const { return test::LocalJson(test::NetStart(data_), Ticks, host_->Keys, join_->Keys); }

    const test::TempFolder dir_{"brakkon-rollback"};
    const fs::path data_ = dir_ / "Game.dat";
    std::int64_t maxAhead_ = 8;
    std::unique_ptr<LocalSide> host_;
    std::unique_ptr<LocalSide> join_;
};

TEST_F(RollbackTest, LateInputsEndAsTheLocalGameDoes)
{
    // (late, delay): in time, late within the ring, late beyond it (the
    // sides then wait), and late with an input delay that hides part of it.
    for (const auto& [late, delay] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{8, 0}, std::pair{12, 0}, std::pair{5, 3}, std::pair{2, 3}}) {
        Reset();
        Play(late, delay);
        SCOPED_TRACE("late " + std::to_string(late) + " delay " + std::to_string(delay));
        const std::string local = Local();
        EXPECT_TRUE(test::SameJson(host_->Sim.Json(), local));
        EXPECT_TRUE(test::SameJson(join_->Sim.Json(), local));
        const RollbackStats& stats = host_->Game->Stats();
        EXPECT_LE(stats.Longest, maxAhead_);
        // A side pushes the next slot's input right after a run: a step
        // ahead, so inputs no later than the delay come in time.
        if (late > delay) {
            EXPECT_GT(stats.Rollbacks, 0);
        } else {
            EXPECT_EQ(stats.Rollbacks, 0);
        }
        ASSERT_EQ(host_->Hashes.size(), 8u); // slots 0, 60, ..., 360 and 400
        EXPECT_EQ(host_->Hashes.back().Slot, Ticks);
        for (std::size_t i = 0; i < host_->Hashes.size(); ++i) EXPECT_EQ(host_->Hashes[i].Hash, join_->Hashes.at(i).Hash);
    }
}

TEST_F(RollbackTest, TheRecordedReplayPlaysToTheSameState)
{
    Play(4, 1);
    const Replay replay = host_->Slots->ReplayOf(host_->Slots->JournalSize(), host_->Sim.TicksRun);
    Replay read;
    ASSERT_TRUE(ReadReplay(TextSource::FromString("net", WriteReplayText(replay)), read));
    Simulation again;
    std::string error;
    ASSERT_TRUE(again.BeginReplay(data_, read, error)) << error;
    again.RunReplay();
    EXPECT_EQ(again.State.Game.Gate->PlayTime, host_->Sim.State.Game.Gate->PlayTime);
    EXPECT_EQ(again.TicksRun, host_->Sim.TicksRun);
    SlotState a;
    SlotState b;
    SaveEngine(again.State, a.Engine);
    SaveEngine(host_->Sim.State, b.Engine);
    EXPECT_EQ(HashState(a), HashState(b));
}

TEST_F(RollbackTest, RemoteInputsOutOfOrderOrChangedAreRefused)
{
    SlotInput press;
    press.Add(true, VkLetter('F'));
    EXPECT_EQ(host_->Game->PutRemote(1, press), Rollback::Put::OutOfOrder);
    EXPECT_EQ(host_->Game->PutRemote(0, press), Rollback::Put::Added);
    EXPECT_EQ(host_->Game->PutRemote(0, press), Rollback::Put::Same);
    EXPECT_EQ(host_->Game->PutRemote(0, SlotInput{}), Rollback::Put::Conflict);
    EXPECT_EQ(host_->Game->PutRemote(Ticks, SlotInput{}), Rollback::Put::OutOfOrder);
}

TEST_F(RollbackTest, AChangedStateHashesDifferently)
{
    SlotState a;
    host_->Slots->Save(a);
    SlotState b = a;
    EXPECT_EQ(HashState(a), HashState(b));
    for (auto change : std::initializer_list<std::function<void(SlotState&)>>{
             [](SlotState& s) { s.Engine.Rest.RandomSeed ^= 1; },
             [](SlotState& s) { s.Engine.Sprites.at(0).Left += 2; },
             [](SlotState& s) { s.Engine.Cells.at(20).Block ^= 1; },
             [](SlotState& s) { s.Engine.Rest.Player2.MoveIdle = !s.Engine.Rest.Player2.MoveIdle; },
             [](SlotState& s) { s.NextClock += 16; }}) {
        SlotState c = a;
        change(c);
        EXPECT_NE(HashState(c), HashState(a));
    }
}

} // namespace
} // namespace brakkon
