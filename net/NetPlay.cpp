#include "net/NetPlay.h"

#include "net/SimSlots.h"

#include <algorithm>
#include <limits>

namespace brakkon {
namespace {

/// How long a side that has ended waits for its last messages to leave.
constexpr std::int64_t CloseWaitMs = 1000;
/// A side this many slots ahead of (behind) the other holds back (catches up) one slot...
constexpr double LevelSlots = 1.5;
/// ...at most once in this many slots.
constexpr std::int64_t LevelEvery = 10;

} // namespace

NetPlay::NetPlay(MainState& state, GameHost& screen, NetPlayOptions options)
    : state_(state), options_(std::move(options)), host_(screen), driver_(state_, host_)
{
    options_.InputDelay = std::clamp<std::int64_t>(options_.InputDelay, 0, 4);
}

NetPlay::~NetPlay()
{
    if (transport_ && transport_->HasPeer()) {
        // Said before going, so that the other side hears it at once.
        transport_->Disconnect();
        std::vector<TransportEvent> events;
        transport_->Service(0, events);
    }
}

bool NetPlay::Open(std::string& error)
{
    session_ = std::make_unique<Session>(options_.Role, options_.Data, options_.Session);
    if (options_.Role == Side::Host)
        transport_ = Transport::Listen(options_.Address, Encode(BusyMessage{}), error);
    else
        transport_ = Transport::Connect(options_.Address, error);
    return transport_ != nullptr;
}

void NetPlay::Service(std::int64_t now)
{
    if (closed_) return;
    std::vector<TransportEvent> events;
    transport_->Service(0, events);
    for (const TransportEvent& event : events) OnEvent(event, now);
    if (!end_) {
        session_->Tick(now);
        Flush();
        if (session_->End()) Finish(now);
    }
    if (closingSince_ >= 0 && (!transport_->HasPeer() || now - closingSince_ > CloseWaitMs)) closed_ = true;
}

void NetPlay::Flush()
{
    for (const Outgoing& out : session_->TakeOutgoing()) transport_->Send(out.Bytes, out.Reliable);
}

void NetPlay::OnEvent(const TransportEvent& event, std::int64_t now)
{
    switch (event.What) {
    case TransportEvent::Kind::Connected: session_->Connected(now); break;
    case TransportEvent::Kind::Disconnected: session_->Disconnected(now); break;
    case TransportEvent::Kind::Received:
        session_->Received(event.Bytes, now);
        if (rollback_ || session_->End()) break;
        if (options_.Role == Side::Host && session_->Matched()) {
            BeginHostGame();
        } else if (options_.Role == Side::Joiner && session_->Start()) {
            std::string error;
            if (BeginJoinerGame(error))
                Attach();
            else
                session_->Fail(EndReason::Damaged, "The host's start cannot be played (" + error + "); the network game ended.");
        }
        break;
    }
}

void NetPlay::BeginHostGame()
{
    (void)driver_.Apply(Command::NewGame(2)); // a data file without gates does not start up
    (void)driver_.Apply(Command::Of(CommandKind::Resume));
    // The host plays from the start exactly as the joiner reads it.
    const Replay start = MakeNetStart(state_, options_.Data);
    ApplyNetStart(start, state_, driver_);
    session_->OfferStart({EndlessGame, options_.Interval, WriteReplayText(start)});
    Attach();
}

bool NetPlay::BeginJoinerGame(std::string& error)
{
    const StartMessage& message = *session_->Start();
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
                                           static_cast<std::size_t>(options_.MaxAhead + 2), session_->Loads());
    RollbackOptions rollback;
    rollback.MaxAhead = options_.MaxAhead;
    const StartMessage& start = *session_->Start();
    if (start.Ticks != EndlessGame) rollback.EndSlot = start.Ticks;
    rollback_ = std::make_unique<Rollback>(*slots_, options_.Role, rollback);
    session_->Attach(*rollback_);
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
    if (options_.Role != Side::Host || !Playing() || session_->Loads().size() >= MaxLoads) return false;
    pending_.push_back({true, NetLoad(session_->SendLoad(std::move(bytes)))});
    Flush(); // the bytes go before the keys that load them
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
    if (!options_.KeepLevel || session_->RemoteNowAt() < 0 || rollback_->Current() - lastLevel_ < LevelEvery) return 1;
    // Where the other side stands now: the slot it last reported, plus the
    // slots it ran since it sent that (half a round trip before it came).
    const double pace = std::max(1, options_.Interval);
    const double since = static_cast<double>(now - session_->RemoteNowAt()) + transport_->RoundTripMs() / 2.0;
    const double ahead =
        static_cast<double>(rollback_->Current()) - (static_cast<double>(session_->RemoteNow()) + since / pace);
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
    session_->Tick(now);
    Flush();
    if (session_->End()) Finish(now);
}

void NetPlay::Leave(std::int64_t now)
{
    if (end_) return;
    session_->Fail(EndReason::Finished, {});
    Finish(now);
}

void NetPlay::Finish(std::int64_t now)
{
    if (end_) return;
    end_ = session_->End();
    if (end_->Reason == EndReason::Desync && slots_) WriteReplay();
    transport_->Disconnect();
    closingSince_ = now;
}

void NetPlay::WriteReplay()
{
    const auto point = session_->DesyncPoint();
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
