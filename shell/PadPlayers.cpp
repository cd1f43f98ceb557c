#include "shell/PadPlayers.h"

namespace brakkon {
namespace {

constexpr std::size_t ButtonIndex(PadButton button) { return static_cast<std::size_t>(button); }

} // namespace

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

KeyCode PadKey(const MainState& state, int player, PadInput input)
{
    if (input == PadInput::Start) return VkF1;
    if (!state.Playing) { // the menu
        switch (input) {
        case PadInput::Up: return VkUp;
        case PadInput::Down: return VkDown;
        case PadInput::Choose: return VkReturn;
        default: return 0;
        }
    }
    const PlayerType& keys = player == 0 ? state.Player1 : state.Player2;
    switch (input) {
    case PadInput::Left: return keys.LeftKey;
    case PadInput::Right: return keys.RightKey;
    case PadInput::Up: return keys.UpKey;
    case PadInput::Down: return keys.DownKey;
    case PadInput::Fire: return keys.FireKey;
    default: return 0;
    }
}

} // namespace brakkon
