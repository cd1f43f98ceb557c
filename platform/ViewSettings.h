// The window's scale and full-screen choice as it is kept between runs, in
// QSettings (an INI file under ~/.config/brakkon for the game). A value that
// is missing, damaged or out of range reads as the window as designed:
// scale 1, no full screen.
#pragma once

#include <QSettings>

namespace brakkon {

constexpr int MaxViewScale = 4;

struct ViewChoice {
    int Scale = 1;          ///< 1 to MaxViewScale
    bool FullScreen = false;
};

[[nodiscard]] ViewChoice ReadViewChoice(const QSettings& settings);
void WriteViewChoice(QSettings& settings, ViewChoice choice);

} // namespace brakkon
