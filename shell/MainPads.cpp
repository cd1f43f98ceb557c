#include "shell/MainPads.h"

#include "shell/MainUnit.h"

#include <QApplication>

namespace brakkon {

MainPads::MainPads(MainForm& form, std::unique_ptr<PadSource> source) : form_(form), source_(std::move(source)) {}

void MainPads::Poll()
{
    events_.clear();
    source_->Poll(events_);
    if (events_.empty()) return;
    for (const PadEvent& event : events_) {
        if (event.What == PadEvent::Kind::Added) ++plugged_;
        if (event.What == PadEvent::Kind::Removed && plugged_ > 0) --plugged_;
    }
    requests_.clear();
    for (const PadEvent& event : events_) mapper_.Feed(event, requests_);
    for (const PadRequest& request : requests_) {
        KeyCode& held = pressed_[static_cast<std::size_t>(request.Player)][static_cast<std::size_t>(request.Input)];
        if (request.Pressed) {
            // The pads are heard when the keyboard is: the window active, no
            // modal dialog over it.
            const bool heard = form_.isActiveWindow() && QApplication::activeModalWidget() == nullptr;
            held = heard ? PadKey(form_.State(), request.Player, request.Input) : 0;
            KeyCode key = held;
            if (key != 0) form_.FormKeyDown(key);
        } else {
            KeyCode key = held;
            held = 0;
            if (key != 0) form_.FormKeyUp(key);
        }
    }
}

void MainPads::Frame()
{
    if (plugged_ == 0 && ++idleFrames_ < IdleFrames) return;
    idleFrames_ = 0;
    Poll();
}

} // namespace brakkon
