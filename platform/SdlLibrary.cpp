#include "platform/SdlLibrary.h"

#include <dlfcn.h>

namespace brakkon {
namespace {

constexpr const char* SdlFile = "libSDL2-2.0.so.0";
constexpr const char* MixerFile = "libSDL2_mixer-2.0.so.0";

/// Looks up calls in one library; any that is missing spoils the whole set.
class Lookup {
public:
    explicit Lookup(const char* file) : library_(::dlopen(file, RTLD_NOW | RTLD_LOCAL)) {}

    template <typename Call>
    void operator()(Call& call, const char* name)
    {
        void* found = library_ != nullptr ? ::dlsym(library_, name) : nullptr;
        complete_ = complete_ && found != nullptr;
        call = reinterpret_cast<Call>(found);
    }
    [[nodiscard]] bool Complete() const { return library_ != nullptr && complete_; }

private:
    void* library_; ///< kept loaded for the whole run
    bool complete_ = true;
};

SdlCalls LoadSdl(bool& complete)
{
    Lookup find(SdlFile);
    SdlCalls c{};
    find(c.SetHint, "SDL_SetHint");
    find(c.InitSubSystem, "SDL_InitSubSystem");
    find(c.QuitSubSystem, "SDL_QuitSubSystem");
    find(c.GetError, "SDL_GetError");
    find(c.RWFromFile, "SDL_RWFromFile");
    find(c.Realloc, "SDL_realloc");
    find(c.PumpEvents, "SDL_PumpEvents");
    find(c.PeepEvents, "SDL_PeepEvents");
    find(c.FlushEvents, "SDL_FlushEvents");
    find(c.GameControllerOpen, "SDL_GameControllerOpen");
    find(c.GameControllerClose, "SDL_GameControllerClose");
    find(c.GameControllerGetJoystick, "SDL_GameControllerGetJoystick");
    find(c.JoystickInstanceID, "SDL_JoystickInstanceID");
    complete = find.Complete();
    return c;
}

MixerCalls LoadMixer(bool& complete)
{
    Lookup find(MixerFile);
    MixerCalls c{};
    find(c.Init, "Mix_Init");
    find(c.Quit, "Mix_Quit");
    find(c.SetSoundFonts, "Mix_SetSoundFonts");
    find(c.OpenAudio, "Mix_OpenAudio");
    find(c.CloseAudio, "Mix_CloseAudio");
    find(c.AllocateChannels, "Mix_AllocateChannels");
    find(c.ReserveChannels, "Mix_ReserveChannels");
    find(c.LoadWAV_RW, "Mix_LoadWAV_RW");
    find(c.FreeChunk, "Mix_FreeChunk");
    find(c.PlayChannelTimed, "Mix_PlayChannelTimed");
    find(c.Playing, "Mix_Playing");
    find(c.Paused, "Mix_Paused");
    find(c.Pause, "Mix_Pause");
    find(c.Resume, "Mix_Resume");
    find(c.HaltChannel, "Mix_HaltChannel");
    find(c.LoadMUS, "Mix_LoadMUS");
    find(c.FreeMusic, "Mix_FreeMusic");
    find(c.PlayMusic, "Mix_PlayMusic");
    find(c.PauseMusic, "Mix_PauseMusic");
    find(c.ResumeMusic, "Mix_ResumeMusic");
    find(c.HaltMusic, "Mix_HaltMusic");
    find(c.PlayingMusic, "Mix_PlayingMusic");
    complete = find.Complete();
    return c;
}

} // namespace

const SdlCalls* Sdl()
{
    static bool complete = false;
    static const SdlCalls calls = LoadSdl(complete);
    return complete ? &calls : nullptr;
}

const MixerCalls* Mixer()
{
    static bool complete = false;
    static const MixerCalls calls = LoadMixer(complete);
    return complete && Sdl() != nullptr ? &calls : nullptr;
}

} // namespace brakkon
