// brakkon-sim --host and --join as two processes on the loopback address:
// both print the local game's end state, directly and through the lossy
// relay; a different data file is refused on both sides; a peer killed in
// the middle of the game ends it on the other side.
#include "tests/ChildProcess.h"
#include "tests/NetSupport.h"
#include "tests/RunTool.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"
#include "tests/UdpRelay.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
constexpr std::int64_t Ticks = 600;

class NetProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(test::WriteSimGameData(data_));
        test::WriteScript(dir_ / "host.keys", test::RandomScript(Side::Host, Ticks, 31));
        test::WriteScript(dir_ / "join.keys", test::RandomScript(Side::Joiner, Ticks, 32, true));
    }

    std::vector<std::string> HostArgs(std::int64_t ticks, const std::string& pace) const
    {
        return {"--data", data_.string(),  "--gate", "0",    "--players", "2",    "--seed", "5",
                "--ticks", std::to_string(ticks), "--keys", (dir_ / "host.keys").string(),
                "--host",  "127.0.0.1:0",  "--pace", pace,   "--json"};
    }
    std::vector<std::string> JoinArgs(std::uint16_t port, const std::string& pace, const fs::path& data) const
    {
        return {"--data", data.string(), "--keys", (dir_ / "join.keys").string(),
                "--join", "127.0.0.1:" + std::to_string(port), "--pace", pace, "--json"};
    }
    /// The port the host announced.
    static std::uint16_t PortOf(test::ChildProcess& host)
    {
        if (!host.WaitForError("\n", 20s)) return 0;
        const std::size_t at = host.Err().find("port ");
        return at == std::string::npos ? 0 : static_cast<std::uint16_t>(std::stoi(host.Err().substr(at + 5)));
    }
    std::string Local() const
    {
        const test::ToolRun run = test::RunTool(
            BRAKKON_SIM_TOOL, {"--data", data_.string(), "--gate", "0", "--players", "2", "--seed", "5", "--ticks",
                               std::to_string(Ticks), "--keys", (dir_ / "host.keys").string(), "--keys",
                               (dir_ / "join.keys").string(), "--json"});
        return run.ExitCode == 0 ? run.Out : "failed: " + run.Err;
    }
    void ExpectBothPrintTheLocalGame(bool throughRelay)
    {
        test::ChildProcess host(BRAKKON_SIM_TOOL, HostArgs(Ticks, "0"));
        const std::uint16_t port = PortOf(host);
        ASSERT_NE(port, 0) << host.Err();
        std::optional<test::UdpRelay> relay;
        if (throughRelay) relay.emplace(port, test::UdpRelay::Options{40, 10, 5, 7});
        test::ChildProcess join(BRAKKON_SIM_TOOL, JoinArgs(relay ? relay->Port() : port, "0", data_));
        EXPECT_EQ(join.Wait(60s), std::optional<int>(0)) << join.Err();
        EXPECT_EQ(host.Wait(60s), std::optional<int>(0)) << host.Err();
        const std::string local = Local();
        EXPECT_TRUE(test::SameJson(host.Out(), local));
        EXPECT_TRUE(test::SameJson(join.Out(), local));
        if (relay) {
            EXPECT_GT(relay->Dropped(), 0);
        }
    }

    const test::TempFolder dir_{"brakkon-netproc"};
    const fs::path data_ = dir_ / "Game.dat";
};

TEST_F(NetProcessTest, HostAndJoinerPrintTheLocalGame) { ExpectBothPrintTheLocalGame(false); }

TEST_F(NetProcessTest, ThroughALossyLateLinkTheyPrintTheLocalGame) { ExpectBothPrintTheLocalGame(true); }

TEST_F(NetProcessTest, ADifferentDataFileIsRefusedOnBothSidesNamingBoth)
{
    GameType other = test::SimGameData();
    other.Gates.pop_back();
    const fs::path otherData = dir_ / "Other.dat";
    ASSERT_TRUE(SaveGameDataFile(otherData, other));
    test::ChildProcess host(BRAKKON_SIM_TOOL, HostArgs(Ticks, "0"));
    const std::uint16_t port = PortOf(host);
    ASSERT_NE(port, 0) << host.Err();
    test::ChildProcess join(BRAKKON_SIM_TOOL, JoinArgs(port, "0", otherData));
    EXPECT_EQ(join.Wait(60s), std::optional<int>(1));
    EXPECT_EQ(host.Wait(60s), std::optional<int>(1));
    const std::string hostSize = std::to_string(fs::file_size(data_)) + " bytes";
    const std::string joinSize = std::to_string(fs::file_size(otherData)) + " bytes";
    for (const test::ChildProcess* side : {&host, &join}) {
        EXPECT_NE(side->Err().find("The two games differ"), std::string::npos) << side->Err();
        EXPECT_NE(side->Err().find(hostSize), std::string::npos) << side->Err();
        EXPECT_NE(side->Err().find(joinSize), std::string::npos) << side->Err();
        EXPECT_TRUE(side->Out().empty());
    }
}

TEST_F(NetProcessTest, APeerKilledInTheGameEndsItOnTheOtherSide)
{
    test::ChildProcess host(BRAKKON_SIM_TOOL, HostArgs(1000000, "16"));
    const std::uint16_t port = PortOf(host);
    ASSERT_NE(port, 0) << host.Err();
    test::ChildProcess join(BRAKKON_SIM_TOOL, JoinArgs(port, "16", data_));
    ASSERT_TRUE(join.WaitForError("the game begins", 20s)) << join.Err();
    ASSERT_TRUE(host.WaitForError("the game begins", 20s)) << host.Err();
    join.Kill();
    EXPECT_EQ(host.Wait(60s), std::optional<int>(1)) << host.Err();
    EXPECT_NE(host.Err().find("Nothing came from the other player"), std::string::npos) << host.Err();
}

} // namespace
} // namespace brakkon
