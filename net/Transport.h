// The link between the two programs: one ENet connection over UDP, with a
// reliable, ordered channel for the handshake and the game's control
// messages and an unreliable, sequenced one for the inputs (each of which
// repeats what was not yet acknowledged, so a lost one costs nothing).
//
// Service() is the only place that sends and receives; it waits at most the
// time it is given (0: not at all), so the window's event loop or a headless
// loop calls it and never blocks on the network. The host takes one player:
// a second connection is sent the host's refusal and let go. Addresses are
// IPv4, as ENet 1.3 speaks them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

/// A host name or IPv4 address (empty: every address of this machine) and a port.
struct Endpoint {
    std::string Host;
    std::uint16_t Port = 0;
};

/// "HOST", "HOST:PORT" or, with `portAlone`, "PORT"; nothing when malformed.
[[nodiscard]] std::optional<Endpoint> ParseEndpoint(std::string_view text, std::uint16_t defaultPort,
                                                    bool portAlone = false);
/// The IPv4 addresses of this machine's interfaces that are up, loopback last.
[[nodiscard]] std::vector<std::string> LocalAddresses();
/// The broadcast addresses of this machine's IPv4 interfaces that are up.
[[nodiscard]] std::vector<std::string> BroadcastAddresses();

/// ENet is set up for the process while any of its users holds it: each
/// successful EnetUp is matched by one EnetDown.
[[nodiscard]] bool EnetUp();
void EnetDown();

struct TransportEvent {
    enum class Kind { Connected, Received, Disconnected } What = Kind::Received;
    std::vector<std::uint8_t> Bytes; ///< a received packet
};

class Transport {
public:
    ~Transport();
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    /// Waits for a player on `bind` (port 0: one the system picks). Anyone
    /// who connects while a player is there is sent `busy` and let go.
    static std::unique_ptr<Transport> Listen(const Endpoint& bind, std::vector<std::uint8_t> busy, std::string& error);
    /// Connects to a host; the answer comes as a Connected or Disconnected event.
    static std::unique_ptr<Transport> Connect(const Endpoint& to, std::string& error);

    /// Sends what is queued and appends what arrived, waiting up to `waitMs`
    /// for the first event.
    void Service(std::uint32_t waitMs, std::vector<TransportEvent>& events);
    /// Queues a packet to the player (dropped when there is none).
    void Send(std::span<const std::uint8_t> bytes, bool reliable);
    /// Lets the player go once what is queued has been delivered.
    void Disconnect();
    [[nodiscard]] bool HasPeer() const { return peer_ != nullptr; }

    [[nodiscard]] std::uint16_t Port() const;
    /// The UDP socket, for an event loop to watch for packets.
    [[nodiscard]] int Socket() const;
    /// The round trip to the player as ENet measures it, in milliseconds.
    [[nodiscard]] std::uint32_t RoundTripMs() const;

private:
    struct HostHandle;
    Transport();
    /// ENet and a host of `peers` peers, bound to `bind` or to any port.
    static std::unique_ptr<Transport> Open(const Endpoint* bind, std::size_t peers, std::string& error);
    void Handle(void* event, std::vector<TransportEvent>& events);

    std::unique_ptr<HostHandle> host_;
    void* peer_ = nullptr; ///< the player's ENetPeer
    bool listening_ = false;
    std::vector<std::uint8_t> busy_;
};

} // namespace brakkon
