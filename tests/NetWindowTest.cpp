// Network games between two windows in one process over the loopback
// address: both tanks driven by key events on their own windows, a
// correction after the host ran ahead, the pause and the host's new game on
// both sides, a peer that goes away, the Network Game dialog's Cancel while
// it waits, and the command line's --host and --join.
#include "shell/CommandLine.h"
#include "shell/NetGameDialog.h"
#include "sim/Replay.h"
#include "tests/GuiSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace brakkon {
namespace {

using test::Eventually;
using test::WindowFixture;

void NetSeams(MainSeams& seams)
{
    seams.Net.KeepLevel = false;          // the test paces both sides by hand
    seams.Net.Session.SilenceMs = 60000; // a slow sanitizer build is not a silent peer
    seams.Net.AnswerAt = Endpoint{"127.0.0.1", 0};
}

class NetWindowTest : public ::testing::Test {
protected:
    NetWindowTest()
    {
        host.Show();
        join.Show();
    }

    NetWindow& HostNet() { return host.form->Net(); }
    NetWindow& JoinNet() { return join.form->Net(); }
    [[nodiscard]] std::int64_t Slot(WindowFixture& side) { return side.form->Net().Play()->Progress()->Current(); }

    /// Both windows in one network game.
    void Connect()
    {
        std::string error;
        ASSERT_TRUE(HostNet().Host({"127.0.0.1", 0}, error)) << error;
        ASSERT_TRUE(JoinNet().Join({"127.0.0.1", HostNet().Play()->Port()}, error)) << error;
        ASSERT_TRUE(Eventually([&] {
            TickBoth();
            return HostNet().Now() == NetWindow::Phase::Playing && JoinNet().Now() == NetWindow::Phase::Playing;
        }));
    }

    void TickBoth()
    {
        host.form->Timer1Timer();
        join.form->Timer1Timer();
    }

    /// Ticks both until `condition` holds.
    [[nodiscard]] bool TickUntil(const std::function<bool()>& condition)
    {
        return Eventually([&] {
            if (condition()) return true;
            TickBoth();
            return false;
        });
    }

    /// Both paused, showing the menu, in the same state.
    [[nodiscard]] bool BothPausedAlike()
    {
        return TickUntil([&] {
            return !host.State().Playing && !join.State().Playing && host.form->MenuItemShown(7) &&
                   join.form->MenuItemShown(7) && HostNet().Play()->StateHash() == JoinNet().Play()->StateHash();
        });
    }

    test::TempFolder replays_;
    WindowFixture host{{"Game.dat", "Game", "Star.bmp", "Life.bmp"}, [this](MainSeams& seams) {
                           NetSeams(seams);
                           seams.Net.ReplayFile = replays_.path / "host.replay";
                       }};
    WindowFixture join{{"Game.dat", "Game", "Star.bmp", "Life.bmp"}, [this](MainSeams& seams) {
                           NetSeams(seams);
                           seams.Net.ReplayFile = replays_.path / "join.replay";
                           // The joiner's dialog asks the host's window alone.
                           seams.FindGames = [this](const DataIdentity& data) {
                               std::string error;
                               return DiscoveryProbe::Open({{"127.0.0.1", HostNet().AnswerPort()}}, data, error);
                           };
                       }};
};

TEST_F(NetWindowTest, BothTanksPlayFromTheirOwnKeysAndBothSidesEndAlike)
{
    Connect();
    const SpriteType before1 = *host.Gate().Sprites[0];
    const SpriteType before2 = *host.Gate().Sprites[1];

    // The host drives up with player 1's keys; the joiner drives its
    // green tank with the same keys.
    host.Press(Qt::Key_Up);
    ASSERT_TRUE(TickUntil([&] { return Slot(host) > 20 && Slot(join) > 20; }));
    // The host runs ahead alone; the joiner's key then comes for slots it
    // already ran, which it runs again.
    for (int i = 0; i < 6; ++i) host.form->Timer1Timer();
    join.Press(Qt::Key_Up);
    join.form->Timer1Timer();
    ASSERT_TRUE(TickUntil([&] { return HostNet().Play()->Progress()->Stats().Rollbacks > 0 && Slot(join) > 80; }));
    host.Release(Qt::Key_Up);
    join.Release(Qt::Key_Up);

    // Either side's pause pauses both; the joiner's menu has no new game.
    join.Click(Qt::Key_F1);
    ASSERT_TRUE(BothPausedAlike());
    const SpriteType after1 = *join.Gate().Sprites[0];
    const SpriteType after2 = *host.Gate().Sprites[1];
    EXPECT_TRUE(after1.Left != before1.Left || after1.Top != before1.Top) << "player 1 never moved";
    EXPECT_TRUE(after2.Left != before2.Left || after2.Top != before2.Top) << "player 2 never moved";
    EXPECT_TRUE(host.form->MenuItemShown(1));
    EXPECT_FALSE(join.form->MenuItemShown(1));
    EXPECT_FALSE(join.form->MenuItemShown(2));
    EXPECT_TRUE(join.form->MenuItemShown(4));

    // The host saves this game; its new game begins on both; the host's
    // pause stops both again; the saved game it loads plays on both.
    host.dialogAnswer = QString::fromStdString((host.Dir() / "net.gam").string());
    host.Click(Qt::Key_4);
    host.Click(Qt::Key_2);
    ASSERT_TRUE(TickUntil([&] { return host.State().Playing && join.State().Playing; }));
    const SpriteType fresh = *join.Gate().Sprites[1];
    EXPECT_TRUE(fresh.Left != after2.Left || fresh.Top != after2.Top) << "the new game left player 2 where it was";
    host.Click(Qt::Key_Escape);
    ASSERT_TRUE(BothPausedAlike());
    host.Click(Qt::Key_3);
    ASSERT_TRUE(TickUntil([&] { return host.State().Playing && join.State().Playing; }));
    EXPECT_EQ(join.Gate().Sprites[1]->Left, after2.Left); // where the saved game had it
    EXPECT_EQ(join.Gate().Sprites[1]->Top, after2.Top);
    host.Click(Qt::Key_F1);
    ASSERT_TRUE(BothPausedAlike());
    EXPECT_EQ(HostNet().Now(), NetWindow::Phase::Playing);
}

TEST_F(NetWindowTest, APeerThatLeavesEndsTheGameWithAMessageAndTheMenu)
{
    Connect();
    ASSERT_TRUE(TickUntil([&] { return Slot(host) > 10; }));
    join.form.reset(); // the window closes
    ASSERT_TRUE(Eventually([&] {
        host.form->Timer1Timer();
        return HostNet().Now() == NetWindow::Phase::Idle;
    }));
    EXPECT_NE(HostNet().LastMessage().find("left"), std::string::npos) << HostNet().LastMessage();
    auto* box = host.form->findChild<QMessageBox*>(QStringLiteral("NetworkGameMessage"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text().toStdString(), HostNet().LastMessage());
    EXPECT_FALSE(host.State().Playing);
    EXPECT_TRUE(host.form->MenuItemShown(1));
    EXPECT_TRUE(host.form->MenuItemShown(7)); // the game stands paused, to go on with here
    // The window's own timers run the game again.
    host.Click(Qt::Key_7);
    EXPECT_TRUE(host.State().Playing);
    EXPECT_TRUE(host.form->ClockTimer().Enabled());
}

TEST_F(NetWindowTest, GamesOutOfStepStopOnBothSidesAndEachWritesItsReplay)
{
    Connect();
    ASSERT_TRUE(TickUntil([&] { return Slot(host) > 70 && Slot(join) > 70; }));
    join.Gate().PlayTime += 5; // as a fault would: the joiner's game is no longer the host's
    ASSERT_TRUE(TickUntil([&] { return HostNet().Now() == NetWindow::Phase::Idle && JoinNet().Now() == NetWindow::Phase::Idle; }));
    for (WindowFixture* side : {&host, &join}) {
        const std::string& message = side->form->Net().LastMessage();
        EXPECT_NE(message.find("out of step"), std::string::npos) << message;
        EXPECT_TRUE(side->form->MenuItemShown(1));
        EXPECT_NE(side->form->findChild<QMessageBox*>(QStringLiteral("NetworkGameMessage")), nullptr);
    }
    // Each replay holds both players' keys up to the last tick both agreed on.
    for (const char* name : {"host.replay", "join.replay"}) {
        SCOPED_TRACE(name);
        Replay replay;
        ASSERT_TRUE(LoadReplay(replays_.path / name, replay));
        EXPECT_GE(replay.Ticks, 60);
    }
    EXPECT_NE(HostNet().LastMessage().find("host.replay"), std::string::npos) << HostNet().LastMessage();
    EXPECT_NE(JoinNet().LastMessage().find("join.replay"), std::string::npos) << JoinNet().LastMessage();
}

TEST_F(NetWindowTest, TheDialogsCancelEndsTheWaiting)
{
    host.Click(Qt::Key_F5);
    auto* dialog = host.form->findChild<NetGameDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    dialog->AddressEdit->setText(QStringLiteral("127.0.0.1:1")); // nobody answers there
    QTest::mouseClick(dialog->JoinButton, Qt::LeftButton);
    EXPECT_EQ(HostNet().Now(), NetWindow::Phase::Waiting);
    EXPECT_FALSE(dialog->JoinButton->isEnabled());
    EXPECT_NE(dialog->StatusLabel->text().toStdString(), "");
    QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
    EXPECT_EQ(HostNet().Now(), NetWindow::Phase::Idle);
    EXPECT_TRUE(Eventually([&] { return host.form->findChild<NetGameDialog*>() == nullptr; })); // closed and gone

    // Hosting shows where the game can be reached.
    auto* again = host.form->OpenNetworkGame();
    ASSERT_NE(again, nullptr);
    std::string error;
    ASSERT_TRUE(HostNet().Host({"127.0.0.1", 0}, error)) << error;
    const std::string status = again->StatusLabel->text().toStdString();
    EXPECT_NE(status.find("port " + std::to_string(HostNet().Play()->Port())), std::string::npos) << status;
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_EQ(HostNet().Now(), NetWindow::Phase::Idle);
}

TEST_F(NetWindowTest, TheJoinerPicksTheHostFromTheGamesFoundAndBothPlay)
{
    std::string error;
    ASSERT_TRUE(HostNet().Host({"127.0.0.1", 0}, error)) << error;
    ASSERT_NE(HostNet().AnswerPort(), 0);
    join.Click(Qt::Key_F5);
    auto* dialog = join.form->findChild<NetGameDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Eventually([&] {
        dialog->RefreshGames();
        return dialog->GamesList->count() == 1;
    }));
    const std::string listed = dialog->GamesList->item(0)->text().toStdString();
    EXPECT_EQ(listed.find("another"), std::string::npos) << listed; // same version, same data file
    dialog->GamesList->setCurrentRow(0);
    EXPECT_EQ(dialog->AddressEdit->text().toStdString(), "127.0.0.1:" + std::to_string(HostNet().Play()->Port()));
    QTest::mouseClick(dialog->JoinButton, Qt::LeftButton);
    ASSERT_TRUE(TickUntil([&] {
        return HostNet().Now() == NetWindow::Phase::Playing && JoinNet().Now() == NetWindow::Phase::Playing;
    }));
    EXPECT_TRUE(Eventually([&] { return join.form->findChild<NetGameDialog*>() == nullptr; })); // it closed when the game began
    EXPECT_EQ(HostNet().AnswerPort(), 0); // no more players are sought
}

TEST(CommandLine, HostAndJoin)
{
    struct Case {
        std::vector<const char*> args;
        const char* error; ///< a part of it; nullptr: accepted
        std::optional<std::string> host;
        std::optional<std::string> join; ///< "HOST:PORT"
    };
    const Case cases[] = {
        {{"--host"}, nullptr, ":28460", {}},
        {{"--host", "3000"}, nullptr, ":3000", {}},
        {{"--host", "127.0.0.1:3001"}, nullptr, "127.0.0.1:3001", {}},
        {{"--host", "-platform", "offscreen"}, nullptr, ":28460", {}},
        {{"--join", "127.0.0.1"}, nullptr, {}, "127.0.0.1:28460"},
        {{"--join", "localhost:4000"}, nullptr, {}, "localhost:4000"},
        {{"--join"}, "missing address", {}, {}},
        {{"--join", ":4000"}, "--join takes", {}, {}},
        {{"--join", "a:b"}, "--join takes", {}, {}},
        {{"--host", "70000"}, "--host takes", {}, {}},
        {{"--host", "--join", "127.0.0.1"}, "go alone", {}, {}},
        {{"--replay", "x", "--join", "127.0.0.1"}, "without a network game", {}, {}},
    };
    auto text = [](const std::optional<Endpoint>& e) {
        return e ? std::optional<std::string>(e->Host + ":" + std::to_string(e->Port)) : std::nullopt;
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"brakkon"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.args.front());
        CommandLine line;
        const std::string error = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), line);
        if (c.error != nullptr) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            continue;
        }
        EXPECT_EQ(error, "");
        EXPECT_EQ(text(line.Host), c.host);
        EXPECT_EQ(text(line.Join), c.join);
    }
}

} // namespace
} // namespace brakkon
