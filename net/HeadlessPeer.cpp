#include "net/HeadlessPeer.h"

#include "game/GameData.h"
#include "game/Keyboard.h"
#include "sim/StartUp.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace brakkon {
namespace {

/// The longest Step waits, so that resends and the silence check keep time.
constexpr std::int64_t MaxWaitMs = 10;
/// Slots run in one Step when running as fast as the other side allows.
constexpr int MaxSlotsPerStep = 32;
/// A side this many slots ahead of the other holds back one slot...
constexpr double LevelSlots = 1.5;
/// ...at most once in this many slots.
constexpr std::int64_t LevelEvery = 10;

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string PlayerOf(Side side) { return side == Side::Host ? "player 1" : "player 2"; }

} // namespace

HeadlessPeer::HeadlessPeer(PeerOptions options) : options_(std::move(options)) {}

HeadlessPeer::~HeadlessPeer() = default;

bool HeadlessPeer::Open(std::string& error)
{
    const std::filesystem::path& data = options_.Start.DataFile;
    const auto identity = IdentityOfFile(data);
    if (!identity) {
        error = "cannot read the data file " + data.string();
        return false;
    }
    identity_ = *identity;
    std::stable_sort(options_.Keys.begin(), options_.Keys.end(),
                     [](const KeyEvent& a, const KeyEvent& b) { return a.Tick < b.Tick; });
    for (std::size_t i = 0; i < options_.Keys.size(); ++i) {
        KeyEvent& e = options_.Keys[i];
        e.Key = NormaliseKey(e.Key);
        if (!SideMaySend(options_.Role, e.Key)) {
            error = "the key script presses " + KeyName(e.Key) + ", which is neither one of " +
                    PlayerOf(options_.Role) + "'s keys nor F1 or Escape";
            return false;
        }
        if (i >= MaxKeysPerSlot && options_.Keys[i - MaxKeysPerSlot].Tick == e.Tick) {
            error = "the key script has more than 16 key events at tick " + std::to_string(e.Tick);
            return false;
        }
    }

    link_ = std::make_unique<PeerLink>(options_.Role, identity_);
    if (options_.Role == Side::Host) {
        if (!sim_.Begin(options_.Start, error)) return false;
        // The host plays from the start exactly as the joiner reads it.
        start_ = MakeNetStart(sim_, identity_);
        ApplyNetStart(start_, sim_);
        ticks_ = options_.Ticks;
        link_->Conversation().OfferStart({static_cast<std::uint32_t>(ticks_), sim_.Time.Interval, WriteReplayText(start_)});
    } else {
        // Started up as any game; the host's start then replaces what it set.
        StartUpPlan plan;
        plan.LoadData = [&](GameType& game) { return LoadGameDataFile(data, game); };
        if (!StartUp(sim_.State, sim_.Host, plan)) {
            error = "cannot load the data file " + data.string();
            return false;
        }
    }
    return link_->Open(options_.Address, error);
}

std::uint16_t HeadlessPeer::Port() const { return link_->Connection().Port(); }

std::int64_t HeadlessPeer::Pace() const { return std::max<std::int64_t>(0, options_.PaceMs.value_or(sim_.Time.Interval)); }

void HeadlessPeer::Step(std::int64_t maxWaitMs)
{
    if (Done()) return;
    std::int64_t now = NowMs();
    std::int64_t wait = std::clamp<std::int64_t>(maxWaitMs, 0, MaxWaitMs);
    if (rollback_ && !end_ && rollback_->CanRun())
        wait = Pace() == 0 ? 0 : std::clamp<std::int64_t>(nextSlotAt_ - now, 0, wait);
    link_->Poll(static_cast<std::uint32_t>(wait));
    now = NowMs();
    if (link_->Connection().HasPeer()) stats_.RoundTripMs = link_->Connection().RoundTripMs();
    link_->Dispatch(now, [this](std::int64_t at, std::string& error) { return Begin(at, error); });
    if (rollback_ && !link_->Conversation().End()) {
        rollback_->Reconcile();
        RunDueSlots(now);
    }
    link_->Conversation().Tick(now);
    link_->Flush();
    if (!end_ && link_->Conversation().End()) Finish(now);
    link_->CheckClosed(now);
}

bool HeadlessPeer::Begin(std::int64_t now, std::string& error)
{
    if (options_.Role == Side::Joiner && !BuildJoinerGame(error)) return false;
    StartGame(now);
    return true;
}

bool HeadlessPeer::BuildJoinerGame(std::string& error)
{
    const StartMessage& start = *link_->Conversation().Start();
    if (TextResult r = ReadNetStart(start.Replay, start_); !r) {
        error = r.Message;
        return false;
    }
    if (std::string mismatch = DataMismatch(start_, identity_, options_.Start.DataFile.string()); !mismatch.empty()) {
        error = mismatch;
        return false;
    }
    if (start.Ticks == EndlessGame) {
        error = "a game without an end needs the window";
        return false;
    }
    ApplyNetStart(start_, sim_);
    sim_.Time.Interval = start.Interval;
    ticks_ = start.Ticks;
    return true;
}

void HeadlessPeer::StartGame(std::int64_t now)
{
    slots_ = std::make_unique<SimSlots>(sim_);
    RollbackOptions options;
    options.MaxAhead = options_.MaxAhead;
    options.EndSlot = ticks_;
    rollback_ = &link_->Attach(*slots_, options);
    FillLocalInputs();
    nextSlotAt_ = now;
    begun_ = options_.Role == Side::Joiner;
}

void HeadlessPeer::FillLocalInputs()
{
    const std::int64_t upTo = std::min(rollback_->Current() + options_.InputDelay, ticks_ - 1);
    const std::vector<KeyEvent>& keys = options_.Keys;
    while (rollback_->LocalEnd() <= upTo) {
        const std::int64_t slot = rollback_->LocalEnd();
        SlotInput input;
        while (nextKey_ < keys.size() && keys[nextKey_].Tick < slot) ++nextKey_;
        for (; nextKey_ < keys.size() && keys[nextKey_].Tick == slot; ++nextKey_)
            input.Add(keys[nextKey_].Press, keys[nextKey_].Key); // at most 16: checked in Open
        rollback_->PushLocal(input);
    }
}

void HeadlessPeer::RunDueSlots(std::int64_t now)
{
    const std::int64_t pace = Pace();
    if (!begun_) {
        // The joiner began when the start reached it, which may have taken
        // resends: the host begins with the joiner's first inputs, as far
        // into the game as the joiner has come since it sent them.
        if (link_->Conversation().RemoteNowAt() < 0) return;
        begun_ = true;
        nextSlotAt_ = now - link_->Connection().RoundTripMs() / 2;
    }
    for (int ran = 0; !rollback_->Ended() && (pace == 0 ? ran < MaxSlotsPerStep : now >= nextSlotAt_); ++ran) {
        FillLocalInputs();
        if (!rollback_->CanRun()) {
            if (!waiting_) ++stats_.Waits;
            waiting_ = true;
            return;
        }
        waiting_ = false;
        rollback_->RunOne();
        FillLocalInputs();
        if (pace > 0) {
            // Late slots catch up a little, never in a long burst.
            nextSlotAt_ = std::max(nextSlotAt_ + pace, now - 2 * pace);
            KeepLevel(now);
        }
    }
}

void HeadlessPeer::KeepLevel(std::int64_t now)
{
    // Where the other side stands now: the slot it last reported, plus the
    // slots it ran since it sent that (half a round trip before it came).
    if (link_->Conversation().RemoteNowAt() < 0) return;
    const double pace = static_cast<double>(Pace());
    const double since = static_cast<double>(now - link_->Conversation().RemoteNowAt()) + link_->Connection().RoundTripMs() / 2.0;
    const double ahead = static_cast<double>(rollback_->Current()) -
                         (static_cast<double>(link_->Conversation().RemoteNow()) + since / pace);
    if (ahead >= LevelSlots && rollback_->Current() - lastSyncWait_ >= LevelEvery) {
        nextSlotAt_ += Pace();
        lastSyncWait_ = rollback_->Current();
        ++stats_.SyncWaits;
    }
}

void HeadlessPeer::Finish(std::int64_t now)
{
    end_ = link_->Conversation().End();
    if (slots_ && (end_->Reason == EndReason::Desync || (end_->Reason == EndReason::Finished && options_.RecordAlways)))
        WriteReplay();
    link_->Close(now);
}

void HeadlessPeer::WriteReplay()
{
    Replay replay;
    if (end_->Reason == EndReason::Desync) {
        const auto point = link_->Conversation().DesyncPoint();
        if (!point) {
            end_->Message += " No state was confirmed yet, so no replay was written.";
            return;
        }
        replay = slots_->ReplayOf(point->Journal, point->TicksRun);
    } else {
        replay = slots_->ReplayOf(slots_->JournalSize(), sim_.TicksRun);
    }
    const std::string file = options_.ReplayFile.string();
    if (!SaveReplay(options_.ReplayFile, replay))
        end_->Message += (end_->Message.empty() ? "" : " ") + std::string("The replay could not be written to ") + file + ".";
    else if (end_->Reason == EndReason::Desync)
        end_->Message += " This side's replay of the game is in " + file + ".";
}

PeerStats HeadlessPeer::Stats() const
{
    PeerStats stats = stats_;
    if (rollback_) stats.Rollback = rollback_->Stats();
    return stats;
}

std::string HeadlessPeer::StatsLine() const
{
    const PeerStats s = Stats();
    char line[256];
    std::snprintf(line, sizeof line,
                  "network game of %lld ticks: %lld rollbacks (longest %lld ticks, %lld ticks run again), "
                  "%lld waits for the other side, %lld slots held back to keep level, round trip %u ms",
                  static_cast<long long>(ticks_), static_cast<long long>(s.Rollback.Rollbacks),
                  static_cast<long long>(s.Rollback.Longest), static_cast<long long>(s.Rollback.SlotsRerun),
                  static_cast<long long>(s.Waits), static_cast<long long>(s.SyncWaits), s.RoundTripMs);
    return line;
}

} // namespace brakkon
