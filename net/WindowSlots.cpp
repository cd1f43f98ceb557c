#include "net/WindowSlots.h"

namespace brakkon {
namespace {
constexpr std::int64_t ClockInterval = 1000;
} // namespace

void NetHost::PutBack(const Shown& shown)
{
    SetTitle(shown.Title, shown.TitleShown);
    ShowMenu(shown.MenuShown);
}

void NetHost::DrawField(const GateType* gate)
{
    if (!Again) screen_.DrawField(gate);
}

void NetHost::PaintChanges(const GateType& gate)
{
    if (!Again) screen_.PaintChanges(gate);
}

void NetHost::RepaintField()
{
    if (!Again) screen_.RepaintField();
}

void NetHost::ShowIndicators()
{
    if (!Again) screen_.ShowIndicators();
}

void NetHost::ShowGateNo()
{
    if (!Again) screen_.ShowGateNo();
}

void NetHost::ShowPlayTime()
{
    if (!Again) screen_.ShowPlayTime();
}

void NetHost::PlayEffect(SoundEffect effect)
{
    if (!Again) screen_.PlayEffect(effect); // heard when the slot first ran
}

void NetHost::PlayMusic()
{
    if (!Again) screen_.PlayMusic();
}

void NetHost::SetTitle(std::string_view text, bool shown)
{
    shown_.Title = text;
    shown_.TitleShown = shown;
    screen_.SetTitle(text, shown);
}

void NetHost::ShowMenu(bool shown)
{
    shown_.MenuShown = shown;
    screen_.ShowMenu(shown);
}

void NetHost::EnableTimers(bool enabled)
{
    if (enabled && !TimersEnabled) ClockRestarted = true;
    TimersEnabled = enabled;
}

WindowSlots::WindowSlots(MainState& state, NetHost& host, GameDriver& driver, std::int32_t interval, std::size_t ring,
                         const std::vector<std::vector<std::uint8_t>>& loads)
    : state_(state), loads_(loads), host_(host), driver_(driver), shown_(ring)
{
    time_.Interval = interval;
}

void WindowSlots::Save(SlotState& into) const
{
    SaveEngine(state_, into.Engine);
    into.TimersEnabled = host_.TimersEnabled;
    into.ClockRestarted = host_.ClockRestarted;
    into.Elapsed = time_.Elapsed;
    into.NextClock = time_.NextClock;
    into.TicksRun = ticksRun_;
    into.ClockTicks = clockTicks_;
    into.Journal = driver_.Recorded().Events.size();
    into.JournalTicks = driver_.Recorded().Ticks;
}

void WindowSlots::Restore(const SlotState& from)
{
    RestoreEngine(from.Engine, state_);
    host_.TimersEnabled = from.TimersEnabled;
    host_.ClockRestarted = from.ClockRestarted;
    time_.Elapsed = from.Elapsed;
    time_.NextClock = from.NextClock;
    ticksRun_ = from.TicksRun;
    clockTicks_ = from.ClockTicks;
    driver_.RewindRecording(from.Journal, from.JournalTicks);
}

void WindowSlots::Apply(const NetKey& key)
{
    if (key.Key == NetNewGame) {
        if (key.Press && driver_.Apply(Command::NewGame(2))) driver_.Apply(Command::Of(CommandKind::Resume));
    } else if (const int load = LoadOfNetKey(key.Key); load >= 0) {
        // Its bytes came before the slot could run; ones that do not read change nothing, on both sides.
        if (key.Press && static_cast<std::size_t>(load) < loads_.size() &&
            driver_.Apply(Command::LoadGame(loads_[static_cast<std::size_t>(load)])))
            driver_.Apply(Command::Of(CommandKind::Resume));
    } else if (const std::int32_t step = StepOfNetKey(key.Key); step != 0) {
        if (key.Press && step != state_.MoveStep) driver_.Apply(Command::Of(CommandKind::Step, step));
    } else {
        driver_.Apply(key.Press ? Command::Press(key.Key) : Command::Release(key.Key));
    }
}

void WindowSlots::RunSlot(std::int64_t slot, const SlotInput& player1, const SlotInput& player2, bool again)
{
    NetHost::Shown& shown = shown_[static_cast<std::size_t>(slot) % shown_.size()];
    host_.Again = again;
    if (again && slot <= lastRun_)
        host_.PutBack(shown); // the first slot of a correction
    else
        shown = host_.Showing();
    lastRun_ = slot;
    for (const SlotInput* input : {&player1, &player2})
        for (const NetKey& key : input->Events()) Apply(key);
    if (host_.TimersEnabled) {
        if (host_.ClockRestarted) {
            time_.NextClock = time_.Elapsed + ClockInterval;
            host_.ClockRestarted = false;
        }
        time_.Elapsed += time_.Interval;
        while (time_.Elapsed >= time_.NextClock) {
            ++clockTicks_;
            driver_.Apply(Command::Of(CommandKind::Clock));
            time_.NextClock += ClockInterval;
        }
        ++ticksRun_;
        driver_.Tick();
    }
    host_.Again = false;
}

void WindowSlots::Redraw() { host_.DrawField(state_.Game.Gate.get()); }

} // namespace brakkon
