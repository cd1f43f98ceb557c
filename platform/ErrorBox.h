// The error box: every failure the game reports (file input and output, a
// missing data file) is shown as a modal message box captioned "Error" with
// the error icon and an OK button, and under the message the detail that
// says which file and why.
//
// Installs itself as the engine's error handler (ErrorReport.h); tests
// install a recorder in its place. The parent window is not owned.
#pragma once

#include <QWidget>

namespace brakkon {

/// Shows each reported message in a critical message box over the active
/// window, or over `parent` when no window is active, until the handler is
/// replaced.
void InstallErrorBox(QWidget* parent);

} // namespace brakkon
