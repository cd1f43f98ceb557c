#include "net/Transport.h"

#include "content/TextSource.h"

#include <enet/enet.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace brakkon {
namespace {

constexpr std::size_t Channels = 2;
constexpr enet_uint8 ControlChannel = 0;
constexpr enet_uint8 InputChannel = 1;
/// ENet gives a peer up after this long without an answer (it counts its
/// own resends): longer than the session's silence, which speaks first.
constexpr enet_uint32 TimeoutMinimumMs = 5000;
constexpr enet_uint32 TimeoutMaximumMs = 10000;
/// Events handled in one Service: a flood cannot keep the caller there.
constexpr int MaxEventsPerService = 256;

bool Resolve(const Endpoint& endpoint, ENetAddress& address, std::string& error)
{
    address.host = ENET_HOST_ANY;
    address.port = endpoint.Port;
    if (endpoint.Host.empty()) return true;
    if (enet_address_set_host(&address, endpoint.Host.c_str()) != 0) {
        error = "cannot find the address of " + endpoint.Host;
        return false;
    }
    return true;
}

/// Calls `take` with each IPv4 interface that is up and its address as text.
template <typename Take>
void ForEachInterface(Take take)
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return;
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_UP) == 0) continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr) take(*a, std::string(text));
    }
    ::freeifaddrs(list);
}

/// ENet is set up once for the process, while any of its users lives.
int enetUsers = 0;

} // namespace

bool EnetUp()
{
    if (enetUsers == 0 && enet_initialize() != 0) return false;
    ++enetUsers;
    return true;
}

void EnetDown()
{
    if (--enetUsers == 0) enet_deinitialize();
}

struct Transport::HostHandle {
    ENetHost* Host = nullptr;
    ~HostHandle()
    {
        if (Host != nullptr) enet_host_destroy(Host);
        EnetDown();
    }
};

std::optional<Endpoint> ParseEndpoint(std::string_view text, std::uint16_t defaultPort, bool portAlone)
{
    Endpoint e;
    e.Port = defaultPort;
    const std::size_t colon = text.rfind(':');
    std::string_view host = text;
    std::string_view port;
    if (colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    } else if (portAlone) {
        host = {};
        port = text;
    }
    if (!port.empty() || colon != std::string_view::npos) {
        std::uint16_t value = 0;
        if (!ParseInt(port, value)) return std::nullopt;
        e.Port = value;
    }
    if (host.find_first_of(" \t:") != std::string_view::npos || (host.empty() && !portAlone)) return std::nullopt;
    e.Host = host;
    return e;
}

std::vector<std::string> LocalAddresses()
{
    std::vector<std::string> found;
    std::vector<std::string> loopback;
    ForEachInterface([&](const ifaddrs&, std::string text) {
        (text.rfind("127.", 0) == 0 ? loopback : found).push_back(std::move(text));
    });
    found.insert(found.end(), loopback.begin(), loopback.end());
    return found;
}

std::vector<std::string> BroadcastAddresses()
{
    std::vector<std::string> found;
    ForEachInterface([&](const ifaddrs& a, const std::string&) {
        if ((a.ifa_flags & IFF_BROADCAST) == 0 || a.ifa_broadaddr == nullptr || a.ifa_broadaddr->sa_family != AF_INET)
            return;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a.ifa_broadaddr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr &&
            std::find(found.begin(), found.end(), text) == found.end())
            found.emplace_back(text);
    });
    return found;
}

Transport::Transport() = default;

Transport::~Transport()
{
    if (peer_ != nullptr) enet_peer_disconnect_now(static_cast<ENetPeer*>(peer_), 0);
}

std::unique_ptr<Transport> Transport::Open(const Endpoint* bind, std::size_t peers, std::string& error)
{
    if (!EnetUp()) {
        error = "the network library could not start";
        return nullptr;
    }
    std::unique_ptr<Transport> t(new Transport());
    t->host_ = std::make_unique<HostHandle>();
    ENetAddress address{};
    if (bind != nullptr && !Resolve(*bind, address, error)) return nullptr;
    t->host_->Host = enet_host_create(bind != nullptr ? &address : nullptr, peers, Channels, 0, 0);
    if (t->host_->Host == nullptr) {
        error = bind != nullptr ? "cannot listen on port " + std::to_string(bind->Port) + " (is it in use?)"
                                : "cannot open a network socket";
        return nullptr;
    }
    return t;
}

std::unique_ptr<Transport> Transport::Listen(const Endpoint& bind, std::vector<std::uint8_t> busy, std::string& error)
{
    // Room for the player and one more, who is told the game is full.
    auto t = Open(&bind, 2, error);
    if (t == nullptr) return nullptr;
    t->listening_ = true;
    t->busy_ = std::move(busy);
    return t;
}

std::unique_ptr<Transport> Transport::Connect(const Endpoint& to, std::string& error)
{
    ENetAddress address{};
    if (to.Host.empty()) error = "no host to connect to";
    if (to.Host.empty() || !Resolve(to, address, error)) return nullptr;
    auto t = Open(nullptr, 1, error);
    if (t == nullptr) return nullptr;
    ENetPeer* peer = enet_host_connect(t->host_->Host, &address, Channels, 0);
    if (peer == nullptr) {
        error = "cannot connect to " + to.Host;
        return nullptr;
    }
    enet_peer_timeout(peer, 0, TimeoutMinimumMs, TimeoutMaximumMs);
    t->peer_ = peer;
    return t;
}

void Transport::Service(std::uint32_t waitMs, std::vector<TransportEvent>& events)
{
    ENetEvent event;
    int got = enet_host_service(host_->Host, &event, waitMs);
    for (int handled = 0; got > 0 && handled < MaxEventsPerService; ++handled) {
        Handle(&event, events);
        got = enet_host_service(host_->Host, &event, 0);
    }
    if (got > 0) Handle(&event, events);
}

void Transport::Handle(void* raw, std::vector<TransportEvent>& events)
{
    ENetEvent& event = *static_cast<ENetEvent*>(raw);
    ENetPeer* player = static_cast<ENetPeer*>(peer_);
    switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
        if (listening_ && player == nullptr) {
            peer_ = event.peer;
            enet_peer_timeout(event.peer, 0, TimeoutMinimumMs, TimeoutMaximumMs);
            events.push_back({TransportEvent::Kind::Connected, {}});
        } else if (listening_) {
            // A second player: told politely, then let go.
            ENetPacket* no = enet_packet_create(busy_.data(), busy_.size(), ENET_PACKET_FLAG_RELIABLE);
            if (no != nullptr && enet_peer_send(event.peer, ControlChannel, no) != 0) enet_packet_destroy(no);
            enet_peer_disconnect_later(event.peer, 0);
        } else if (event.peer == player) {
            events.push_back({TransportEvent::Kind::Connected, {}});
        }
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        if (event.peer == player)
            events.push_back({TransportEvent::Kind::Received, {event.packet->data, event.packet->data + event.packet->dataLength}});
        enet_packet_destroy(event.packet);
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer == player) {
            peer_ = nullptr;
            events.push_back({TransportEvent::Kind::Disconnected, {}});
        }
        break;
    case ENET_EVENT_TYPE_NONE: break;
    }
}

void Transport::Send(std::span<const std::uint8_t> bytes, bool reliable)
{
    if (peer_ == nullptr) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
    if (packet == nullptr) return;
    if (enet_peer_send(static_cast<ENetPeer*>(peer_), reliable ? ControlChannel : InputChannel, packet) != 0)
        enet_packet_destroy(packet);
    enet_host_flush(host_->Host);
}

void Transport::Disconnect()
{
    if (peer_ != nullptr) enet_peer_disconnect_later(static_cast<ENetPeer*>(peer_), 0);
}

std::uint16_t Transport::Port() const { return host_->Host->address.port; }

std::uint32_t Transport::RoundTripMs() const
{
    return peer_ != nullptr ? static_cast<ENetPeer*>(peer_)->roundTripTime : 0;
}

int Transport::Socket() const { return static_cast<int>(host_->Host->socket); }

} // namespace brakkon
