// The Game Control dialog's choices as they are kept between runs: the game
// timer's interval, the movement step, sound and music, in the same settings
// as the window's scale. A value that is missing, damaged or out of range
// reads as the default the caller gives for it.
#pragma once

#include <QSettings>

namespace brakkon {

constexpr int SlowestGameInterval = 100; ///< milliseconds per game tick at "Slow"
constexpr int FastestGameInterval = 1;   ///< and at "Fast"

struct ControlChoice {
    int Interval = 0;   ///< the game timer's milliseconds, FastestGameInterval to SlowestGameInterval
    int Step = 0;       ///< pixels per step: 1, 2 or 4
    bool Sound = true;  ///< effects sound
    bool Music = true;  ///< the music plays
};

[[nodiscard]] ControlChoice ReadControlChoice(const QSettings& settings, const ControlChoice& defaults);
void WriteControlChoice(QSettings& settings, const ControlChoice& choice);

} // namespace brakkon
