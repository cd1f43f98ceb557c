// Where the game's failures are shown while its window runs: every message
// reported through game/ErrorReport.h goes to the error box
// (platform/ErrorBox.h). Tests install a recorder in its place.
#pragma once

#include <QWidget>

namespace brakkon {

/// Makes the error box the game's error handler until another is set: over
/// the active window, or over `parent` when none is active. The parent is
/// not owned; once it is gone, the box has no parent.
void InstallErrorBox(QWidget* parent);

} // namespace brakkon
