// The sound font cut to a piece of music's programs: a small font built
// here is cut and read back with the same reader; what is kept, how it is
// renumbered and the points each kept sample brings along. Damaged and
// unusual fonts are refused.
#include "content/SoundFont.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace brakkon {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Le(Bytes& out, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Name(Bytes& out, const std::string& name)
{
    out.insert(out.end(), name.begin(), name.end());
    out.resize(out.size() + 20 - name.size());
}
Bytes Chunk(const char* id, const Bytes& body, const char* listType = nullptr)
{
    Bytes out(id, id + 4);
    Le(out, static_cast<std::uint32_t>(body.size() + (listType != nullptr ? 4 : 0)), 4);
    if (listType != nullptr) out.insert(out.end(), listType, listType + 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}
Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

/// A zone: its generators (the instrument or sample last) and how many modulators.
struct Zone {
    std::vector<SoundFontGen> gens;
    int mods = 0;
};
struct Owner {
    std::string name;
    std::uint16_t bank, program; // presets only
    std::vector<Zone> zones;
};

/// A small font: presets over instruments over samples, each sample with
/// guard points after it.
struct Font {
    std::vector<Owner> presets = {
        {"Organ", 0, 19, {{{{GenInstrument, 0}}}}},
        {"Piano", 0, 0, {{{{17, 100}}, 1}, {{{GenInstrument, 1}}}}}, // a global zone first
        {"Strings", 0, 48, {{{{GenInstrument, 2}}}}},
        {"Kit", 128, 0, {{{{GenInstrument, 3}}}}},
    };
    std::vector<Owner> instruments = {
        {"OrganI", 0, 0, {{{{GenSampleId, 0}}, 1}}},
        {"PianoI", 0, 0, {{{{43, 0x7F00}, {GenSampleId, 1}}, 1}}},
        {"StereoI", 0, 0, {{{{GenSampleId, 3}}}}}, // its right half only through the link
        {"DrumI", 0, 0, {{{{GenSampleId, 4}}}, {{{GenSampleId, 4}}}}},
    };
    std::vector<SoundFontSample> samples = {
        {"Org", 0, 10, 2, 8, 0, 1},  {"Pia", 14, 20, 15, 19, 0, 1}, {"StR", 24, 30, 24, 30, 3, SampleRight},
        {"StL", 34, 40, 34, 40, 2, SampleLeft}, {"Drm", 44, 50, 44, 50, 0, 1},
    };
    std::size_t points = 56;
    bool sm24 = false;
    std::map<std::string, std::size_t> shortBy; ///< bytes cut off a table

    [[nodiscard]] Bytes Build() const;
};

Bytes OwnerTables(const std::vector<Owner>& owners, bool presets, Bytes& bags, Bytes& mods, Bytes& gens)
{
    Bytes heads;
    int bag = 0, gen = 0, mod = 0;
    const auto head = [&](const std::string& name, std::uint16_t bank, std::uint16_t program) {
        Name(heads, name);
        if (presets) {
            Le(heads, program, 2);
            Le(heads, bank, 2);
        }
        Le(heads, static_cast<std::uint32_t>(bag), 2);
        if (presets) heads.resize(heads.size() + 12);
    };
    for (const Owner& o : owners) {
        head(o.name, o.bank, o.program);
        for (const Zone& z : o.zones) {
            Le(bags, static_cast<std::uint32_t>(gen), 2);
            Le(bags, static_cast<std::uint32_t>(mod), 2);
            for (const SoundFontGen& g : z.gens) {
                Le(gens, g.Oper, 2);
                Le(gens, g.Amount, 2);
                ++gen;
            }
            for (int m = 0; m < z.mods; ++m, ++mod) {
                Le(mods, 0x0502, 2);
                Le(mods, 48, 2);
                Le(mods, static_cast<std::uint32_t>(960 + mod), 2); // told apart by their amounts
                mods.resize(mods.size() + 4);
            }
            ++bag;
        }
    }
    head(presets ? "EOP" : "EOI", 0, 0);
    Le(bags, static_cast<std::uint32_t>(gen), 2);
    Le(bags, static_cast<std::uint32_t>(mod), 2);
    gens.resize(gens.size() + 4);
    mods.resize(mods.size() + 10);
    return heads;
}

Bytes Font::Build() const
{
    Bytes tables[9];
    tables[Phdr] = OwnerTables(presets, true, tables[Pbag], tables[Pmod], tables[Pgen]);
    tables[Inst] = OwnerTables(instruments, false, tables[Ibag], tables[Imod], tables[Igen]);
    for (const SoundFontSample& s : samples) {
        Name(tables[Shdr], s.Name);
        for (const std::uint32_t v : {s.Start, s.End, s.LoopStart, s.LoopEnd, 22050u}) Le(tables[Shdr], v, 4);
        Le(tables[Shdr], 60, 2);
        Le(tables[Shdr], s.Link, 2);
        Le(tables[Shdr], s.Type, 2);
    }
    Name(tables[Shdr], "EOS");
    tables[Shdr].resize(tables[Shdr].size() + 26);
    Bytes pdta;
    for (int t = 0; t < 9; ++t) {
        const auto cut = shortBy.find(TableIds[t]);
        if (cut != shortBy.end()) tables[t].resize(tables[t].size() - cut->second);
        pdta = Join({pdta, Chunk(TableIds[t], tables[t])});
    }
    Bytes data;
    for (std::size_t p = 0; p < points; ++p) Le(data, static_cast<std::uint32_t>(1000 + p), 2); // each point its own value
    Bytes sdta = Chunk("smpl", data);
    if (sm24) sdta = Join({sdta, Chunk("sm24", Bytes(points, 0))});
    const Bytes info = Join({Chunk("ifil", {2, 0, 1, 0}), Chunk("INAM", {'T', 'i', 'n', 'y', 0, 0})});
    return Chunk("RIFF", Join({Chunk("LIST", info, "INFO"), Chunk("LIST", sdta, "sdta"), Chunk("LIST", pdta, "pdta")}), "sfbk");
}

/// The names of what the zones of preset or instrument `o` use.
std::vector<std::string> UsedBy(const SoundFontTables& f, bool preset, std::size_t o)
{
    std::vector<std::string> names;
    const auto& zones = preset ? f.PresetZones : f.InstrumentZones;
    const auto& gens = preset ? f.PresetGens : f.InstrumentGens;
    const std::size_t first = preset ? f.Presets[o].FirstZone : f.Instruments[o].FirstZone;
    const std::size_t last = preset ? f.Presets[o + 1].FirstZone : f.Instruments[o + 1].FirstZone;
    for (std::size_t z = first; z < last; ++z)
        for (std::size_t g = zones[z].FirstGen; g < zones[z + 1].FirstGen; ++g) {
            if (preset && gens[g].Oper == GenInstrument) names.push_back(f.Instruments.at(gens[g].Amount).Name);
            if (!preset && gens[g].Oper == GenSampleId) names.push_back(f.Samples.at(gens[g].Amount).Name);
        }
    return names;
}

std::uint16_t Point(const SoundFontTables& f, std::size_t at) { return static_cast<std::uint16_t>(f.Points[2 * at] | f.Points[2 * at + 1] << 8); }

TEST(SoundFontCut, KeepsTheProgramsAndProgramZeroWithWhatTheyUse)
{
    const Bytes whole = Font{}.Build();
    const SoundFontRead original = ReadSoundFont(whole);
    ASSERT_TRUE(original);
    const SoundFontCut cut = CutSoundFont(whole, std::bitset<128>().set(48).set(100));
    ASSERT_TRUE(cut) << cut.Message;
    EXPECT_EQ(cut.Presets, 3);
    EXPECT_EQ(cut.Instruments, 3);
    EXPECT_EQ(cut.Samples, 4);
    const SoundFontRead read = ReadSoundFont(cut.Bytes);
    ASSERT_TRUE(read) << "the cut is not a sound font the reader takes";
    const SoundFontTables& f = read.Font;

    std::vector<std::string> presets, instruments, samples;
    for (const SoundFontPreset& p : f.Presets) presets.push_back(p.Name + " " + std::to_string(p.Bank) + ":" + std::to_string(p.Program));
    for (const SoundFontInstrument& i : f.Instruments) instruments.push_back(i.Name);
    for (const SoundFontSample& s : f.Samples) samples.push_back(s.Name);
    EXPECT_EQ(presets, (std::vector<std::string>{"Piano 0:0", "Strings 0:48", "Kit 128:0", "EOP 0:0"}));
    EXPECT_EQ(instruments, (std::vector<std::string>{"PianoI", "StereoI", "DrumI", "EOI"}));
    EXPECT_EQ(samples, (std::vector<std::string>{"Pia", "StR", "StL", "Drm", "EOS"}));

    // Renumbered: each zone still names the same instrument and sample, each link its partner.
    EXPECT_EQ(UsedBy(f, true, 0), std::vector<std::string>{"PianoI"});
    EXPECT_EQ(UsedBy(f, true, 1), std::vector<std::string>{"StereoI"});
    EXPECT_EQ(UsedBy(f, true, 2), std::vector<std::string>{"DrumI"});
    EXPECT_EQ(UsedBy(f, false, 0), std::vector<std::string>{"Pia"});
    EXPECT_EQ(UsedBy(f, false, 1), std::vector<std::string>{"StL"});
    EXPECT_EQ(UsedBy(f, false, 2), (std::vector<std::string>{"Drm", "Drm"}));
    EXPECT_EQ(f.Samples[1].Link, 2);
    EXPECT_EQ(f.Samples[2].Link, 1);
    // The kept modulators: the piano's global zone's and its instrument's.
    ASSERT_EQ(f.Records[Pmod].size(), 2 * RecordSizes[Pmod]);
    ASSERT_EQ(f.Records[Imod].size(), 2 * RecordSizes[Imod]);
    EXPECT_EQ(f.Records[Pmod][4], 960 & 0xFF);
    EXPECT_EQ(f.Records[Imod][4], (960 + 1) & 0xFF);
    EXPECT_EQ(f.PresetZones[1].FirstMod, 1);
    EXPECT_EQ(f.InstrumentZones[1].FirstMod, 1);

    // Each kept sample with the points up to the next sample's start, the
    // same values, its loop moved with it.
    const std::map<std::string, std::size_t> guards = {{"Pia", 4}, {"StR", 4}, {"StL", 4}, {"Drm", 6}};
    for (std::size_t s = 0; s + 1 < f.Samples.size(); ++s) {
        const SoundFontSample& now = f.Samples[s];
        const SoundFontSample& was = *std::find_if(original.Font.Samples.begin(), original.Font.Samples.end(),
                                                   [&](const SoundFontSample& o) { return o.Name == now.Name; });
        SCOPED_TRACE(now.Name);
        EXPECT_EQ(now.End - now.Start, was.End - was.Start);
        EXPECT_EQ(now.LoopStart - now.Start, was.LoopStart - was.Start);
        EXPECT_EQ(now.LoopEnd - now.Start, was.LoopEnd - was.Start);
        const std::size_t copied = now.End - now.Start + guards.at(now.Name);
        ASSERT_LE(now.Start + copied, f.PointCount());
        for (std::size_t p = 0; p < copied; ++p) ASSERT_EQ(Point(f, now.Start + p), Point(original.Font, was.Start + p)) << p;
    }
    EXPECT_EQ(f.PointCount(), 6u + 4 + 6 + 4 + 6 + 4 + 6 + 6);
    EXPECT_EQ(f.Info.size(), original.Font.Info.size());
    EXPECT_TRUE(std::equal(f.Info.begin(), f.Info.end(), original.Font.Info.begin()));
}

TEST(SoundFontCut, NoProgramsKeepsTheProgramZeroPresets)
{
    const SoundFontCut cut = CutSoundFont(Font{}.Build(), {});
    ASSERT_TRUE(cut);
    const SoundFontRead read = ReadSoundFont(cut.Bytes);
    ASSERT_TRUE(read);
    ASSERT_EQ(read.Font.Presets.size(), 3u);
    EXPECT_EQ(read.Font.Presets[0].Name, "Piano");
    EXPECT_EQ(read.Font.Presets[1].Name, "Kit");
    EXPECT_EQ(cut.Samples, 2);
}

struct DamageCase {
    const char* name;
    std::function<void(Font&)> damage;
};

class SoundFontDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(SoundFontDamage, Refused)
{
    Font font;
    GetParam().damage(font);
    const Bytes bytes = font.Build();
    EXPECT_EQ(ReadSoundFont(bytes).Message, MsgSoundFontRefused);
    const SoundFontCut cut = CutSoundFont(bytes, std::bitset<128>().set(48));
    EXPECT_EQ(cut.Message, MsgSoundFontRefused);
    EXPECT_TRUE(cut.Bytes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, SoundFontDamage,
    ::testing::Values(
        DamageCase{"ZoneTableCutShort", [](Font& f) { f.shortBy["pbag"] = 2; }},
        DamageCase{"NoSampleHeaders", [](Font& f) { f.shortBy["shdr"] = 6 * 46; }},
        DamageCase{"InstrumentOutOfRange", [](Font& f) { f.presets[2].zones[0].gens[0].Amount = 4; }},
        DamageCase{"SampleOutOfRange", [](Font& f) { f.instruments[1].zones[0].gens[1].Amount = 5; }},
        DamageCase{"SamplePastTheData", [](Font& f) { f.samples[4].End = 57; }},
        DamageCase{"SampleEndsBeforeItStarts", [](Font& f) { f.samples[1].End = 13; }},
        DamageCase{"LinkOutOfRange", [](Font& f) { f.samples[3].Link = 5; }},
        DamageCase{"SampleInRom", [](Font& f) { f.samples[0].Type = SampleRom | 1; }},
        DamageCase{"TwentyFourBitSamples", [](Font& f) { f.sm24 = true; }}),
    test::CaseName);

TEST(SoundFontDamage, KeptLoopOutsideTheCopyRefusesTheCut)
{
    Font font;
    font.samples[1].LoopEnd = 30; // past the guard points, into the next sample
    const Bytes bytes = font.Build();
    EXPECT_TRUE(ReadSoundFont(bytes));
    EXPECT_FALSE(CutSoundFont(bytes, {}));
    font.samples[1].LoopEnd = 19;
    font.samples[0].LoopStart = 12; // a sample not kept
    EXPECT_TRUE(CutSoundFont(font.Build(), {}));
}

TEST(SoundFontDamage, ShortAndForeignBytesRefused)
{
    const Bytes whole = Font{}.Build();
    for (const std::size_t size : {std::size_t{0}, std::size_t{11}, whole.size() / 2, whole.size() - 1})
        EXPECT_FALSE(ReadSoundFont({whole.data(), size})) << size;
    Bytes wave = whole;
    std::memcpy(wave.data() + 8, "WAVE", 4);
    EXPECT_FALSE(ReadSoundFont(wave));
}

} // namespace
} // namespace brakkon
