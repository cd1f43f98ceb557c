#include "shell/MainPads.h"

#include "shell/MainUnit.h"

#include <QApplication>

namespace brakkon {

MainPads::MainPads(MainForm& form, std::unique_ptr<PadSource> source, bool pollsByItself)
    : form_(form), source_(std::move(source))
{
    timer_.setInterval(GameTimerInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    if (pollsByItself) timer_.start();
}

void MainPads::Poll()
{
    events_.clear();
    source_->Poll(events_);
    if (events_.empty()) return;
    requests_.clear();
    for (const PadEvent& event : events_) mapper_.Feed(event, requests_);
    for (const PadRequest& request : requests_) {
        KeyCode& held = pressed_[static_cast<std::size_t>(request.Player)][static_cast<std::size_t>(request.Input)];
        if (request.Pressed) {
            // The pads are heard when the keyboard is: the window active, no
            // modal dialog over it.
            const bool heard = form_.isActiveWindow() && QApplication::activeModalWidget() == nullptr;
            held = heard ? KeyFor(request.Player, request.Input) : 0;
            KeyCode key = held;
            if (key != 0) form_.FormKeyDown(key);
        } else {
            KeyCode key = held;
            held = 0;
            if (key != 0) form_.FormKeyUp(key);
        }
    }
}

KeyCode MainPads::KeyFor(int player, PadInput input)
{
    const MainState& state = form_.State();
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

// ---- The window's side ----

void MainForm::StartPads()
{
    if (!seams_.OpenPads) return;
    if (std::unique_ptr<PadSource> source = seams_.OpenPads())
        pads_ = std::make_unique<MainPads>(*this, std::move(source), seams_.TimersTick);
}

void MainForm::PollPads()
{
    if (pads_) pads_->Poll();
}

} // namespace brakkon
