#include "content/SoundFont.h"

#include <cstring>
#include <optional>

namespace brakkon {
namespace {

/// Thrown inside the reader on any damage; never leaves it.
struct Refused {};

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) { return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16; }

bool IdIs(std::span<const std::uint8_t> b, std::size_t at, const char* id) { return std::memcmp(b.data() + at, id, 4) == 0; }

/// A record's name: up to 20 bytes, cut at the first zero.
std::string Name(std::span<const std::uint8_t> record)
{
    std::size_t length = 0;
    while (length < 20 && record[length] != 0) ++length;
    return {reinterpret_cast<const char*>(record.data()), length};
}

struct Chunk {
    std::span<const std::uint8_t> Whole; ///< header and body
    std::span<const std::uint8_t> Body;
};

/// The chunks one after the other in `area` (a chunk of odd size is padded).
std::vector<Chunk> Chunks(std::span<const std::uint8_t> area)
{
    std::vector<Chunk> chunks;
    std::size_t at = 0;
    while (at < area.size()) {
        if (area.size() - at < 8) throw Refused{};
        const std::size_t size = U32(area, at + 4);
        if (size > area.size() - at - 8) throw Refused{};
        chunks.push_back({area.subspan(at, size + 8), area.subspan(at + 8, size)});
        at += 8 + size + (size & 1);
    }
    return chunks;
}

/// The body of the list of `type` among `chunks` (its four-byte type left out).
std::optional<Chunk> List(const std::vector<Chunk>& chunks, const char* type)
{
    for (const Chunk& chunk : chunks)
        if (IdIs(chunk.Whole, 0, "LIST") && chunk.Body.size() >= 4 && IdIs(chunk.Body, 0, type))
            return Chunk{chunk.Whole, chunk.Body.subspan(4)};
    return std::nullopt;
}

std::vector<SoundFontZone> Zones(std::span<const std::uint8_t> records, std::size_t gens, std::size_t mods)
{
    std::vector<SoundFontZone> zones;
    for (std::size_t at = 0; at < records.size(); at += 4) {
        const SoundFontZone zone{U16(records, at), U16(records, at + 2)};
        // Each zone's generators and modulators follow the previous zone's;
        // the closing zone ends them, before the closing generator and modulator.
        if (!zones.empty() && (zone.FirstGen < zones.back().FirstGen || zone.FirstMod < zones.back().FirstMod)) throw Refused{};
        if (zone.FirstGen >= gens || zone.FirstMod >= mods) throw Refused{};
        zones.push_back(zone);
    }
    return zones;
}

std::vector<SoundFontGen> Gens(std::span<const std::uint8_t> records, std::uint16_t indexOper, std::size_t targets)
{
    std::vector<SoundFontGen> gens;
    for (std::size_t at = 0; at < records.size(); at += 4) {
        const SoundFontGen gen{U16(records, at), U16(records, at + 2)};
        // Not the closing generator: an instrument or sample must be a real one.
        if (at + 4 < records.size() && gen.Oper == indexOper && gen.Amount + 1u >= targets) throw Refused{};
        gens.push_back(gen);
    }
    return gens;
}

/// Checks that the owners' first zones run on within the zones.
template <typename Owner>
void CheckOwners(const std::vector<Owner>& owners, std::size_t zones)
{
    for (std::size_t i = 0; i < owners.size(); ++i) {
        if (owners[i].FirstZone >= zones) throw Refused{};
        if (i > 0 && owners[i].FirstZone < owners[i - 1].FirstZone) throw Refused{};
    }
}

void ReadTables(const Chunk& pdta, SoundFontTables& font)
{
    const std::vector<Chunk> chunks = Chunks(pdta.Body);
    for (int t = 0; t < 9; ++t) {
        bool found = false;
        for (const Chunk& chunk : chunks) {
            if (!IdIs(chunk.Whole, 0, TableIds[t])) continue;
            if (found || chunk.Body.size() % RecordSizes[t] != 0 || chunk.Body.empty()) throw Refused{};
            font.Records[t] = chunk.Body;
            found = true;
        }
        if (!found) throw Refused{};
    }
    const auto count = [&](SoundFontTable t) { return font.Records[t].size() / RecordSizes[t]; };
    for (std::size_t i = 0; i < count(Phdr); ++i) {
        const std::span<const std::uint8_t> r = font.Records[Phdr].subspan(i * RecordSizes[Phdr], RecordSizes[Phdr]);
        font.Presets.push_back({Name(r), U16(r, 20), U16(r, 22), U16(r, 24)});
    }
    for (std::size_t i = 0; i < count(Inst); ++i) {
        const std::span<const std::uint8_t> r = font.Records[Inst].subspan(i * RecordSizes[Inst], RecordSizes[Inst]);
        font.Instruments.push_back({Name(r), U16(r, 20)});
    }
    for (std::size_t i = 0; i < count(Shdr); ++i) {
        const std::span<const std::uint8_t> r = font.Records[Shdr].subspan(i * RecordSizes[Shdr], RecordSizes[Shdr]);
        font.Samples.push_back({Name(r), U32(r, 20), U32(r, 24), U32(r, 28), U32(r, 32), U16(r, 42), U16(r, 44)});
    }
    font.PresetZones = Zones(font.Records[Pbag], count(Pgen), count(Pmod));
    font.InstrumentZones = Zones(font.Records[Ibag], count(Igen), count(Imod));
    font.PresetGens = Gens(font.Records[Pgen], GenInstrument, count(Inst));
    font.InstrumentGens = Gens(font.Records[Igen], GenSampleId, count(Shdr));
    CheckOwners(font.Presets, font.PresetZones.size());
    CheckOwners(font.Instruments, font.InstrumentZones.size());

    const std::size_t samples = font.Samples.size() - 1; // the last is "EOS"
    for (std::size_t i = 0; i < samples; ++i) {
        const SoundFontSample& s = font.Samples[i];
        if (s.Type & SampleRom) throw Refused{};
        if (s.Start > s.End || s.End > font.PointCount()) throw Refused{};
        const bool linked = s.Type & (SampleRight | SampleLeft | SampleLinked);
        if (linked && s.Link >= samples) throw Refused{};
    }
}

} // namespace

SoundFontRead ReadSoundFont(std::span<const std::uint8_t> bytes)
{
    try {
        if (bytes.size() < 12 || !IdIs(bytes, 0, "RIFF") || !IdIs(bytes, 8, "sfbk")) throw Refused{};
        const std::size_t riffSize = U32(bytes, 4);
        if (riffSize < 4 || riffSize > bytes.size() - 8) throw Refused{};
        const std::vector<Chunk> top = Chunks(bytes.subspan(12, riffSize - 4));
        const std::optional<Chunk> info = List(top, "INFO");
        const std::optional<Chunk> sdta = List(top, "sdta");
        const std::optional<Chunk> pdta = List(top, "pdta");
        if (!info || !sdta || !pdta) throw Refused{};

        SoundFontTables font;
        font.Info = info->Whole;
        bool points = false;
        for (const Chunk& chunk : Chunks(sdta->Body)) {
            if (IdIs(chunk.Whole, 0, "sm24")) throw Refused{}; // 24-bit samples are not cut
            if (!IdIs(chunk.Whole, 0, "smpl")) continue;
            if (points || chunk.Body.size() % 2 != 0) throw Refused{};
            font.Points = chunk.Body;
            points = true;
        }
        if (!points) throw Refused{};
        ReadTables(*pdta, font);
        return {std::move(font), {}};
    } catch (const Refused&) {
        return {{}, MsgSoundFontRefused};
    }
}

} // namespace brakkon
