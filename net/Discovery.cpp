#include "net/Discovery.h"

#include "net/Bytes.h"

#include <enet/enet.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <tuple>

namespace brakkon {
namespace {

enum class Kind : std::uint8_t { Probe = 1, Answer = 2 };

/// Datagrams read in one Poll: a flood cannot keep the caller there.
constexpr int MaxDatagramsPerPoll = 64;
/// Larger than any good datagram; a larger one arrives cut and is dropped.
constexpr std::size_t ReceiveSize = 256;

DecodedDatagram Refused(std::string why) { return {std::nullopt, std::move(why)}; }

bool Printable(char c) { return c >= 0x20 && c <= 0x7e; }

void PutHeader(ByteWriter& w, Kind kind)
{
    w.Put(DiscoveryMagic);
    w.Put(DiscoveryFormat);
    w.Put(static_cast<std::uint8_t>(kind));
}

DecodedDatagram DecodeAnswer(ByteReader& r)
{
    AnswerDatagram a;
    std::uint8_t length = 0;
    if (!r.Get(a.Version) || !r.Get(a.GamePort) || !r.Get(a.Data.Size) || !r.Get(a.Data.Checksum) || !r.Get(length))
        return Refused("an answer cut short");
    if (a.GamePort == 0) return Refused("a game on port 0");
    if (length > MaxGameName) return Refused("a name too long");
    if (length != r.Left()) return Refused("a name of the wrong size");
    if (!r.GetText(length, a.Name)) return Refused("an answer cut short");
    if (!std::all_of(a.Name.begin(), a.Name.end(), Printable)) return Refused("a name that cannot be shown");
    return {std::move(a), {}};
}

/// A non-blocking datagram socket bound to `bind`; -1 and `error` when not.
int OpenSocket(const Endpoint& bind, bool broadcast, std::string& error)
{
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = bind.Port;
    if (!bind.Host.empty() && enet_address_set_host_ip(&address, bind.Host.c_str()) != 0) {
        error = "not an IPv4 address: " + bind.Host;
        return -1;
    }
    if (!EnetUp()) {
        error = "the network library could not start";
        return -1;
    }
    const ENetSocket s = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    if (s == ENET_SOCKET_NULL) {
        error = "cannot open a network socket";
        EnetDown();
        return -1;
    }
    if (enet_socket_set_option(s, ENET_SOCKOPT_NONBLOCK, 1) != 0 ||
        (broadcast && enet_socket_set_option(s, ENET_SOCKOPT_BROADCAST, 1) != 0) ||
        enet_socket_bind(s, &address) != 0) {
        error = "cannot listen on port " + std::to_string(bind.Port) + " (is it in use?)";
        enet_socket_destroy(s);
        EnetDown();
        return -1;
    }
    return s;
}

void CloseSocket(int s)
{
    if (s == -1) return;
    enet_socket_destroy(s);
    EnetDown();
}

/// Calls `take` with each good datagram that came and its sender, reading
/// no more than MaxDatagramsPerPoll; anything damaged or too large is dropped.
template <typename Take>
void ReceiveEach(int s, Take take)
{
    std::array<std::uint8_t, ReceiveSize> bytes{};
    for (int i = 0; i < MaxDatagramsPerPoll; ++i) {
        ENetAddress from{};
        ENetBuffer buffer{bytes.data(), bytes.size()};
        const int size = enet_socket_receive(s, &from, &buffer, 1);
        if (size == 0) return;
        if (size < 0) continue;
        if (DecodedDatagram d = DecodeDatagram({bytes.data(), static_cast<std::size_t>(size)}))
            take(std::move(*d.Value), from);
    }
}

void SendTo(int s, const ENetAddress& to, const std::vector<std::uint8_t>& bytes)
{
    ENetBuffer buffer{const_cast<std::uint8_t*>(bytes.data()), bytes.size()};
    // A target that cannot be reached now is tried again with the next probe.
    (void)enet_socket_send(s, &to, &buffer, 1);
}

std::uint16_t BoundPort(int s)
{
    ENetAddress address{};
    return enet_socket_get_address(s, &address) == 0 ? address.port : 0;
}

} // namespace

std::vector<std::uint8_t> EncodeDatagram(const Datagram& datagram)
{
    ByteWriter w;
    if (std::holds_alternative<ProbeDatagram>(datagram)) {
        PutHeader(w, Kind::Probe);
        std::vector<std::uint8_t> bytes = w.Take();
        bytes.resize(ProbeSize, 0);
        return bytes;
    }
    const auto& a = std::get<AnswerDatagram>(datagram);
    PutHeader(w, Kind::Answer);
    w.Put(a.Version);
    w.Put(a.GamePort);
    w.Put(a.Data.Size);
    w.Put(a.Data.Checksum);
    w.Put(static_cast<std::uint8_t>(a.Name.size()));
    w.PutBytes(a.Name);
    return w.Take();
}

DecodedDatagram DecodeDatagram(std::span<const std::uint8_t> bytes)
{
    ByteReader r(bytes);
    std::uint32_t magic = 0;
    std::uint16_t format = 0;
    std::uint8_t kind = 0;
    if (!r.Get(magic) || magic != DiscoveryMagic) return Refused("not a Brakkon discovery datagram");
    if (!r.Get(format) || !r.Get(kind)) return Refused("a datagram cut short");
    if (format != DiscoveryFormat) return Refused("a discovery datagram of another format");
    if (kind == static_cast<std::uint8_t>(Kind::Answer)) return DecodeAnswer(r);
    if (kind != static_cast<std::uint8_t>(Kind::Probe)) return Refused("an unknown datagram");
    if (bytes.size() != ProbeSize) return Refused("a probe of the wrong size");
    if (std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() - r.Left()), bytes.end(),
                    [](std::uint8_t b) { return b != 0; }))
        return Refused("a probe with stray bytes");
    return {ProbeDatagram{}, {}};
}

std::string GameName(std::string_view name)
{
    std::string out(name.substr(0, MaxGameName));
    std::replace_if(out.begin(), out.end(), [](char c) { return !Printable(c); }, '?');
    return out;
}

std::string ThisMachineName()
{
    std::array<char, HOST_NAME_MAX + 1> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0 || name[0] == '\0') return "Brakkon";
    return GameName(name.data());
}

DiscoveryAnswerer::~DiscoveryAnswerer() { CloseSocket(socket_); }

std::unique_ptr<DiscoveryAnswerer> DiscoveryAnswerer::Open(const Endpoint& bind, AnswerDatagram answer,
                                                           std::string& error)
{
    if (answer.GamePort == 0) {
        error = "no game port to tell";
        return nullptr;
    }
    const int s = OpenSocket(bind, false, error);
    if (s == -1) return nullptr;
    std::unique_ptr<DiscoveryAnswerer> a(new DiscoveryAnswerer());
    a->socket_ = s;
    answer.Name = GameName(answer.Name);
    a->answer_ = EncodeDatagram(answer);
    return a;
}

void DiscoveryAnswerer::Poll()
{
    ReceiveEach(socket_, [&](const Datagram& d, const ENetAddress& from) {
        if (std::holds_alternative<ProbeDatagram>(d)) SendTo(socket_, from, answer_);
    });
}

std::uint16_t DiscoveryAnswerer::Port() const { return BoundPort(socket_); }

int DiscoveryAnswerer::Socket() const { return socket_; }

DiscoveryProbe::~DiscoveryProbe() { CloseSocket(socket_); }

std::vector<Endpoint> DiscoveryProbe::BroadcastTargets(std::uint16_t port)
{
    std::vector<Endpoint> targets{{"255.255.255.255", port}};
    for (std::string& address : BroadcastAddresses())
        if (address != targets.front().Host) targets.push_back({std::move(address), port});
    return targets;
}

std::unique_ptr<DiscoveryProbe> DiscoveryProbe::Open(std::vector<Endpoint> targets, DataIdentity ours,
                                                     std::string& error)
{
    std::unique_ptr<DiscoveryProbe> p(new DiscoveryProbe());
    for (const Endpoint& target : targets) {
        ENetAddress address{};
        if (target.Port == 0 || enet_address_set_host_ip(&address, target.Host.c_str()) != 0) {
            error = "cannot probe " + target.Host + ":" + std::to_string(target.Port);
            return nullptr;
        }
        p->targets_.emplace_back(address.host, target.Port);
    }
    p->socket_ = OpenSocket({}, true, error);
    if (p->socket_ == -1) return nullptr;
    p->ours_ = ours;
    return p;
}

void DiscoveryProbe::Poll(DiscoveryClock::time_point now)
{
    if (!lastProbe_ || now - *lastProbe_ >= ProbeEvery) {
        lastProbe_ = now;
        const std::vector<std::uint8_t> probe = EncodeDatagram(ProbeDatagram{});
        for (const auto& [host, port] : targets_) SendTo(socket_, ENetAddress{host, port}, probe);
    }
    ReceiveEach(socket_, [&](const Datagram& d, const ENetAddress& from) {
        std::array<char, 16> address{};
        if (std::holds_alternative<AnswerDatagram>(d) &&
            enet_address_get_host_ip(&from, address.data(), address.size()) == 0)
            Take(std::get<AnswerDatagram>(d), address.data(), now);
    });
    std::erase_if(games_, [&](const FoundGame& g) { return now - g.Heard > ForgetAfter; });
}

void DiscoveryProbe::Take(const AnswerDatagram& answer, std::string address, DiscoveryClock::time_point now)
{
    const auto same = [&](const FoundGame& g) { return g.Address == address && g.Port == answer.GamePort; };
    auto found = std::find_if(games_.begin(), games_.end(), same);
    if (found == games_.end()) {
        if (games_.size() >= MaxGames) return;
        found = games_.insert(games_.end(), FoundGame{});
        found->Address = std::move(address);
        found->Port = answer.GamePort;
    }
    found->Name = answer.Name;
    found->Version = answer.Version;
    found->Data = answer.Data;
    found->SameVersion = answer.Version == ProtocolVersion;
    found->SameData = answer.Data == ours_;
    found->Heard = now;
    std::sort(games_.begin(), games_.end(), [](const FoundGame& a, const FoundGame& b) {
        return std::tie(a.Name, a.Address, a.Port) < std::tie(b.Name, b.Address, b.Port);
    });
}

int DiscoveryProbe::Socket() const { return socket_; }

} // namespace brakkon
