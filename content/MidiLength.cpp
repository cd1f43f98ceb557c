#include "content/MidiLength.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace brakkon {
namespace {

constexpr std::uint8_t Meta = 0xFF;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;
constexpr std::uint8_t MetaTempo = 0x51;
constexpr std::uint8_t SysEx = 0xF0;
constexpr std::uint8_t SysExContinued = 0xF7;
constexpr std::uint32_t DefaultTempo = 500000; ///< microseconds per quarter note: 120 a minute
constexpr std::size_t MaxVarLenBytes = 4;

/// Thrown inside the reader on any damage; never leaves it.
struct Damaged {};

/// A bounded cursor over big-endian bytes.
class Cursor {
public:
    Cursor(std::span<const std::uint8_t> bytes, std::size_t pos, std::size_t end) : bytes_(bytes), pos_(pos), end_(end) {}

    [[nodiscard]] bool AtEnd() const { return pos_ >= end_; }
    [[nodiscard]] std::size_t Position() const { return pos_; }

    std::uint8_t Peek() const
    {
        if (pos_ >= end_) throw Damaged{};
        return bytes_[pos_];
    }
    std::uint8_t Byte()
    {
        const std::uint8_t b = Peek();
        ++pos_;
        return b;
    }
    std::uint32_t Be(int count)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < count; ++i) v = (v << 8) | Byte();
        return v;
    }
    std::uint32_t VarLen()
    {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < MaxVarLenBytes; ++i) {
            const std::uint8_t b = Byte();
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) return v;
        }
        throw Damaged{};
    }
    void Skip(std::size_t count)
    {
        if (count > end_ - pos_) throw Damaged{};
        pos_ += count;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
    std::size_t end_;
};

struct TempoChange {
    std::uint64_t Tick;
    std::uint32_t MicrosPerQuarter;
};

/// What a walk over a file's tracks collects.
struct Tracks {
    std::vector<TempoChange> Tempos;
    std::uint64_t End = 0;   ///< the latest end of track
    MidiProgramSet Programs; ///< every program a program change selects
    bool BadProgram = false; ///< a program change's number is no data byte
    std::uint32_t Division = 0;
};

/// Walks one track's events; returns the tick of its end and collects its
/// tempo changes and programs.
std::uint64_t ReadTrack(Cursor track, Tracks& found)
{
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    while (!track.AtEnd()) {
        tick += track.VarLen();
        std::uint8_t status = track.Peek();
        if (status & 0x80) {
            track.Byte();
        } else if (running != 0) {
            status = running; // running status: the byte is the first data byte
        } else {
            throw Damaged{};
        }
        if (status == Meta) {
            running = 0;
            const std::uint8_t type = track.Byte();
            const std::uint32_t length = track.VarLen();
            if (type == MetaEndOfTrack) return tick;
            if (type == MetaTempo && length >= 3) {
                Cursor tempo = track;
                found.Tempos.push_back({tick, tempo.Be(3)});
            }
            track.Skip(length);
        } else if (status == SysEx || status == SysExContinued) {
            running = 0;
            track.Skip(track.VarLen());
        } else if (status >= 0xF0) {
            throw Damaged{}; // real-time and common messages do not belong in a file
        } else {
            running = status;
            const std::uint8_t kind = status & 0xF0;
            if (kind == 0xC0) {
                // A number of 128 or more is skipped as it always was for
                // the length; the programs are not known then.
                const std::uint8_t program = track.Peek();
                if (program & 0x80)
                    found.BadProgram = true;
                else
                    found.Programs.set(program);
            }
            track.Skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        }
    }
    return tick; // a track without its end marker ends with its last event
}

/// Seconds from tick 0 to `end` under the tempo changes (sorted by tick).
double TicksToSeconds(std::uint64_t end, const std::vector<TempoChange>& tempos, double secondsPerQuarterTick)
{
    double seconds = 0;
    std::uint64_t at = 0;
    double tempo = DefaultTempo;
    for (const TempoChange& change : tempos) {
        if (change.Tick >= end) break;
        seconds += static_cast<double>(change.Tick - at) * tempo * secondsPerQuarterTick;
        at = change.Tick;
        tempo = change.MicrosPerQuarter;
    }
    return seconds + static_cast<double>(end - at) * tempo * secondsPerQuarterTick;
}

/// Every track of a format 0 or 1 file; throws Damaged.
Tracks ReadTracks(std::span<const std::uint8_t> bytes)
{
    Cursor file(bytes, 0, bytes.size());
    if (file.Be(4) != 0x4D546864) throw Damaged{}; // "MThd"
    const std::uint32_t headerLength = file.Be(4);
    if (headerLength < 6) throw Damaged{};
    const std::uint32_t format = file.Be(2);
    file.Be(2); // the track count; the chunks themselves are counted
    Tracks found;
    found.Division = file.Be(2);
    file.Skip(headerLength - 6);
    if (format > 1 || found.Division == 0) throw Damaged{};

    int tracks = 0;
    while (!file.AtEnd()) {
        const std::uint32_t id = file.Be(4);
        const std::uint32_t length = file.Be(4);
        const std::size_t start = file.Position();
        file.Skip(length);
        if (id != 0x4D54726B) continue; // not "MTrk": an unknown chunk is passed over
        found.End = std::max(found.End, ReadTrack(Cursor(bytes, start, start + length), found));
        ++tracks;
    }
    if (tracks == 0) throw Damaged{};
    return found;
}

} // namespace

MidiLength ReadMidiLength(std::span<const std::uint8_t> bytes)
{
    try {
        Tracks found = ReadTracks(bytes);
        std::stable_sort(found.Tempos.begin(), found.Tempos.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
        const std::uint32_t division = found.Division;
        if (division & 0x8000) {
            // Time code: frames a second (29 stands for 29.97) times ticks a frame.
            const int frames = -static_cast<std::int8_t>(division >> 8);
            const std::uint32_t ticksPerFrame = division & 0xFF;
            if (frames <= 0 || ticksPerFrame == 0) throw Damaged{};
            const double rate = (frames == 29 ? 29.97 : frames) * ticksPerFrame;
            return {static_cast<double>(found.End) / rate, {}};
        }
        return {TicksToSeconds(found.End, found.Tempos, 1e-6 / division), {}};
    } catch (const Damaged&) {
        return {0, MsgMidiDamaged};
    }
}

MidiPrograms ReadMidiPrograms(std::span<const std::uint8_t> bytes)
{
    try {
        const Tracks found = ReadTracks(bytes);
        if (found.BadProgram) throw Damaged{};
        return {found.Programs, {}};
    } catch (const Damaged&) {
        return {{}, MsgMidiDamaged};
    }
}

} // namespace brakkon
