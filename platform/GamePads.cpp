#include "platform/GamePads.h"

#include "platform/SdlLibrary.h"

#include <map>

namespace brakkon {
namespace {

PadButton FromSdl(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::DpadRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_A: return PadButton::South;
    case SDL_CONTROLLER_BUTTON_B: return PadButton::East;
    case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
    default: return PadButton::Other;
    }
}

PadAxis AxisFromSdl(Uint8 axis)
{
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: return PadAxis::LeftX;
    case SDL_CONTROLLER_AXIS_LEFTY: return PadAxis::LeftY;
    default: return PadAxis::Other;
    }
}

/// SDL's game controllers. SDL reports the pads already connected as added
/// at start; each is opened then and closed when it is pulled out. Nothing
/// else in the game reads SDL's event queue, so the rest of it is dropped.
class SdlPads final : public PadSource {
public:
    explicit SdlPads(const SdlCalls& sdl) : sdl_(sdl) {}
    ~SdlPads() override
    {
        for (auto& [id, controller] : open_) sdl_.GameControllerClose(controller);
        sdl_.QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    void Poll(std::vector<PadEvent>& events) override
    {
        sdl_.PumpEvents();
        SDL_Event event;
        while (sdl_.PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERDEVICEREMAPPED) > 0) {
            switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED: Open(event.cdevice.which, events); break;
            case SDL_CONTROLLERDEVICEREMOVED: Close(event.cdevice.which, events); break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP: {
                PadEvent pad{PadEvent::Kind::Button, event.cbutton.which};
                pad.Button = FromSdl(event.cbutton.button);
                pad.Down = event.type == SDL_CONTROLLERBUTTONDOWN;
                if (pad.Button != PadButton::Other) events.push_back(pad);
                break;
            }
            case SDL_CONTROLLERAXISMOTION: {
                PadEvent pad{PadEvent::Kind::Axis, event.caxis.which};
                pad.Axis = AxisFromSdl(event.caxis.axis);
                pad.Value = event.caxis.value;
                if (pad.Axis != PadAxis::Other) events.push_back(pad);
                break;
            }
            default: break;
            }
        }
        sdl_.FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

private:
    void Open(int deviceIndex, std::vector<PadEvent>& events)
    {
        SDL_GameController* controller = sdl_.GameControllerOpen(deviceIndex);
        if (controller == nullptr) return;
        const SDL_JoystickID id = sdl_.JoystickInstanceID(sdl_.GameControllerGetJoystick(controller));
        if (!open_.emplace(id, controller).second) {
            sdl_.GameControllerClose(controller); // already open: SDL counts the opens
            return;
        }
        events.push_back({PadEvent::Kind::Added, id});
    }

    void Close(SDL_JoystickID id, std::vector<PadEvent>& events)
    {
        const auto found = open_.find(id);
        if (found == open_.end()) return;
        sdl_.GameControllerClose(found->second);
        open_.erase(found);
        events.push_back({PadEvent::Kind::Removed, id});
    }

    const SdlCalls& sdl_;
    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

} // namespace

std::unique_ptr<PadSource> OpenSdlPads()
{
    const SdlCalls* sdl = Sdl();
    if (sdl == nullptr) return nullptr; // not installed: the keyboard alone
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads.
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (sdl->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return nullptr;
    return std::make_unique<SdlPads>(*sdl);
}

} // namespace brakkon
