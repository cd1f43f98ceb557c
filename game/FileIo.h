// Whole-file reads and safe whole-file writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace brakkon {

/// The whole content of a regular file; empty when it cannot be opened or read.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);

/// Writes the bytes to a new file beside `path`, flushes it to disk and only
/// then renames it over `path`, so a failure leaves any previous file intact
/// and no temporary file behind. True on success.
[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace brakkon
