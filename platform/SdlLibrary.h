// SDL2 and SDL2_mixer, loaded when the sound or the pads first ask for them
// rather than when the program starts: the two libraries and the dozens of
// codec, synthesiser and sound-server libraries behind them would otherwise
// be mapped and linked before the first window could show. The calls the
// game makes are looked up once; a library or a call that is missing counts
// as no sound device, or no pads, as a failed SDL start would.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

namespace brakkon {

/// The SDL2 calls of the pads and of the sound's start.
struct SdlCalls {
    decltype(&::SDL_SetHint) SetHint;
    decltype(&::SDL_InitSubSystem) InitSubSystem;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem;
    decltype(&::SDL_GetError) GetError;
    decltype(&::SDL_RWFromFile) RWFromFile;
    decltype(&::SDL_realloc) Realloc;
    decltype(&::SDL_PumpEvents) PumpEvents;
    decltype(&::SDL_PeepEvents) PeepEvents;
    decltype(&::SDL_FlushEvents) FlushEvents;
    decltype(&::SDL_GameControllerOpen) GameControllerOpen;
    decltype(&::SDL_GameControllerClose) GameControllerClose;
    decltype(&::SDL_GameControllerGetJoystick) GameControllerGetJoystick;
    decltype(&::SDL_JoystickInstanceID) JoystickInstanceID;
};

/// The SDL2_mixer calls of the media players.
struct MixerCalls {
    decltype(&::Mix_Init) Init;
    decltype(&::Mix_Quit) Quit;
    decltype(&::Mix_SetSoundFonts) SetSoundFonts;
    decltype(&::Mix_OpenAudio) OpenAudio;
    decltype(&::Mix_CloseAudio) CloseAudio;
    decltype(&::Mix_AllocateChannels) AllocateChannels;
    decltype(&::Mix_ReserveChannels) ReserveChannels;
    decltype(&::Mix_LoadWAV_RW) LoadWAV_RW;
    decltype(&::Mix_FreeChunk) FreeChunk;
    decltype(&::Mix_PlayChannelTimed) PlayChannelTimed;
    decltype(&::Mix_Playing) Playing;
    decltype(&::Mix_Paused) Paused;
    decltype(&::Mix_Pause) Pause;
    decltype(&::Mix_Resume) Resume;
    decltype(&::Mix_HaltChannel) HaltChannel;
    decltype(&::Mix_LoadMUS) LoadMUS;
    decltype(&::Mix_FreeMusic) FreeMusic;
    decltype(&::Mix_PlayMusic) PlayMusic;
    decltype(&::Mix_PauseMusic) PauseMusic;
    decltype(&::Mix_ResumeMusic) ResumeMusic;
    decltype(&::Mix_HaltMusic) HaltMusic;
    decltype(&::Mix_PlayingMusic) PlayingMusic;
};

/// SDL2, loaded at the first call; null when it or one of its calls is missing.
[[nodiscard]] const SdlCalls* Sdl();

/// SDL2_mixer (and SDL2), loaded at the first call; null when missing.
[[nodiscard]] const MixerCalls* Mixer();

} // namespace brakkon
