// The one way a failure of file input or output reaches the player: one
// message of the game's own, and a detail that says which file and why. The
// window installs a handler that shows a message box captioned "Error" with
// the detail as its informative text; the command-line tools print both to
// stderr; tests install a recorder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace brakkon {

inline constexpr std::string_view MsgDataIoError = "Data IO Error";
inline constexpr std::string_view MsgFileFormatError = "File format error";
inline constexpr std::string_view MsgFileVersionError = "File version error";

using ErrorHandler = std::function<void(std::string_view message, std::string_view detail)>;

/// Shows one message and its detail (may be empty) through the installed
/// handler; on stderr as "message: detail" when none is set.
void ReportError(std::string_view message, std::string_view detail = {});

/// Installs a handler and returns the one it replaces.
ErrorHandler SetErrorHandler(ErrorHandler handler);

/// Installs a handler for its lifetime and restores the previous one after.
class ScopedErrorHandler {
public:
    explicit ScopedErrorHandler(ErrorHandler handler) : previous_(SetErrorHandler(std::move(handler))) {}
    ~ScopedErrorHandler() { SetErrorHandler(std::move(previous_)); }
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;

private:
    ErrorHandler previous_;
};

} // namespace brakkon
