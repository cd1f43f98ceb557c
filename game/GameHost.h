// What the engine needs of the window: drawing, the status line, sound, the
// title labels, the menu and the two timers.
//
// The engine owns no window. The main window implements this interface over
// its widgets, the simulator over nothing but a list of effects, and the tests
// with a recorder. Each operation is one thing the engine asks of the window,
// under the name the engine calls it by (DrawField, ShowIndicators, PlayEffect).
#pragma once

#include "game/Records.h"
#include "game/SoundEffects.h"

#include <cstdint>
#include <string_view>

namespace brakkon {

/// The text of the title labels at the start of a new game.
inline constexpr std::string_view GameTitle = "Brakkon";

class GameHost {
public:
    virtual ~GameHost() = default;

    /// Redraws the whole field of `gate` (or clears it when there is none)
    /// and refreshes the status line.
    virtual void DrawField(const GateType* gate) = 0;
    /// Paints, in the three layers, every cell and sprite of `gate` marked
    /// Dirty: the grounds and walls of the marked cells, the marked sprites in
    /// list order, then the marked cells' tops. Clears no mark.
    virtual void PaintChanges(const GateType& gate) = 0;
    /// Puts what the last painting changed on the screen at once.
    virtual void RepaintField() = 0;
    /// Shows each player's level stars and reserve tanks.
    virtual void ShowIndicators() = 0;
    /// Shows the gate number in the status line.
    virtual void ShowGateNo() = 0;
    /// Shows the play time in the status line.
    virtual void ShowPlayTime() = 0;
    /// Plays a sound effect, unless a more important one still sounds.
    virtual void PlayEffect(SoundEffect effect) = 0;
    /// True when the music player stands still (played to its end, stopped,
    /// or never started).
    [[nodiscard]] virtual bool MusicStopped() = 0;
    /// Starts the music player: from where it stands, or from the beginning
    /// after it played to its end.
    virtual void PlayMusic() = 0;
    /// Gives both title labels `text` and shows or hides them.
    virtual void SetTitle(std::string_view text, bool shown) = 0;
    /// Shows or hides the menu.
    virtual void ShowMenu(bool shown) = 0;
    /// Starts or stops the game timer and the clock timer.
    virtual void EnableTimers(bool enabled) = 0;
};

/// A window that shows and sounds nothing: the base of the simulator's host
/// and the benchmarks'. Its music never stops, so it is never restarted.
class SilentHost : public GameHost {
public:
    void DrawField(const GateType*) override {}
    void PaintChanges(const GateType&) override {}
    void RepaintField() override {}
    void ShowIndicators() override {}
    void ShowGateNo() override {}
    void ShowPlayTime() override {}
    void PlayEffect(SoundEffect) override {}
    [[nodiscard]] bool MusicStopped() override { return false; }
    void PlayMusic() override {}
    void SetTitle(std::string_view, bool) override {}
    void ShowMenu(bool) override {}
    void EnableTimers(bool) override {}
};

} // namespace brakkon
