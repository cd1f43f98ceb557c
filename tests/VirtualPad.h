// SDL's virtual joystick as a pad of the standard layout, attached for as
// long as the object lives: the pads test and benchmark drive the window's
// real SDL pads with it, no video subsystem and no display needed.
#pragma once

#include <SDL.h>

namespace brakkon::test {

struct VirtualPad {
    explicit VirtualPad(const char* name = "Brakkon test pad")
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = name;
        index = SDL_JoystickAttachVirtualEx(&desc);
        stick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    }
    ~VirtualPad() { Detach(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    /// Pulls the pad out now.
    void Detach()
    {
        if (stick != nullptr) SDL_JoystickClose(stick);
        if (index >= 0) SDL_JoystickDetachVirtual(index);
        stick = nullptr;
        index = -1;
    }

    int index = -1;
    SDL_Joystick* stick = nullptr;
};

} // namespace brakkon::test
