#include "net/NetPlay.h"

#include "net/SimSlots.h"

#include <algorithm>
#include <limits>

namespace brakkon {
namespace {

/// A side this many slots ahead of (behind) the other holds back (catches up) one slot...
constexpr double LevelSlots = 1.5;
/// ...at most once in this many slots.
constexpr std::int64_t LevelEvery = 10;

} // namespace

NetPlay::NetPlay(MainState& state, GameHost& screen, NetPlayOptions options)
    : state_(state), options_(std::move(options)), host_(screen), driver_(state_, host_),
      link_(options_.Role, options_.Data, options_.Session)
{
    options_.InputDelay = std::clamp<std::int64_t>(options_.InputDelay, 0, 4);
}

NetPlay::~NetPlay()
{
    link_.Hangup(); // said before going, so that the other side hears it at once
}

bool NetPlay::Open(std::string& error)
{
    return link_.Open(options_.Address, error);
}

void NetPlay::Service(std::int64_t now)
{
    if (link_.Closed()) return;
    link_.Poll(0);
    link_.Dispatch(now, [this](std::int64_t, std::string& error) { return Begin(error); });
    if (!end_) {
        link_.Conversation().Tick(now);
        link_.Flush();
        if (link_.Conversation().End()) Finish(now);
    }
    link_.CheckClosed(now);
}

bool NetPlay::Begin(std::string& error)
{
    if (options_.Role == Side::Host)
        BeginHostGame();
    else if (BeginJoinerGame(error))
        Attach();
    else
        return false;
    return true;
}

void NetPlay::BeginHostGame()
{
    (void)driver_.Apply(Command::NewGame(2)); // a data file without gates does not start up
    (void)driver_.Apply(Command::Of(CommandKind::Resume));
    // The host plays from the start exactly as the joiner reads it.
    const Replay start = MakeNetStart(state_, options_.Data);
    ApplyNetStart(start, state_, driver_);
    link_.Conversation().OfferStart({EndlessGame, options_.Interval, WriteReplayText(start)});
    Attach();
}

bool NetPlay::BeginJoinerGame(std::string& error)
{
    const StartMessage& message = *link_.Conversation().Start();
    Replay start;
    if (TextResult r = ReadNetStart(message.Replay, start); !r) {
        error = r.Message;
        return false;
    }
    if (std::string mismatch = DataMismatch(start, options_.Data, "this game's data file"); !mismatch.empty()) {
        error = mismatch;
        return false;
    }
    if (message.Interval <= 0) {
        error = "a game timer of " + std::to_string(message.Interval) + " ms";
        return false;
    }
    ApplyNetStart(start, state_, driver_);
    options_.Interval = message.Interval;
    return true;
}

void NetPlay::Attach()
{
    host_.TimersEnabled = true; // both begin a game in play, the clock counting from here
    host_.ClockRestarted = false;
    slots_ = std::make_unique<WindowSlots>(state_, host_, driver_, options_.Interval,
                                           static_cast<std::size_t>(options_.MaxAhead + 2), link_.Conversation().Loads());
    RollbackOptions rollback;
    rollback.MaxAhead = options_.MaxAhead;
    const StartMessage& start = *link_.Conversation().Start();
    if (start.Ticks != EndlessGame) rollback.EndSlot = start.Ticks;
    rollback_ = &link_.Attach(*slots_, rollback);
    CommitLocal();
    host_.ShowMenu(!state_.Playing); // the joiner's menu stood over the field until the start came
    slots_->Redraw();
}

void NetPlay::Press(KeyCode key)
{
    if (SideMaySend(options_.Role, key)) pending_.push_back({true, key});
}

void NetPlay::Release(KeyCode key)
{
    if (SideMaySend(options_.Role, key)) pending_.push_back({false, key});
}

void NetPlay::HostCommand(KeyCode code)
{
    if (options_.Role == Side::Host && SideMaySend(Side::Host, code)) pending_.push_back({true, code});
}

bool NetPlay::HostLoad(std::vector<std::uint8_t> bytes)
{
    if (options_.Role != Side::Host || !Playing() || link_.Conversation().Loads().size() >= MaxLoads) return false;
    pending_.push_back({true, NetLoad(link_.Conversation().SendLoad(std::move(bytes)))});
    link_.Flush(); // the bytes go before the keys that load them
    return true;
}

void NetPlay::CommitLocal()
{
    const std::int64_t last = std::min(rollback_->Current() + options_.InputDelay, rollback_->Options().EndSlot - 1);
    while (rollback_->LocalEnd() <= last) {
        SlotInput input;
        while (!pending_.empty() && input.Add(pending_.front().Press, pending_.front().Key)) pending_.pop_front();
        rollback_->PushLocal(input);
    }
}

int NetPlay::SlotsDue(std::int64_t now)
{
    if (!options_.KeepLevel || link_.Conversation().RemoteNowAt() < 0 || rollback_->Current() - lastLevel_ < LevelEvery) return 1;
    // Where the other side stands now: the slot it last reported, plus the
    // slots it ran since it sent that (half a round trip before it came).
    const double pace = std::max(1, options_.Interval);
    const double since = static_cast<double>(now - link_.Conversation().RemoteNowAt()) + link_.Connection().RoundTripMs() / 2.0;
    const double ahead =
        static_cast<double>(rollback_->Current()) - (static_cast<double>(link_.Conversation().RemoteNow()) + since / pace);
    if (ahead > -LevelSlots && ahead < LevelSlots) return 1;
    lastLevel_ = rollback_->Current();
    ++levelChanges_;
    return ahead >= LevelSlots ? 0 : 2;
}

void NetPlay::Advance(std::int64_t now)
{
    if (!Playing()) return;
    const std::int64_t rollbacks = rollback_->Stats().Rollbacks;
    rollback_->Reconcile();
    if (rollback_->Stats().Rollbacks != rollbacks) slots_->Redraw();
    for (int due = SlotsDue(now); due > 0; --due) {
        CommitLocal();
        if (!rollback_->CanRun()) break; // too far ahead of the other side: wait for it
        rollback_->RunOne();
    }
    CommitLocal();
    link_.Conversation().Tick(now);
    link_.Flush();
    if (link_.Conversation().End()) Finish(now);
}

void NetPlay::Leave(std::int64_t now)
{
    if (end_) return;
    link_.Conversation().Fail(EndReason::Finished, {});
    Finish(now);
}

void NetPlay::Finish(std::int64_t now)
{
    if (end_) return;
    end_ = link_.Conversation().End();
    if (end_->Reason == EndReason::Desync && slots_) WriteReplay();
    link_.Close(now);
}

void NetPlay::WriteReplay()
{
    const auto point = link_.Conversation().DesyncPoint();
    if (!point) {
        end_->Message += " No state was confirmed yet, so no replay was written.";
        return;
    }
    Replay replay = driver_.Recorded();
    CutReplay(replay, point->Journal, point->TicksRun);
    const std::string file = options_.ReplayFile.string();
    if (SaveReplay(options_.ReplayFile, replay))
        end_->Message += " This side's replay of the game is in " + file + ".";
    else
        end_->Message += " The replay could not be written to " + file + ".";
}

std::string NetPlay::StatsLine() const
{
    if (!rollback_) return "the network game never began";
    const RollbackStats& s = rollback_->Stats();
    return "network game of " + std::to_string(rollback_->Current()) + " ticks: " + std::to_string(s.Rollbacks) +
           " rollbacks (longest " + std::to_string(s.Longest) + " ticks, " + std::to_string(s.SlotsRerun) +
           " ticks run again), " + std::to_string(levelChanges_) + " ticks held back or doubled to keep level";
}

std::uint64_t NetPlay::StateHash() const
{
    if (!slots_) return 0;
    SlotState state;
    slots_->Save(state);
    return HashState(state);
}

} // namespace brakkon
