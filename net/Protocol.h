// The messages two Brakkon programs exchange in a network game, their
// encoder, and the one decoder every received packet goes through.
//
// A message is a type byte and its fields, integers little-endian. The
// decoder takes nothing on trust: every length and count is bounded before
// anything is read or allocated for it, every value is checked against what
// it may be, a message must end exactly where its fields end, and only the
// side that may send a message (and only its own player's keys) is accepted.
// A refusal is one message; nothing from the network names a file.
//
//   Hello   magic "BRKN", protocol version u16, data file size u64 and checksum u64
//           (this layout stays in every version, so that any two versions can
//           tell each other apart)
//   Busy    the host already has its second player
//   Start   ticks u32 (EndlessGame for none), interval ms i32, the start as
//           replay text: u32 length and bytes (host only)
//   Inputs  ack u32 (slots of the receiver's inputs held), now u32 (the
//           sender's current slot), first slot u32, slot count u16, and per
//           slot: key count u8, then per key: press (1) or release (0) u8, key u16
//   Hash    slot u32, hash u64 of the confirmed state at the start of the slot
//   Bye     the sender has its end state and leaves
//   Desync  slot u32 whose hashes differed
//   Load    a saved game the host loads: its number u16 (from 0, in order,
//           below MaxLoads), u32 length and bytes (host only); the host's
//           keys then load it by number
#pragma once

#include "sim/Replay.h"
#include "net/SlotInput.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace brakkon {

constexpr std::uint32_t ProtocolMagic = 0x4e4b5242; ///< "BRKN" as its bytes read
constexpr std::uint16_t ProtocolVersion = 2; ///< 2: the host's new game, step and loads travel as codes
/// The game's port when none is given: unassigned in the IANA registry.
constexpr std::uint16_t DefaultPort = 28460;
/// The most slots one Inputs message carries; inputs not yet acknowledged
/// beyond them wait for the next message.
constexpr std::size_t MaxSlotsPerMessage = 64;
/// The longest start text: a header and one saved game in hex (real ones
/// are about 30 KB).
constexpr std::size_t MaxStartText = 256 * 1024;
/// Slot numbers stay below this.
constexpr std::uint32_t MaxSlot = 0x7fffffff;
/// Ticks of a game without an end (the window's).
constexpr std::uint32_t EndlessGame = 0xffffffff;
constexpr std::int32_t MaxInterval = 60000;

struct HelloMessage {
    std::uint16_t Version = ProtocolVersion;
    DataIdentity Data;
    friend bool operator==(const HelloMessage&, const HelloMessage&) = default;
};

struct BusyMessage {
    friend bool operator==(const BusyMessage&, const BusyMessage&) = default;
};

struct StartMessage {
    std::uint32_t Ticks = 0;     ///< slots the game runs, or EndlessGame
    std::int32_t Interval = 16;  ///< milliseconds per game tick: the clock ticks every 1000 of them
    std::string Replay;          ///< the start as a replay's text holds it
    friend bool operator==(const StartMessage&, const StartMessage&) = default;
};

struct InputsMessage {
    std::uint32_t Ack = 0;   ///< the receiver's slots that the sender holds, from 0
    std::uint32_t Now = 0;   ///< the slot the sender is about to run
    std::uint32_t First = 0; ///< slot of Slots[0]
    std::vector<SlotInput> Slots;
    friend bool operator==(const InputsMessage&, const InputsMessage&) = default;
};

struct HashMessage {
    std::uint32_t Slot = 0;
    std::uint64_t Hash = 0;
    friend bool operator==(const HashMessage&, const HashMessage&) = default;
};

struct ByeMessage {
    friend bool operator==(const ByeMessage&, const ByeMessage&) = default;
};

struct DesyncMessage {
    std::uint32_t Slot = 0;
    friend bool operator==(const DesyncMessage&, const DesyncMessage&) = default;
};

struct LoadMessage {
    std::uint16_t Index = 0;
    std::vector<std::uint8_t> Bytes;
    friend bool operator==(const LoadMessage&, const LoadMessage&) = default;
};

using Message = std::variant<HelloMessage, BusyMessage, StartMessage, InputsMessage, HashMessage, ByeMessage,
                             DesyncMessage, LoadMessage>;

/// The bytes of a message.
[[nodiscard]] std::vector<std::uint8_t> Encode(const Message& message);

/// A decoded message, or the one reason it was refused.
struct [[nodiscard]] Decoded {
    std::optional<Message> Value;
    std::string Error; ///< empty when Value holds the message
    explicit operator bool() const { return Value.has_value(); }
};

/// Reads one packet that `sender` sent.
[[nodiscard]] Decoded Decode(std::span<const std::uint8_t> bytes, Side sender);

} // namespace brakkon
