#include "platform/GamePads.h"

#include <SDL.h>

#include <map>

namespace brakkon {
namespace {

constexpr std::size_t ButtonIndex(PadButton button) { return static_cast<std::size_t>(button); }

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
    SdlPads() = default;
    ~SdlPads() override
    {
        for (auto& [id, controller] : open_) SDL_GameControllerClose(controller);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    void Poll(std::vector<PadEvent>& events) override
    {
        SDL_PumpEvents();
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERDEVICEREMAPPED) > 0) {
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
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

private:
    void Open(int deviceIndex, std::vector<PadEvent>& events)
    {
        SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
        if (controller == nullptr) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        if (!open_.emplace(id, controller).second) {
            SDL_GameControllerClose(controller); // already open: SDL counts the opens
            return;
        }
        events.push_back({PadEvent::Kind::Added, id});
    }

    void Close(SDL_JoystickID id, std::vector<PadEvent>& events)
    {
        const auto found = open_.find(id);
        if (found == open_.end()) return;
        SDL_GameControllerClose(found->second);
        open_.erase(found);
        events.push_back({PadEvent::Kind::Removed, id});
    }

    std::map<SDL_JoystickID, SDL_GameController*> open_;
};

} // namespace

std::unique_ptr<PadSource> OpenSdlPads()
{
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return nullptr;
    return std::make_unique<SdlPads>();
}

void PadMapper::Feed(const PadEvent& event, std::vector<PadRequest>& requests)
{
    int player = -1;
    for (int p = 0; p < PadPlayers; ++p)
        if (players_[static_cast<std::size_t>(p)] && players_[static_cast<std::size_t>(p)]->Id == event.Pad) player = p;

    if (event.What == PadEvent::Kind::Added) {
        if (player >= 0) return;
        for (auto& slot : players_) {
            if (slot) continue;
            slot = std::make_unique<Pad>();
            slot->Id = event.Pad;
            return;
        }
        return; // every player has a pad: this one waits unused
    }
    if (player < 0) return;
    Pad& pad = *players_[static_cast<std::size_t>(player)];
    switch (event.What) {
    case PadEvent::Kind::Removed:
        pad.Buttons = {};
        pad.X = pad.Y = 0;
        Update(player, pad, requests);
        players_[static_cast<std::size_t>(player)].reset();
        return;
    case PadEvent::Kind::Button:
        if (event.Button == PadButton::Other) return;
        pad.Buttons[ButtonIndex(event.Button)] = event.Down;
        break;
    case PadEvent::Kind::Axis:
        if (event.Axis == PadAxis::LeftX) pad.X = event.Value;
        if (event.Axis == PadAxis::LeftY) pad.Y = event.Value;
        break;
    case PadEvent::Kind::Added: break;
    }
    Update(player, pad, requests);
}

void PadMapper::Update(int player, Pad& pad, std::vector<PadRequest>& requests)
{
    const auto button = [&pad](PadButton b) { return pad.Buttons[ButtonIndex(b)]; };
    const std::array<bool, PadInputCount> now{
        button(PadButton::DpadLeft) || pad.X < -StickDeadZone,
        button(PadButton::DpadRight) || pad.X > StickDeadZone,
        button(PadButton::DpadUp) || pad.Y < -StickDeadZone,
        button(PadButton::DpadDown) || pad.Y > StickDeadZone,
        button(PadButton::South) || button(PadButton::East),
        button(PadButton::South),
        button(PadButton::Start),
    };
    for (std::size_t i = 0; i < PadInputCount; ++i) {
        if (now[i] == pad.Held[i]) continue;
        pad.Held[i] = now[i];
        requests.push_back({player, static_cast<PadInput>(i), now[i]});
    }
}

} // namespace brakkon
