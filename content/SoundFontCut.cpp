#include "content/SoundFont.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace brakkon {
namespace {

constexpr std::uint16_t NotKept = 0xFFFF;

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    Put16(out, at, value & 0xFFFF);
    Put16(out, at + 2, value >> 16);
}
void Append(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

/// Appends a chunk header whose size is filled in by EndChunk.
std::size_t BeginChunk(std::vector<std::uint8_t>& out, const char* id, const char* listType = nullptr)
{
    Append(out, {reinterpret_cast<const std::uint8_t*>(id), 4});
    const std::size_t at = out.size();
    out.resize(out.size() + 4);
    if (listType != nullptr) Append(out, {reinterpret_cast<const std::uint8_t*>(listType), 4});
    return at;
}
void EndChunk(std::vector<std::uint8_t>& out, std::size_t sizeAt)
{
    Put32(out, sizeAt, static_cast<std::uint32_t>(out.size() - sizeAt - 4));
}

/// One table of the cut: records copied from the original, then patched.
struct Table {
    std::vector<std::uint8_t> Bytes;
    std::size_t RecordSize;
    std::span<const std::uint8_t> From;

    [[nodiscard]] std::size_t Count() const { return Bytes.size() / RecordSize; }
    /// Copies record `index` of the original; returns where it now starts.
    std::size_t Copy(std::size_t index)
    {
        const std::size_t at = Bytes.size();
        Append(Bytes, From.subspan(index * RecordSize, RecordSize));
        return at;
    }
    /// A closing record: zeros, named when `name` is given.
    std::size_t Close(const char* name = nullptr)
    {
        const std::size_t at = Bytes.size();
        Bytes.resize(at + RecordSize);
        if (name != nullptr) std::memcpy(Bytes.data() + at, name, std::strlen(name));
        return at;
    }
};

/// Owners (presets or instruments) with the zones, generators and
/// modulators they own, kept ones copied with their indices renumbered.
struct OwnerTables {
    Table Owners, Zones, Mods, Gens;
};

template <typename Owner>
void CopyOwners(const std::vector<Owner>& owners, const std::vector<std::uint8_t>& kept, const std::vector<SoundFontZone>& zones,
                const std::vector<SoundFontGen>& gens, std::uint16_t indexOper, const std::vector<std::uint16_t>& newIndex,
                std::size_t zoneField, const char* closing, OwnerTables& t)
{
    const std::size_t realOwners = owners.size() - 1;
    for (std::size_t o = 0; o < realOwners; ++o) {
        if (!kept[o]) continue;
        Put16(t.Owners.Bytes, t.Owners.Copy(o) + zoneField, static_cast<std::uint32_t>(t.Zones.Count()));
        for (std::size_t z = owners[o].FirstZone; z < owners[o + 1].FirstZone; ++z) {
            const std::size_t zoneAt = t.Zones.Copy(z);
            Put16(t.Zones.Bytes, zoneAt, static_cast<std::uint32_t>(t.Gens.Count()));
            Put16(t.Zones.Bytes, zoneAt + 2, static_cast<std::uint32_t>(t.Mods.Count()));
            for (std::size_t g = zones[z].FirstGen; g < zones[z + 1].FirstGen; ++g) {
                const std::size_t genAt = t.Gens.Copy(g);
                if (gens[g].Oper == indexOper) Put16(t.Gens.Bytes, genAt + 2, newIndex[gens[g].Amount]);
            }
            for (std::size_t m = zones[z].FirstMod; m < zones[z + 1].FirstMod; ++m) t.Mods.Copy(m);
        }
    }
    Put16(t.Owners.Bytes, t.Owners.Close(closing) + zoneField, static_cast<std::uint32_t>(t.Zones.Count()));
    const std::size_t closeZone = t.Zones.Close();
    Put16(t.Zones.Bytes, closeZone, static_cast<std::uint32_t>(t.Gens.Count()));
    Put16(t.Zones.Bytes, closeZone + 2, static_cast<std::uint32_t>(t.Mods.Count()));
    t.Gens.Close();
    t.Mods.Close();
}

/// Marks what the kept owners' zones name through `indexOper`.
template <typename Owner>
void MarkUsed(const std::vector<Owner>& owners, const std::vector<std::uint8_t>& kept, const std::vector<SoundFontZone>& zones,
              const std::vector<SoundFontGen>& gens, std::uint16_t indexOper, std::vector<std::uint8_t>& used)
{
    for (std::size_t o = 0; o + 1 < owners.size(); ++o) {
        if (!kept[o]) continue;
        for (std::size_t z = owners[o].FirstZone; z < owners[o + 1].FirstZone; ++z)
            for (std::size_t g = zones[z].FirstGen; g < zones[z + 1].FirstGen; ++g)
                if (gens[g].Oper == indexOper) used[gens[g].Amount] = 1;
    }
}

/// New indices of the kept entries, NotKept for the others.
std::vector<std::uint16_t> Renumber(const std::vector<std::uint8_t>& kept)
{
    std::vector<std::uint16_t> index(kept.size(), NotKept);
    std::uint16_t next = 0;
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (kept[i]) index[i] = next++;
    return index;
}

OwnerTables TablesOf(const SoundFontTables& f, SoundFontTable owners)
{
    const auto table = [&](int t) { return Table{{}, RecordSizes[t], f.Records[t]}; };
    return {table(owners), table(owners + 1), table(owners + 2), table(owners + 3)};
}

} // namespace

SoundFontCut CutSoundFont(std::span<const std::uint8_t> bytes, const std::bitset<128>& programs)
{
    const SoundFontRead read = ReadSoundFont(bytes);
    if (!read) return {{}, 0, 0, 0, MsgSoundFontRefused};
    const SoundFontTables& f = read.Font;

    std::vector<std::uint8_t> presets(f.Presets.size() - 1);
    for (std::size_t p = 0; p < presets.size(); ++p)
        presets[p] = f.Presets[p].Program == 0 || (f.Presets[p].Program < 128 && programs.test(f.Presets[p].Program));
    std::vector<std::uint8_t> instruments(f.Instruments.size() - 1);
    MarkUsed(f.Presets, presets, f.PresetZones, f.PresetGens, GenInstrument, instruments);
    const std::size_t realSamples = f.Samples.size() - 1;
    std::vector<std::uint8_t> samples(realSamples);
    MarkUsed(f.Instruments, instruments, f.InstrumentZones, f.InstrumentGens, GenSampleId, samples);
    const auto linked = [&](std::size_t s) { return (f.Samples[s].Type & (SampleRight | SampleLeft | SampleLinked)) != 0; };
    for (bool more = true; more;) { // the partners of kept stereo samples, and theirs
        more = false;
        for (std::size_t s = 0; s < realSamples; ++s)
            if (samples[s] && linked(s) && !samples[f.Samples[s].Link]) {
                samples[f.Samples[s].Link] = 1;
                more = true;
            }
    }

    // Each kept sample's points run on to the next sample's start (or the
    // data's end); samples that start at one point share one copy.
    std::vector<std::uint32_t> starts;
    for (std::size_t s = 0; s < realSamples; ++s) starts.push_back(f.Samples[s].Start);
    std::sort(starts.begin(), starts.end());
    std::map<std::uint32_t, std::uint32_t> regionEnd; // by start
    for (std::size_t s = 0; s < realSamples; ++s) {
        if (!samples[s]) continue;
        const auto next = std::upper_bound(starts.begin(), starts.end(), f.Samples[s].Start);
        const std::uint32_t end = next != starts.end() ? *next : static_cast<std::uint32_t>(f.PointCount());
        std::uint32_t& kept = regionEnd[f.Samples[s].Start];
        kept = std::max({kept, end, f.Samples[s].End});
    }
    for (std::size_t s = 0; s < realSamples; ++s) { // a kept loop lies within what is copied
        const SoundFontSample& sample = f.Samples[s];
        if (samples[s] && (sample.LoopStart < sample.Start || sample.LoopEnd < sample.LoopStart || sample.LoopEnd > regionEnd[sample.Start]))
            return {{}, 0, 0, 0, MsgSoundFontRefused};
    }

    // Written in place: the cut's one large buffer, made once.
    SoundFontCut cut;
    std::vector<std::uint8_t>& out = cut.Bytes;
    std::size_t size = f.Info.size() + 64;
    for (const auto& [start, end] : regionEnd) size += std::size_t{end - start} * 2;
    for (const std::span<const std::uint8_t> table : f.Records) size += table.size();
    out.reserve(size);
    const std::size_t riff = BeginChunk(out, "RIFF", "sfbk");
    Append(out, f.Info);
    if (f.Info.size() % 2 != 0) out.push_back(0);
    const std::size_t sdta = BeginChunk(out, "LIST", "sdta");
    const std::size_t smpl = BeginChunk(out, "smpl");
    std::map<std::uint32_t, std::uint32_t> moved; // old start to new start
    for (const auto& [start, end] : regionEnd) {
        moved[start] = static_cast<std::uint32_t>((out.size() - smpl - 4) / 2);
        Append(out, f.Points.subspan(std::size_t{start} * 2, std::size_t{end - start} * 2));
    }
    EndChunk(out, smpl);
    EndChunk(out, sdta);

    const std::vector<std::uint16_t> sampleIndex = Renumber(samples);
    Table headers{{}, RecordSizes[Shdr], f.Records[Shdr]};
    for (std::size_t s = 0; s < realSamples; ++s) {
        if (!samples[s]) continue;
        const SoundFontSample& sample = f.Samples[s];
        const std::size_t at = headers.Copy(s);
        const auto move = [&](std::uint32_t point) { return moved[sample.Start] + (point - sample.Start); };
        Put32(headers.Bytes, at + 20, move(sample.Start));
        Put32(headers.Bytes, at + 24, move(sample.End));
        Put32(headers.Bytes, at + 28, move(sample.LoopStart));
        Put32(headers.Bytes, at + 32, move(sample.LoopEnd));
        Put16(headers.Bytes, at + 42, linked(s) ? sampleIndex[sample.Link] : 0);
    }
    headers.Close("EOS");

    OwnerTables presetTables = TablesOf(f, Phdr);
    OwnerTables instrumentTables = TablesOf(f, Inst);
    CopyOwners(f.Presets, presets, f.PresetZones, f.PresetGens, GenInstrument, Renumber(instruments), 24, "EOP", presetTables);
    CopyOwners(f.Instruments, instruments, f.InstrumentZones, f.InstrumentGens, GenSampleId, sampleIndex, 20, "EOI", instrumentTables);

    const std::size_t pdta = BeginChunk(out, "LIST", "pdta");
    const Table* tables[9] = {&presetTables.Owners,     &presetTables.Zones,     &presetTables.Mods,     &presetTables.Gens, &instrumentTables.Owners,
                              &instrumentTables.Zones, &instrumentTables.Mods, &instrumentTables.Gens, &headers};
    for (int t = 0; t < 9; ++t) {
        const std::size_t chunk = BeginChunk(out, TableIds[t]);
        Append(out, tables[t]->Bytes);
        EndChunk(out, chunk);
    }
    EndChunk(out, pdta);
    EndChunk(out, riff);
    cut.Presets = static_cast<int>(presetTables.Owners.Count() - 1);
    cut.Instruments = static_cast<int>(instrumentTables.Owners.Count() - 1);
    cut.Samples = static_cast<int>(sampleIndex.size() - static_cast<std::size_t>(std::count(sampleIndex.begin(), sampleIndex.end(), NotKept)));
    return cut;
}

} // namespace brakkon
