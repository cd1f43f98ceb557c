// Whole-file reads and safe whole-file writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brakkon {

/// The whole content of a regular file; empty when it cannot be opened or
/// read, and then `why` (when given) says so: "cannot be opened: no
/// permission", "is a folder".
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                                     std::string* why = nullptr);

/// Writes the bytes to a new file beside `path`, flushes it to disk and only
/// then renames it over `path`, so a failure leaves any previous file intact
/// and no temporary file behind. True on success; else `why` (when given)
/// says what failed: "cannot be written: the disk is full".
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                                       std::string* why = nullptr);

/// The full path of `path` as the player reads it (the path itself when it
/// cannot be made absolute).
[[nodiscard]] std::string FullPath(const std::filesystem::path& path);

/// The reason for a failed system call, in words: "no permission", "the disk
/// is full", "there is no such file or folder", or the system's own text.
[[nodiscard]] std::string ErrnoText(int error);

/// Empty when WriteFileAtomically could write `path` now (a file of its own
/// can be made beside it, and it is no folder); else why not. Leaves nothing
/// behind.
[[nodiscard]] std::string WriteProblem(const std::filesystem::path& path);

} // namespace brakkon
