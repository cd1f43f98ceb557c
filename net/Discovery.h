// Games found on the local network. A host waiting for its player answers
// the probes a joining side broadcasts on the discovery port with what the
// joiner needs to pick it: the game's port, the host's name, the protocol
// version and the data file's identity.
//
// Both datagrams start with magic "BRKD" and the discovery format u16, then
// a kind byte:
//   Probe   kind 1, zero bytes up to ProbeSize in all (a probe is never
//           smaller than the answer it asks for, so a forged sender address
//           gets no more bytes than were sent in its name)
//   Answer  kind 2, protocol version u16, game port u16, data file size u64
//           and checksum u64, name length u8 and that many printable ASCII bytes
// Neither side ever blocks: the caller polls from its event loop (the
// socket can be watched for reading) and passes the time in, so the probing
// and forgetting follow the caller's clock.
#pragma once

#include "net/Protocol.h"
#include "net/Transport.h"
#include "sim/Replay.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace brakkon {

/// Beside the game's port, and like it unassigned in the IANA registry.
constexpr std::uint16_t DiscoveryPort = 28461;
constexpr std::uint32_t DiscoveryMagic = 0x444b5242; ///< "BRKD" as its bytes read
constexpr std::uint16_t DiscoveryFormat = 1;
constexpr std::size_t ProbeSize = 96;
constexpr std::size_t MaxGameName = 63;

struct ProbeDatagram {
    friend bool operator==(const ProbeDatagram&, const ProbeDatagram&) = default;
};

struct AnswerDatagram {
    std::uint16_t Version = ProtocolVersion;
    std::uint16_t GamePort = DefaultPort;
    DataIdentity Data;
    std::string Name; ///< at most MaxGameName printable ASCII characters
    friend bool operator==(const AnswerDatagram&, const AnswerDatagram&) = default;
};

using Datagram = std::variant<ProbeDatagram, AnswerDatagram>;

[[nodiscard]] std::vector<std::uint8_t> EncodeDatagram(const Datagram& datagram);

struct [[nodiscard]] DecodedDatagram {
    std::optional<Datagram> Value;
    std::string Error; ///< why it was refused; empty when Value holds it
    explicit operator bool() const { return Value.has_value(); }
};

[[nodiscard]] DecodedDatagram DecodeDatagram(std::span<const std::uint8_t> bytes);

/// `name` as a game's name: printable ASCII only (anything else becomes a
/// question mark) and no longer than MaxGameName.
[[nodiscard]] std::string GameName(std::string_view name);
/// This machine's name as a game's name ("Brakkon" when it has none).
[[nodiscard]] std::string ThisMachineName();

using DiscoveryClock = std::chrono::steady_clock;

/// The host's side: answers every good probe on its port with `answer`.
class DiscoveryAnswerer {
public:
    ~DiscoveryAnswerer();
    DiscoveryAnswerer(const DiscoveryAnswerer&) = delete;
    DiscoveryAnswerer& operator=(const DiscoveryAnswerer&) = delete;

    /// Listens on `bind` (port 0: one the system picks); the name in the
    /// answer is made a game's name. A second host on one machine finds
    /// the port taken: it is then not listed, but can still be joined.
    static std::unique_ptr<DiscoveryAnswerer> Open(const Endpoint& bind, AnswerDatagram answer, std::string& error);

    /// Reads what came and answers each probe; anything else is dropped.
    /// Called when the socket can be read (or from a timer).
    void Poll();
    [[nodiscard]] std::uint16_t Port() const;
    /// The socket, to watch for reading.
    [[nodiscard]] int Socket() const;

private:
    DiscoveryAnswerer() = default;
    int socket_ = -1;
    std::vector<std::uint8_t> answer_;
};

/// A game that answered.
struct FoundGame {
    std::string Address;  ///< IPv4 address the answer came from
    std::uint16_t Port = 0; ///< the game's port there
    std::string Name;
    std::uint16_t Version = 0;
    DataIdentity Data;
    bool SameVersion = false; ///< speaks our protocol version
    bool SameData = false;    ///< plays our data file
    DiscoveryClock::time_point Heard; ///< when it last answered
    friend bool operator==(const FoundGame&, const FoundGame&) = default;
};

/// The joining side: probes `targets` every ProbeEvery and keeps the games
/// that answered, forgetting one not heard for ForgetAfter.
class DiscoveryProbe {
public:
    static constexpr auto ProbeEvery = std::chrono::seconds(1);
    static constexpr auto ForgetAfter = std::chrono::milliseconds(3500);
    /// More games than a local network has; answers beyond them are dropped.
    static constexpr std::size_t MaxGames = 64;

    ~DiscoveryProbe();
    DiscoveryProbe(const DiscoveryProbe&) = delete;
    DiscoveryProbe& operator=(const DiscoveryProbe&) = delete;

    /// The everyone address and each interface's broadcast address, on `port`.
    [[nodiscard]] static std::vector<Endpoint> BroadcastTargets(std::uint16_t port = DiscoveryPort);
    /// Probes `targets` (IPv4 addresses as text) for games; `ours` tells
    /// which play our data file.
    static std::unique_ptr<DiscoveryProbe> Open(std::vector<Endpoint> targets, DataIdentity ours, std::string& error);

    /// Sends a probe when one is due, reads the answers that came and
    /// forgets the games gone silent. Called when the socket can be read
    /// and from a timer of well under ProbeEvery (answers alone do not
    /// make the next probe go out).
    void Poll(DiscoveryClock::time_point now);
    void Poll() { Poll(DiscoveryClock::now()); }
    /// The games heard, by name and then address.
    [[nodiscard]] std::vector<FoundGame> Games() const { return games_; }
    [[nodiscard]] int Socket() const;

private:
    DiscoveryProbe() = default;
    void Take(const AnswerDatagram& answer, std::string address, DiscoveryClock::time_point now);

    int socket_ = -1;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> targets_; ///< host in network order, port
    DataIdentity ours_;
    std::optional<DiscoveryClock::time_point> lastProbe_;
    std::vector<FoundGame> games_;
};

} // namespace brakkon
