// A sound font's tables, and a smaller sound font cut from it that holds
// only the presets a piece of music plays.
//
// The MIDI synthesiser reads a whole General-MIDI sound font: every preset,
// instrument and zone on its heap and every sample in memory, while the
// game's music plays a handful of instruments. The cut keeps the presets of
// the music's programs (and of program 0, in every bank: the reset's piano
// and the drum kit the synthesiser falls back to), the instruments those
// presets use, the samples those instruments use and the samples they are
// linked to (stereo pairs), with every index renumbered. Each kept sample
// is copied with the points that follow it in the original up to the start
// of the next sample: the synthesiser's interpolation reads a few points
// past a sample's end, and they must be the same points for the music to
// render the same. The INFO list is copied as it is.
//
// The reader checks everything the cut relies on; anything unusual (24-bit
// samples, samples in ROM, an index out of range, sizes that do not add up)
// is refused with the one message, and the caller keeps the whole font.
// Standard library only, so the fuzzer links it alone.
#pragma once

#include <bitset>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

inline constexpr std::string_view MsgSoundFontRefused = "Sound font not cut";

/// Generator operators the cut follows.
inline constexpr std::uint16_t GenInstrument = 41;
inline constexpr std::uint16_t GenSampleId = 53;

/// Sample types whose link names a sample.
inline constexpr std::uint16_t SampleRight = 2;
inline constexpr std::uint16_t SampleLeft = 4;
inline constexpr std::uint16_t SampleLinked = 8;
inline constexpr std::uint16_t SampleRom = 0x8000;

struct SoundFontPreset {
    std::string Name;
    std::uint16_t Program = 0;
    std::uint16_t Bank = 0;
    std::uint16_t FirstZone = 0; ///< index of its first bag
};

struct SoundFontInstrument {
    std::string Name;
    std::uint16_t FirstZone = 0;
};

/// A preset's or an instrument's zone: where its generators and modulators start.
struct SoundFontZone {
    std::uint16_t FirstGen = 0;
    std::uint16_t FirstMod = 0;
};

struct SoundFontGen {
    std::uint16_t Oper = 0;
    std::uint16_t Amount = 0;
};

/// A sample's header; points count from the start of the sample data.
struct SoundFontSample {
    std::string Name;
    std::uint32_t Start = 0;
    std::uint32_t End = 0; ///< the first point after the sample
    std::uint32_t LoopStart = 0;
    std::uint32_t LoopEnd = 0;
    std::uint16_t Link = 0;
    std::uint16_t Type = 0;
};

/// The tables as read, each with its terminal record ("EOP", "EOI", "EOS"
/// and the closing zone, generator and modulator) at the end.
struct SoundFontTables {
    std::span<const std::uint8_t> Info;    ///< the whole INFO list, its chunk header included
    std::span<const std::uint8_t> Points;  ///< the 16-bit sample data
    std::span<const std::uint8_t> Records[9]; ///< each table's bytes, in the order of TableIds
    std::vector<SoundFontPreset> Presets;
    std::vector<SoundFontZone> PresetZones;
    std::vector<SoundFontGen> PresetGens;
    std::vector<SoundFontInstrument> Instruments;
    std::vector<SoundFontZone> InstrumentZones;
    std::vector<SoundFontGen> InstrumentGens;
    std::vector<SoundFontSample> Samples;

    [[nodiscard]] std::size_t PointCount() const { return Points.size() / 2; }
};

/// The table chunks of the preset data, in the order they are written, and
/// the size of one record of each.
inline constexpr const char* TableIds[9] = {"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"};
inline constexpr std::size_t RecordSizes[9] = {38, 4, 10, 4, 22, 4, 10, 4, 46};
enum SoundFontTable { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr };

struct [[nodiscard]] SoundFontRead {
    SoundFontTables Font;     ///< spans into the bytes read; empty on failure
    std::string_view Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
};

/// Reads and checks a sound font's tables; any damage or unusual content
/// gives MsgSoundFontRefused.
SoundFontRead ReadSoundFont(std::span<const std::uint8_t> bytes);

struct [[nodiscard]] SoundFontCut {
    std::vector<std::uint8_t> Bytes; ///< the smaller sound font; empty on failure
    int Presets = 0;
    int Instruments = 0;
    int Samples = 0;
    std::string_view Message; ///< empty on success

    explicit operator bool() const { return Message.empty(); }
};

/// The sound font of the presets whose program is in `programs` or is 0, in
/// every bank, and of what they use; MsgSoundFontRefused when `bytes` is
/// refused by the reader or a kept sample's loop lies outside what is copied.
SoundFontCut CutSoundFont(std::span<const std::uint8_t> bytes, const std::bitset<128>& programs);

} // namespace brakkon
