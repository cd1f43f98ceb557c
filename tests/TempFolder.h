// One fresh folder for a test's files, under the system's temporary
// directory; it goes, with everything in it, when the TempFolder goes.
#pragma once

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace brakkon::test {

class TempFolder {
public:
    /// A folder named PREFIX-XXXXXX.
    explicit TempFolder(const std::string& prefix = "brakkon")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::filesystem::filesystem_error("cannot make a temporary folder", pattern,
                                                    std::error_code(errno, std::generic_category()));
        path = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// A name inside the folder.
    [[nodiscard]] std::filesystem::path operator/(const std::filesystem::path& name) const { return path / name; }

    std::filesystem::path path;
};

} // namespace brakkon::test
