// Games found on the local network, over the loopback address only; the
// probing side's clock is driven by hand.
#include "net/Discovery.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

namespace brakkon {
namespace {

using namespace std::chrono_literals;

const DataIdentity Ours{123456, 0xfedcba9876543210ull};
const DataIdentity Theirs{123456, 0x0123456789abcdefull};

std::vector<std::uint8_t> Set(std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value)
{
    bytes.at(at) = value;
    return bytes;
}
std::vector<std::uint8_t> Resized(std::vector<std::uint8_t> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

const std::vector<std::uint8_t> Probe = EncodeDatagram(ProbeDatagram{});
const std::vector<std::uint8_t> Answer = EncodeDatagram(AnswerDatagram{ProtocolVersion, 28460, Ours, "den"});
// Offsets in an answer: magic 0, format 4, kind 6, version 7, port 9, size 11, checksum 19, name length 27, name 28.

TEST(DiscoveryDatagram, DamageIsRefusedWithAReason)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<std::uint8_t> longName = EncodeDatagram(AnswerDatagram{1, 1, Ours, std::string(MaxGameName + 1, 'x')});
    for (const Case& c : {Case{"empty", {}}, Case{"magic", Set(Probe, 3, 'N')}, Case{"format", Set(Probe, 4, 2)},
                          Case{"kind", Set(Probe, 6, 3)}, Case{"header cut", Resized(Probe, 6)},
                          Case{"probe short", Resized(Probe, ProbeSize - 1)}, Case{"probe long", Resized(Probe, ProbeSize + 1)},
                          Case{"probe stray byte", Set(Probe, ProbeSize - 1, 1)}, Case{"answer cut", Resized(Answer, 20)},
                          Case{"port 0", Set(Set(Answer, 9, 0), 10, 0)}, Case{"name longer than said", Set(Answer, 27, 2)},
                          Case{"name shorter than said", Set(Answer, 27, 4)}, Case{"name too long", longName},
                          Case{"control in name", Set(Answer, 29, '\n')}, Case{"high byte in name", Set(Answer, 28, 0xc3)},
                          Case{"delete in name", Set(Answer, 30, 0x7f)}}) {
        const DecodedDatagram decoded = DecodeDatagram(c.bytes);
        EXPECT_FALSE(decoded) << c.name;
        EXPECT_FALSE(decoded.Error.empty()) << c.name;
    }
    // No answer is larger than the probe that asks for it.
    EXPECT_EQ(Probe.size(), ProbeSize);
    EXPECT_GE(ProbeSize, EncodeDatagram(AnswerDatagram{1, 1, {}, std::string(MaxGameName, 'x')}).size());
}

TEST(DiscoveryDatagram, AnyNameIsMadeOneThatCanBeSent)
{
    EXPECT_EQ(GameName("den\tof\x01lions\xc3\xa9"), "den?of?lions??");
    EXPECT_EQ(GameName(std::string(200, 'a')), std::string(MaxGameName, 'a'));
    EXPECT_EQ(ThisMachineName(), GameName(ThisMachineName()));
}

TEST(DiscoveryProbe, TargetsMustBeAddressesAndPorts)
{
    std::string error;
    EXPECT_EQ(DiscoveryProbe::Open({{"example.org", DiscoveryPort}}, Ours, error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(DiscoveryProbe::Open({{"127.0.0.1", 0}}, Ours, error), nullptr);
    // Opening sends nothing: the machine's own broadcast targets are only read.
    EXPECT_NE(DiscoveryProbe::Open(DiscoveryProbe::BroadcastTargets(), Ours, error), nullptr) << error;
    EXPECT_EQ(DiscoveryAnswerer::Open({"127.0.0.1", 0}, AnswerDatagram{1, 0, Ours, "x"}, error), nullptr);
}

std::unique_ptr<DiscoveryAnswerer> Answering(const std::string& bind, const std::string& name, std::uint16_t gamePort,
                                             DataIdentity data)
{
    std::string error;
    auto a = DiscoveryAnswerer::Open({bind, 0}, AnswerDatagram{ProtocolVersion, gamePort, data, name}, error);
    EXPECT_NE(a, nullptr) << error;
    return a;
}

std::unique_ptr<DiscoveryProbe> Probing(std::vector<Endpoint> targets)
{
    std::string error;
    auto p = DiscoveryProbe::Open(std::move(targets), Ours, error);
    EXPECT_NE(p, nullptr) << error;
    return p;
}

/// Polls the answerers and the probe (at `now`) until `done`, for at most 10 s.
template <typename Done>
bool PollUntil(const std::vector<DiscoveryAnswerer*>& answerers, DiscoveryProbe& probe,
               DiscoveryClock::time_point now, Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        for (DiscoveryAnswerer* a : answerers) a->Poll();
        probe.Poll(now);
        if (done(probe.Games())) return true;
        std::this_thread::yield();
    }
    return false;
}

const DiscoveryClock::time_point T0 = DiscoveryClock::time_point{} + 100s;

TEST(DiscoveryOverLoopback, GamesAnswerWithNamePortAndWhetherTheirDataIsOurs)
{
    auto den = Answering("127.0.0.1", "den", 28460, Ours);
    auto attic = Answering("127.0.0.1", "attic\x1b[2J", 4000, Theirs);
    auto probe = Probing({{"127.0.0.1", den->Port()}, {"127.0.0.1", attic->Port()}});
    ASSERT_TRUE(PollUntil({den.get(), attic.get()}, *probe, T0, [](const auto& g) { return g.size() == 2; }));
    // By name; the name as it can be shown.
    const std::vector<FoundGame> expected{{"127.0.0.1", 4000, "attic?[2J", ProtocolVersion, Theirs, true, false, T0},
                                          {"127.0.0.1", 28460, "den", ProtocolVersion, Ours, true, true, T0}};
    EXPECT_TRUE(probe->Games() == expected);
}

TEST(DiscoveryOverLoopback, AProbeToTheLoopbacksBroadcastAddressIsAnswered)
{
    auto den = Answering("", "den", 28460, Ours);
    auto probe = Probing({{"127.255.255.255", den->Port()}});
    EXPECT_TRUE(PollUntil({den.get()}, *probe, T0, [](const auto& g) { return g.size() == 1 && g[0].Name == "den"; }));
}

/// A plain UDP socket of the test's own, sending to the loopback address.
struct RawSocket {
    int Fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    ~RawSocket() { ::close(Fd); }
    void Send(std::uint16_t port, const std::vector<std::uint8_t>& bytes) const
    {
        sockaddr_in to{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
        ::sendto(Fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
    /// The next datagram, waiting up to `ms` while `answerer` is polled; empty when none came.
    std::vector<std::uint8_t> Receive(DiscoveryAnswerer& answerer, int ms = 10000) const
    {
        std::vector<std::uint8_t> bytes(512);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (pollfd p{Fd, POLLIN, 0};;) {
            answerer.Poll();
            if (::poll(&p, 1, 0) == 1) break;
            if (std::chrono::steady_clock::now() >= deadline) return {};
        }
        bytes.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::recv(Fd, bytes.data(), bytes.size(), 0))));
        return bytes;
    }
};

TEST(DiscoveryOverLoopback, DamagedDatagramsAreDroppedAndTheNextProbeAnswered)
{
    auto den = Answering("127.0.0.1", "den", 28460, Ours);
    RawSocket raw;
    for (const auto& bad : {Set(Probe, 0, 'X'), Resized(Probe, 7), Answer, std::vector<std::uint8_t>(2000, 0)})
        raw.Send(den->Port(), bad);
    raw.Send(den->Port(), Probe);
    const std::vector<std::uint8_t> reply = raw.Receive(*den);
    const DecodedDatagram decoded = DecodeDatagram(reply);
    ASSERT_TRUE(decoded) << decoded.Error;
    EXPECT_EQ(*decoded.Value, Datagram(AnswerDatagram{ProtocolVersion, 28460, Ours, "den"}));
    // Only the good probes were answered: loopback keeps the order, so by
    // the second probe's answer any answer to a damaged one would be here.
    raw.Send(den->Port(), Probe);
    EXPECT_EQ(raw.Receive(*den), reply);
    EXPECT_TRUE(raw.Receive(*den, 0).empty());
}

TEST(DiscoveryOverLoopback, AGameIsKeptWhileItAnswersAndForgottenWhenItFallsSilent)
{
    auto den = Answering("127.0.0.1", "den", 28460, Ours);
    auto probe = Probing({{"127.0.0.1", den->Port()}});
    ASSERT_TRUE(PollUntil({den.get()}, *probe, T0, [](const auto& g) { return g.size() == 1; }));
    // The next probe goes out a second later, and its answer is heard then.
    const auto t1 = T0 + DiscoveryProbe::ProbeEvery;
    ASSERT_TRUE(PollUntil({den.get()}, *probe, t1, [&](const auto& g) { return g.size() == 1 && g[0].Heard == t1; }));
    den.reset();
    probe->Poll(t1 + DiscoveryProbe::ForgetAfter);
    EXPECT_EQ(probe->Games().size(), 1u);
    probe->Poll(t1 + DiscoveryProbe::ForgetAfter + 1ms);
    EXPECT_TRUE(probe->Games().empty());
}

} // namespace
} // namespace brakkon
