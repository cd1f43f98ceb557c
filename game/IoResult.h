// The outcome of reading or writing outside bytes: success, or the one
// message that the failure must show, with a detail that says which file and
// why (shown under the message).
#pragma once

#include "game/ErrorReport.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace brakkon {

struct [[nodiscard]] IoResult {
    std::string_view Message; ///< empty on success; else one of the Msg... texts
    std::string Detail;       ///< why, and once the file is known "PATH: why"; may be empty

    explicit operator bool() const { return Message.empty(); }
    static IoResult Ok() { return {}; }
    static IoResult DataIo(std::string why = {}) { return {MsgDataIoError, std::move(why)}; }
    static IoResult FileFormat(std::string why = {}) { return {MsgFileFormatError, std::move(why)}; }
    static IoResult FileVersion(std::string why = {}) { return {MsgFileVersionError, std::move(why)}; }

    /// The failure said of the file at `path`: its full path before the why.
    [[nodiscard]] IoResult Of(const std::filesystem::path& path) &&;
};

/// Why a read or write failed when memory ran out.
inline constexpr const char* WhyNoMemory = "memory ran out";

/// Why a file of version `found` is refused by a reader of version `read`.
[[nodiscard]] inline std::string VersionWhy(std::int32_t found, std::int32_t read)
{
    return "is of version " + std::to_string(found) + "; this game reads version " + std::to_string(read);
}

/// Shows the message of a failed result, and its detail, through the error
/// seam; true on success.
inline bool Reported(const IoResult& result)
{
    if (!result) ReportError(result.Message, result.Detail);
    return static_cast<bool>(result);
}

} // namespace brakkon
