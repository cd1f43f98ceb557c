// WindowHost: the engine's way into the main window (GameHost). The field
// is drawn on the canvas and sent to the screen (at once, or held until the
// end of the frame whose ticks drew it), the status line, the title
// and the menu are shown by their parts, the effects and the music go to the
// sound, and the game and clock timers are switched. The main window builds
// it over its parts and hands it to every engine call; it owns none of them.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "platform/Timer.h"
#include "shell/MainMenu.h"
#include "shell/StatusLabels.h"
#include "view/FieldCanvas.h"
#include "view/FieldWidget.h"
#include "view/Sound.h"

#include <QRegion>

#include <functional>

namespace brakkon {

class WindowHost final : public GameHost {
public:
    /// The window's parts the engine reaches.
    struct Parts {
        MainState& State;
        FieldCanvas& Canvas;
        FieldWidget& Field;
        StatusLabels& Labels;
        MainMenu& Menu;
        GameSound& Sound;
        Timer& GameTimer;
        Timer& ClockTimer;
    };

    explicit WindowHost(Parts parts) : parts_(parts) {}

    /// Where the canvas's changed region goes; unset: repainted on the field.
    void SetScreen(std::function<void(const QRegion&)> screen) { screen_ = std::move(screen); }
    /// On: what is drawn waits on the canvas. Off again: all of it goes to
    /// the screen in one paint (the frame's ticks drew it).
    void HoldDrawing(bool held);

    void DrawField(const GateType* gate) override;
    void PaintChanges(const GateType& gate) override { parts_.Canvas.PaintChanges(gate); }
    void RepaintField() override;
    void ShowIndicators() override { parts_.Labels.ShowIndicators(*parts_.State.Game.Gate); }
    void ShowGateNo() override { parts_.Labels.ShowGateNo(*parts_.State.Game.Gate); }
    void ShowPlayTime() override { parts_.Labels.ShowPlayTime(*parts_.State.Game.Gate); }
    void PlayEffect(SoundEffect effect) override { parts_.Sound.PlayEffect(effect); }
    [[nodiscard]] bool MusicStopped() override { return parts_.Sound.MusicStopped(); }
    void PlayMusic() override { parts_.Sound.PlayMusic(); }
    void SetTitle(std::string_view text, bool shown) override { parts_.Labels.SetTitle(text, shown); }
    /// The seven items, "7. Return" only while a game is under way.
    void ShowMenu(bool shown) override { parts_.Menu.Show(shown, shown && !parts_.State.GameOver); }
    void EnableTimers(bool enabled) override;

private:
    void ShowChanges();

    Parts parts_;
    std::function<void(const QRegion&)> screen_;
    bool held_ = false;
};

} // namespace brakkon
