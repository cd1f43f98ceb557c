// The window's game under rollback, without sockets or widgets: a side
// whose remote inputs come late goes back and runs ticks again, and ends in
// the state, title and menu of the same game whose inputs all came on time;
// the ticks it runs again show and sound nothing, and a full redraw follows.
#include "net/WindowSlots.h"

#include "game/GameData.h"
#include "net/SimSlots.h"
#include "tests/NetSupport.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

constexpr std::int64_t Ticks = 600;

/// The screen as the window would show it: what the title and menu show,
/// the effects heard, the full redraws.
struct Screen : SilentHost {
    std::vector<SoundEffect> Effects;
    std::string Title;
    bool TitleShown = false;
    bool MenuShown = false;
    int Redraws = 0;
    void PlayEffect(SoundEffect effect) override { Effects.push_back(effect); }
    void SetTitle(std::string_view text, bool shown) override
    {
        Title = text;
        TitleShown = shown;
    }
    void ShowMenu(bool shown) override { MenuShown = shown; }
    void DrawField(const GateType*) override { ++Redraws; }
};

/// The host's side of a game whose joiner's keys arrive `late` slots after
/// their slot ran here.
struct HostSide {
    MainState State;
    Screen Shown;
    NetHost Host{Shown};
    GameDriver Driver{State, Host};
    std::vector<std::vector<std::uint8_t>> Loads;
    std::unique_ptr<WindowSlots> Slots;
    std::unique_ptr<Rollback> Game;

    HostSide(const std::filesystem::path& data, const Replay& start)
    {
        EXPECT_TRUE(LoadGameDataFile(data, State.Game));
        ApplyNetStart(start, State, Driver);
        Slots = std::make_unique<WindowSlots>(State, Host, Driver, 16, 10, Loads);
        Game = std::make_unique<Rollback>(*Slots, Side::Host, RollbackOptions{8, 60, Ticks});
    }

    void Play(const std::vector<KeyEvent>& mine, const std::vector<KeyEvent>& theirs, std::int64_t late)
    {
        auto input = [](const std::vector<KeyEvent>& keys, std::int64_t slot) {
            SlotInput in;
            for (const KeyEvent& k : keys)
                if (k.Tick == slot) in.Add(k.Press, k.Key);
            return in;
        };
        for (std::int64_t slot = 0; slot < Ticks; ++slot) {
            Game->PushLocal(input(mine, slot));
            for (std::int64_t r = Game->RemoteEnd(); r <= slot - late; ++r)
                ASSERT_EQ(Game->PutRemote(r, input(theirs, r)), Rollback::Put::Added);
            const std::int64_t before = Game->Stats().Rollbacks;
            const std::size_t effects = Shown.Effects.size();
            const int redraws = Shown.Redraws;
            Game->Reconcile();
            if (Game->Stats().Rollbacks != before) {
                EXPECT_EQ(Shown.Effects.size(), effects) << "ticks run again were heard again";
                EXPECT_EQ(Shown.Redraws, redraws) << "ticks run again drew the field";
                Slots->Redraw();
            }
            ASSERT_TRUE(Game->CanRun());
            Game->RunOne();
        }
        for (std::int64_t r = Game->RemoteEnd(); r < Ticks; ++r) (void)Game->PutRemote(r, input(theirs, r));
        Game->Reconcile();
    }

    [[nodiscard]] std::uint64_t Hash() const
    {
        SlotState state;
        Slots->Save(state);
        return HashState(state);
    }
};

TEST(WindowSlots, LateInputsEndWhereInputsOnTimeEnd)
{
    test::TempFolder dir;
    const auto data = dir.path / "Game.dat";
    ASSERT_TRUE(test::WriteSimGameData(data));
    Simulation sim;
    std::string error;
    ASSERT_TRUE(sim.Begin(test::NetStart(data), error)) << error;
    const Replay start = MakeNetStart(sim, *IdentityOfFile(data));
    // The joiner pauses and resumes half-way: the title, the menu and the
    // clock's restart go back and forth with the corrections.
    const auto mine = test::RandomScript(Side::Host, Ticks, 11);
    const auto theirs = test::RandomScript(Side::Joiner, Ticks, 12, true);

    HostSide onTime(data, start);
    onTime.Play(mine, theirs, 0);
    EXPECT_EQ(onTime.Game->Stats().Rollbacks, 0);
    for (const std::int64_t late : {1, 3, 7}) {
        SCOPED_TRACE(late);
        HostSide behind(data, start);
        behind.Play(mine, theirs, late);
        EXPECT_GT(behind.Game->Stats().Rollbacks, 0);
        EXPECT_EQ(behind.Hash(), onTime.Hash());
        EXPECT_EQ(behind.State.Game.Gate->PlayTime, onTime.State.Game.Gate->PlayTime);
        EXPECT_EQ(behind.Shown.Title, onTime.Shown.Title);
        EXPECT_EQ(behind.Shown.TitleShown, onTime.Shown.TitleShown);
        EXPECT_EQ(behind.Shown.MenuShown, onTime.Shown.MenuShown);
    }
}

} // namespace
} // namespace brakkon
