// The outcome of reading or writing outside bytes: success, or the one
// message that the failure must show.
#pragma once

#include "ErrorReport.h"

#include <string_view>

namespace brakkon {

struct [[nodiscard]] IoResult {
    std::string_view Message; ///< empty on success; else one of the Msg... texts

    explicit operator bool() const { return Message.empty(); }
    static IoResult Ok() { return {}; }
    static IoResult DataIo() { return {MsgDataIoError}; }
    static IoResult FileFormat() { return {MsgFileFormatError}; }
    static IoResult FileVersion() { return {MsgFileVersionError}; }
};

/// Shows the message of a failed result through the error seam; true on success.
inline bool Reported(IoResult result)
{
    if (!result) ReportError(result.Message);
    return static_cast<bool>(result);
}

} // namespace brakkon
