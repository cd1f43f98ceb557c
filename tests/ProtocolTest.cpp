// The messages of a network game: what is written reads back the same, and
// the decoder refuses damage, lies about lengths and the other player's keys.
#include "net/Protocol.h"
#include "net/Transport.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

SlotInput Keys(std::initializer_list<NetKey> keys)
{
    SlotInput input;
    for (const NetKey& k : keys) input.Add(k.Press, k.Key);
    return input;
}

struct RoundTrip {
    const char* name;
    Message message;
    Side sender;
};

class MessageRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(MessageRoundTrip, ReadsBackAsWritten)
{
    const std::vector<std::uint8_t> bytes = Encode(GetParam().message);
    const Decoded decoded = Decode(bytes, GetParam().sender);
    ASSERT_TRUE(decoded) << decoded.Error;
    EXPECT_EQ(*decoded.Value, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageRoundTrip,
    ::testing::Values(
        RoundTrip{"Hello", HelloMessage{ProtocolVersion, {123456, 0xfedcba9876543210ull}}, Side::Joiner},
        RoundTrip{"Busy", BusyMessage{}, Side::Host},
        RoundTrip{"Start", StartMessage{600, 16, "brakkon-replay 1\n"}, Side::Host},
        RoundTrip{"EndlessStart", StartMessage{EndlessGame, 100, ""}, Side::Host},
        RoundTrip{"Inputs", InputsMessage{7, 12, 5, {Keys({{true, VkLeft}, {false, VkSpace}}), {}, Keys({{true, VkF1}})}}, Side::Host},
        RoundTrip{"JoinerInputs", InputsMessage{0, 0, 0, {Keys({{true, VkLetter('F')}, {true, VkLetter('A')}, {false, VkEscape}})}}, Side::Joiner},
        RoundTrip{"FullSlots", InputsMessage{MaxSlot, MaxSlot, MaxSlot - 64, std::vector<SlotInput>(64, Keys({{true, VkUp}}))}, Side::Host},
        RoundTrip{"Hash", HashMessage{MaxSlot, ~0ull}, Side::Joiner},
        RoundTrip{"Bye", ByeMessage{}, Side::Joiner},
        RoundTrip{"Desync", DesyncMessage{120}, Side::Host},
        RoundTrip{"Load", LoadMessage{3, {1, 2, 3}}, Side::Host},
        RoundTrip{"HostsNewGameStepAndLoad", InputsMessage{0, 0, 0, {Keys({{true, NetNewGame}, {true, NetStep(4)}, {true, NetLoad(255)}})}}, Side::Host}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refusal {
    const char* name;
    std::vector<std::uint8_t> bytes;
    Side sender;
};

std::vector<std::uint8_t> Bytes(const Message& m) { return Encode(m); }
std::vector<std::uint8_t> With(std::vector<std::uint8_t> bytes, std::size_t at, std::uint8_t value)
{
    bytes.at(at) = value;
    return bytes;
}
std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t drop)
{
    bytes.resize(bytes.size() - drop);
    return bytes;
}
std::vector<std::uint8_t> Plus(std::vector<std::uint8_t> bytes, std::uint8_t extra)
{
    bytes.push_back(extra);
    return bytes;
}

const std::vector<std::uint8_t> HostInputs = Bytes(InputsMessage{0, 0, 0, {Keys({{true, VkLeft}})}});
// Offsets in an Inputs message: type 0, ack 1, now 5, first 9, count 13, slot key count 15, press 16, key 17.

class MessageRefused : public ::testing::TestWithParam<Refusal> {};

TEST_P(MessageRefused, WithAReason)
{
    const Decoded decoded = Decode(GetParam().bytes, GetParam().sender);
    EXPECT_FALSE(decoded);
    EXPECT_FALSE(decoded.Error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Damage, MessageRefused,
    ::testing::Values(
        Refusal{"Empty", {}, Side::Host},
        Refusal{"TypeZero", {0}, Side::Host},
        Refusal{"TypeUnknown", {9, 0, 0, 0, 0}, Side::Host},
        Refusal{"HelloNotOurs", With(Bytes(HelloMessage{}), 1, 'X'), Side::Host},
        Refusal{"HelloCutShort", Cut(Bytes(HelloMessage{}), 1), Side::Host},
        Refusal{"ByteAfterTheEnd", Plus(Bytes(ByeMessage{}), 0), Side::Host},
        Refusal{"BusyFromJoiner", Bytes(BusyMessage{}), Side::Joiner},
        Refusal{"StartFromJoiner", Bytes(StartMessage{10, 16, "x"}), Side::Joiner},
        Refusal{"StartIntervalZero", Bytes(StartMessage{10, 0, "x"}), Side::Host},
        Refusal{"StartTooLong", Bytes(StartMessage{MaxSlot + 1u, 16, "x"}), Side::Host},
        Refusal{"StartTextLongerThanSaid", Cut(Bytes(StartMessage{10, 16, "xyz"}), 1), Side::Host},
        Refusal{"StartTextHuge", Bytes(StartMessage{10, 16, std::string(MaxStartText + 1, 'x')}), Side::Host},
        Refusal{"InputsTooManySlots", With(HostInputs, 13, 65), Side::Host},
        Refusal{"InputsSlotsBeyondTheirCount", With(HostInputs, 13, 2), Side::Host},
        Refusal{"InputsAckOutOfRange", With(HostInputs, 4, 0x80), Side::Host},
        Refusal{"InputsFirstPlusCountOverflows", With(With(With(With(HostInputs, 9, 0xff), 10, 0xff), 11, 0xff), 12, 0x7f), Side::Host},
        Refusal{"SeventeenKeys", With(HostInputs, 15, 17), Side::Host},
        Refusal{"NeitherPressNorRelease", With(HostInputs, 16, 2), Side::Host},
        Refusal{"OtherPlayersKey", Bytes(InputsMessage{0, 0, 0, {Keys({{true, VkLetter('F')}})}}), Side::Host},
        Refusal{"HostKeyFromJoiner", HostInputs, Side::Joiner},
        Refusal{"MenuKey", Bytes(InputsMessage{0, 0, 0, {Keys({{true, VkReturn}})}}), Side::Host},
        Refusal{"HashSlotOutOfRange", With(Bytes(HashMessage{0, 0}), 4, 0x80), Side::Host},
        Refusal{"DesyncCutShort", Cut(Bytes(DesyncMessage{5}), 2), Side::Host},
        Refusal{"LoadFromJoiner", Bytes(LoadMessage{0, {1}}), Side::Joiner},
        Refusal{"LoadNumberTooHigh", Bytes(LoadMessage{MaxLoads, {1}}), Side::Host},
        Refusal{"LoadLongerThanSaid", Cut(Bytes(LoadMessage{0, {1, 2, 3}}), 1), Side::Host},
        Refusal{"NewGameFromJoiner", Bytes(InputsMessage{0, 0, 0, {Keys({{true, NetNewGame}})}}), Side::Joiner},
        Refusal{"StepOfThree", Bytes(InputsMessage{0, 0, 0, {Keys({{true, NetStep(3)}})}}), Side::Host}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Endpoint, HostsAndPortsAsTheCommandLineGivesThem)
{
    struct Case {
        const char* text;
        bool portAlone;
        const char* host; ///< nullptr: refused
        std::uint16_t port;
    };
    for (const Case& c : {Case{"example.org", false, "example.org", DefaultPort}, Case{"10.0.0.2:4000", false, "10.0.0.2", 4000},
                          Case{"28461", true, "", 28461}, Case{"127.0.0.1:0", true, "127.0.0.1", 0},
                          Case{"host:", false, nullptr, 0}, Case{":4000", false, nullptr, 0},
                          Case{"host:65536", false, nullptr, 0}, Case{"host:-1", false, nullptr, 0},
                          Case{"a b:1", false, nullptr, 0}, Case{"", false, nullptr, 0}, Case{"port", true, nullptr, 0}}) {
        const auto e = ParseEndpoint(c.text, DefaultPort, c.portAlone);
        ASSERT_EQ(e.has_value(), c.host != nullptr) << c.text;
        if (!e) continue;
        EXPECT_EQ(e->Host, c.host) << c.text;
        EXPECT_EQ(e->Port, c.port) << c.text;
    }
}

} // namespace
} // namespace brakkon
