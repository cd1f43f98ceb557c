// The Standard MIDI File writer.
#include "content/Midi.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string_view>

namespace brakkon::audio {
namespace {

constexpr std::uint8_t NoteOff = 0x80;
constexpr std::uint8_t NoteOn = 0x90;
constexpr std::uint8_t ControlChange = 0xB0;
constexpr std::uint8_t ProgramChange = 0xC0;
constexpr std::uint8_t ChannelVolume = 7;
constexpr std::uint8_t AllSoundOff = 120;
constexpr std::uint8_t ReleaseVelocity = 64;
constexpr std::uint8_t Meta = 0xFF;
constexpr std::uint8_t MetaTrackName = 0x03;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;
constexpr std::uint8_t MetaTempo = 0x51;
constexpr std::uint8_t MetaTimeSignature = 0x58;

/// One event of a track before the delta times are worked out.
struct TimedEvent {
    std::uint32_t Tick = 0;            ///< absolute time
    int Order = 0;                     ///< at the same tick: 0 releases, 1 strikes, 2 the closing silence
    std::vector<std::uint8_t> Bytes;   ///< status and data
};

void PutBe16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void PutTag(std::vector<std::uint8_t>& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

std::vector<std::uint8_t> MetaEvent(std::uint8_t type, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> bytes{Meta, type};
    AppendVarLen(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<std::uint8_t> TextBytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A track chunk: events in time order (stable, so that events at one tick
// keep the order they were added in within their group), then end-of-track.
void AppendTrack(std::vector<std::uint8_t>& out, std::vector<TimedEvent> events, std::uint32_t end)
{
    std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.Tick != b.Tick ? a.Tick < b.Tick : a.Order < b.Order;
    });
    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const TimedEvent& e : events) {
        AppendVarLen(body, e.Tick - now);
        now = e.Tick;
        body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
    }
    AppendVarLen(body, std::max(end, now) - now);
    body.insert(body.end(), {Meta, MetaEndOfTrack, 0});
    PutTag(out, "MTrk");
    PutBe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

std::vector<TimedEvent> TempoTrack(const Score& score)
{
    std::vector<TimedEvent> events;
    if (!score.Title.empty()) events.push_back({0, 0, MetaEvent(MetaTrackName, TextBytes(score.Title))});
    const auto beatPower = static_cast<std::uint8_t>(std::countr_zero(score.MeterBottom));
    // 24 MIDI clocks to a metronome click, 8 thirty-seconds to a quarter.
    events.push_back({0, 0, MetaEvent(MetaTimeSignature, {static_cast<std::uint8_t>(score.MeterTop), beatPower, 24, 8})});
    const std::uint32_t us = MicrosecondsPerQuarter(score.Tempo);
    events.push_back({0, 0, MetaEvent(MetaTempo, {static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                                                  static_cast<std::uint8_t>(us)})});
    return events;
}

// A data byte of a channel message holds seven bits.
std::uint8_t Data(std::uint8_t value)
{
    return value & 0x7F;
}

std::vector<TimedEvent> NoteTrack(const ScoreTrack& track, std::uint32_t end)
{
    std::vector<TimedEvent> events;
    const std::uint8_t ch = track.Channel & 0x0F;
    events.push_back({0, 0, MetaEvent(MetaTrackName, TextBytes(track.Name))});
    if (track.Program) events.push_back({0, 0, {static_cast<std::uint8_t>(ProgramChange | ch), Data(*track.Program)}});
    if (track.Volume)
        events.push_back({0, 0, {static_cast<std::uint8_t>(ControlChange | ch), ChannelVolume, Data(*track.Volume)}});
    for (const ScoreNote& n : track.Notes) {
        events.push_back({n.Start, 1, {static_cast<std::uint8_t>(NoteOn | ch), Data(n.Pitch), Data(n.Velocity)}});
        events.push_back({n.Start + n.Length, 0, {static_cast<std::uint8_t>(NoteOff | ch), Data(n.Pitch), ReleaseVelocity}});
    }
    // Silences what still rings (cymbals, release tails) when the score ends:
    // a player that waits for silence before it reports the end then stops on
    // time, and the loop starts again without a long quiet gap.
    events.push_back({end, 2, {static_cast<std::uint8_t>(ControlChange | ch), AllSoundOff, 0}});
    return events;
}

} // namespace

void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    if (value > MaxScoreTicks) throw std::out_of_range("value too large for a MIDI variable-length quantity");
    std::uint8_t groups[4];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

std::uint32_t MicrosecondsPerQuarter(std::uint32_t tempo)
{
    // The tempo event holds 24 bits: no slower than 4 quarters a minute.
    if (tempo < 4) throw std::invalid_argument("tempo too slow for a MIDI file");
    return (60000000u + tempo / 2) / tempo;
}

std::vector<std::uint8_t> EncodeMidi(const Score& score)
{
    if (score.Tracks.size() > MaxScoreTracks) throw std::invalid_argument("too many tracks");
    std::vector<std::uint8_t> out;
    PutTag(out, "MThd");
    PutBe32(out, 6);
    PutBe16(out, 1);
    PutBe16(out, static_cast<std::uint16_t>(score.Tracks.size() + 1));
    PutBe16(out, static_cast<std::uint16_t>(TicksPerQuarter));
    const std::uint32_t end = score.End();
    AppendTrack(out, TempoTrack(score), end);
    for (const ScoreTrack& track : score.Tracks) AppendTrack(out, NoteTrack(track, end), end);
    return out;
}

} // namespace brakkon::audio
