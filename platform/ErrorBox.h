// The error box: a modal message box captioned "Error" with the error icon,
// an OK button, the message, and under it the detail that says which file
// and why. It knows nothing of where its messages come from; the window
// installs it as the game's error handler (shell/ErrorReporting.h).
#pragma once

#include <QWidget>

#include <string_view>

namespace brakkon {

/// Shows `message` and `detail` in a critical message box over the active
/// window, or over `fallback` when no window is active, until OK.
void ShowErrorBox(std::string_view message, std::string_view detail, QWidget* fallback);

} // namespace brakkon
