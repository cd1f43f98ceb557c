#include "platform/MixerSynth.h"

#include "platform/FontLoader.h"

#include <dlfcn.h>

#include <atomic>
#include <iterator>
#include <mutex>

namespace brakkon {
namespace {

constexpr const char* ConstructorName = "new_fluid_synth";
/// The mixer's file (its dependencies hold the synthesiser) and the
/// synthesiser's own, should it ever be loaded by itself.
constexpr const char* SynthLibraries[] = {"libSDL2_mixer-2.0.so.0", "libfluidsynth.so.3"};

std::atomic<bool> Lean{true};
std::mutex MadeLock;
SynthMade Made;

/// The real constructor, never ours: a lookup that came back to the
/// executable would call itself for ever.
void* RealConstructor(void* handle)
{
    void* found = ::dlsym(handle, ConstructorName);
    return found == reinterpret_cast<void*>(&::new_fluid_synth) ? nullptr : found;
}

template <typename Call>
void Find(void* handle, Call& call, const char* name)
{
    call = reinterpret_cast<Call>(::dlsym(handle, name));
}

/// The calls from the library whose file defines `constructor`.
SynthCalls CallsBeside(void* constructor)
{
    SynthCalls calls{};
    Dl_info info{};
    if (::dladdr(constructor, &info) == 0 || info.dli_fname == nullptr) return calls;
    // Already loaded (it holds `constructor`): this only takes a reference, kept for the run.
    void* library = ::dlopen(info.dli_fname, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (library == nullptr) return calls;
    calls.NewSynth = reinterpret_cast<FluidSynth* (*)(FluidSettings*)>(constructor);
    Find(library, calls.SetInt, "fluid_settings_setint");
    Find(library, calls.GetPolyphony, "fluid_synth_get_polyphony");
    Find(library, calls.ActiveVoices, "fluid_synth_get_active_voice_count");
    Find(library, calls.NewLoader, "new_fluid_defsfloader");
    Find(library, calls.SetLoaderFiles, "fluid_sfloader_set_callbacks");
    Find(library, calls.DeleteLoader, "delete_fluid_sfloader");
    Find(library, calls.AddLoader, "fluid_synth_add_sfloader");
    return calls;
}

} // namespace

SynthCalls FindSynthCalls(const char* const* libraries, int count)
{
    void* constructor = RealConstructor(RTLD_NEXT);
    for (int i = 0; constructor == nullptr && i < count; ++i) {
        // RTLD_NOLOAD: found only when already loaded, and then not loaded again.
        void* library = ::dlopen(libraries[i], RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
        if (library == nullptr) continue;
        constructor = RealConstructor(library);
        ::dlclose(library); // CallsBeside keeps its own reference to the file it uses
    }
    return constructor != nullptr ? CallsBeside(constructor) : SynthCalls{};
}

const SynthCalls& MixerSynthCalls()
{
    static const SynthCalls calls = FindSynthCalls(SynthLibraries, static_cast<int>(std::size(SynthLibraries)));
    return calls;
}

FluidSynth* MakeSynth(FluidSettings* settings, const SynthCalls& calls, bool lean)
{
    if (calls.NewSynth == nullptr) return nullptr;
    if (lean && calls.SetInt != nullptr && settings != nullptr) {
        // A library that does not know a setting refuses it and keeps its default.
        calls.SetInt(settings, "synth.polyphony", SynthPolyphony);
    }
    return calls.NewSynth(settings);
}

SynthMade LastSynthMade()
{
    const std::lock_guard<std::mutex> hold(MadeLock);
    return Made;
}

void SetLeanSynth(bool lean) { Lean = lean; }

} // namespace brakkon

extern "C" brakkon::FluidSynth* new_fluid_synth(brakkon::FluidSettings* settings)
{
    using namespace brakkon;
    const SynthCalls& calls = MixerSynthCalls();
    FluidSynth* synth = MakeSynth(settings, calls, Lean);
    if (synth == nullptr) return nullptr;
    AddFontLoader(synth, settings, calls);
    const std::lock_guard<std::mutex> hold(MadeLock);
    Made.Count += 1;
    Made.Polyphony = calls.GetPolyphony != nullptr ? calls.GetPolyphony(synth) : -1;
    Made.Synth = synth;
    return synth;
}
