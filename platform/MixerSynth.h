// The MIDI synthesiser inside SDL2_mixer, made with lean settings.
//
// The mixer makes its synthesiser with the library's defaults and offers no
// way to change them: room for 256 voices is kept while the music sounds at
// most 62 at once. The game's executable defines and exports the
// synthesiser's constructor, `new_fluid_synth`, so the mixer's call binds to
// ours (the executable comes first in symbol lookup, also for a library
// opened with dlopen); ours lowers the polyphony to what the music needs
// and calls the library's own constructor. The music renders to
// the same samples (bench/SynthCheck renders it both ways and compares).
//
// The synthesiser is also given a sound-font loader that serves a cut of the
// font with only the music's instruments (platform/FontLoader.h).
//
// The synthesiser library is never linked: its calls are looked up in the
// copy the mixer loaded. A setting the library does not know is left at its
// default; when the library's constructor cannot be found there is no
// synthesiser (the mixer then has no MIDI music).
#pragma once

namespace brakkon {

/// The library's own types, never looked into.
struct FluidSettings;
struct FluidSynth;
struct FluidSfLoader;

/// The file calls of a sound-font loader (the library's `fluid_sfloader_callback_*_t`).
struct FontFileCalls {
    void* (*Open)(const char* fileName);
    int (*Read)(void* buffer, long long count, void* handle);
    int (*Seek)(void* handle, long long offset, int origin);
    long long (*Tell)(void* handle);
    int (*Close)(void* handle);
};

/// The synthesiser library's calls this file makes; any may be null (missing).
struct SynthCalls {
    FluidSynth* (*NewSynth)(FluidSettings*);
    int (*SetInt)(FluidSettings*, const char*, int);
    int (*GetPolyphony)(FluidSynth*);
    int (*ActiveVoices)(FluidSynth*);
    FluidSfLoader* (*NewLoader)(FluidSettings*);
    int (*SetLoaderFiles)(FluidSfLoader*, decltype(FontFileCalls::Open), decltype(FontFileCalls::Read),
                            decltype(FontFileCalls::Seek), decltype(FontFileCalls::Tell), decltype(FontFileCalls::Close));
    void (*DeleteLoader)(FluidSfLoader*);
    void (*AddLoader)(FluidSynth*, FluidSfLoader*);
};

/// Voices the synthesiser keeps: the music sounds at most 62 at once, and
/// renders the same with 64 (with 48 voices are taken from sounding notes).
/// Each voice costs about 6 KiB, and the queue of the synthesiser's events,
/// sized at 64 events a voice, 4.5 KiB more: 64 voices keep 0.7 MiB less
/// than 128. Most of what sounds at once are the fading tails of released
/// notes (the music never holds more than 7 notes); music that asks for more
/// loses the quietest of those tails first.
inline constexpr int SynthPolyphony = 64;

/// The calls from the loaded library that defines the real constructor,
/// looked for in the global scope after the executable and in each of
/// `libraries` already loaded (their dependencies included); all null when
/// none defines it. Never loads a library.
[[nodiscard]] SynthCalls FindSynthCalls(const char* const* libraries, int count);

/// The calls of the library the sound's mixer uses, looked up once.
[[nodiscard]] const SynthCalls& MixerSynthCalls();

/// Sets the lean settings (when `lean` and the library knows them) and makes
/// a synthesiser with the real constructor; null without one.
[[nodiscard]] FluidSynth* MakeSynth(FluidSettings* settings, const SynthCalls& calls, bool lean);

/// A synthesiser as made, its settings read back from it.
struct SynthMade {
    int Count = 0;      ///< synthesisers made so far by new_fluid_synth
    int Polyphony = -1; ///< -1: not readable
    FluidSynth* Synth = nullptr; ///< the last one; the mixer deletes it with its music
};

/// What new_fluid_synth made last.
[[nodiscard]] SynthMade LastSynthMade();

/// Whether new_fluid_synth applies the lean settings (it does unless told
/// otherwise; the comparison of the music both ways turns them off).
void SetLeanSynth(bool lean);

} // namespace brakkon

/// The synthesiser's constructor as the mixer calls it (exported by every
/// executable that links the media players; see platform/CMakeLists.txt).
extern "C" brakkon::FluidSynth* new_fluid_synth(brakkon::FluidSettings* settings);
