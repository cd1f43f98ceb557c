// The mixer's synthesiser reads a sound font of only the music's programs.
//
// The mixer loads the whole General-MIDI sound font into every synthesiser
// it makes: all presets and zones on the heap, all samples in memory, while
// the game's music plays five presets. Before the media player hands a MIDI
// file to the mixer it announces the programs the file plays
// (MusicAnnounced); our synthesiser constructor (MixerSynth) then adds a
// sound-font loader of the library's own kind whose file calls, for the font
// the mixer asks for, serve a cut of it from memory (content/SoundFont.h;
// the music renders to the same samples, bench/SynthCheck compares). The
// cut is made when the font is opened and freed when it is closed; the
// original is mapped, so only the pages of the kept samples are read.
//
// Nothing announced, a music file or font the readers refuse, or a library
// without the loader's calls: the whole font, as the library reads it.
#pragma once

#include "content/MidiLength.h"
#include "platform/MixerSynth.h"

#include <cstddef>
#include <optional>

namespace brakkon {

/// The programs of the music being loaded, while it lives; none, the whole font.
class MusicAnnounced {
public:
    explicit MusicAnnounced(const std::optional<MidiProgramSet>& programs);
    ~MusicAnnounced();
    MusicAnnounced(const MusicAnnounced&) = delete;
    MusicAnnounced& operator=(const MusicAnnounced&) = delete;
};

/// Whether announced music gets a cut font (it does unless told otherwise;
/// the comparison of the music both ways turns it off).
void SetCutSoundFont(bool cut);

/// Adds the cutting loader to `synth` (made with `settings`), in front of
/// the library's own; false when a call is missing (the whole font then).
bool AddFontLoader(FluidSynth* synth, FluidSettings* settings, const SynthCalls& calls);

/// The fonts served from memory so far and the size of the last.
struct FontServed {
    int Count = 0;
    int Presets = 0;
    int Instruments = 0;
    int Samples = 0;
    std::size_t Bytes = 0;
};

[[nodiscard]] FontServed LastFontServed();

} // namespace brakkon
