#include "game/FileIo.h"

#include "game/IoResult.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace brakkon {
namespace {

/// Sets `why` (when given) to `what` and the reason for errno, and fails.
bool Failed(std::string* why, const char* what, int error)
{
    if (why != nullptr) *why = std::string(what) + ": " + ErrnoText(error);
    return false;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string FullPath(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return (error ? path : full.lexically_normal()).string();
}

std::string ErrnoText(int error)
{
    switch (error) {
    case ENOENT: return "there is no such file or folder";
    case EACCES:
    case EPERM: return "no permission";
    case EROFS: return "the file system is read-only";
    case ENOSPC:
    case EDQUOT: return "the disk is full";
    case EISDIR: return "it is a folder";
    case ENOTDIR: return "a part of its path is not a folder";
    default: return std::strerror(error);
    }
}

IoResult IoResult::Of(const std::filesystem::path& path) &&
{
    if (*this) return std::move(*this);
    Detail = Detail.empty() ? FullPath(path) : FullPath(path) + ": " + Detail;
    return std::move(*this);
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path, std::string* why)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        Failed(why, "cannot be opened", errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (why != nullptr) *why = S_ISDIR(st.st_mode) ? "is a folder" : "is not a regular file";
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
        std::uint8_t buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                Failed(why, "cannot be read", errno);
                ::close(fd);
                return std::nullopt;
            }
            if (n == 0) break;
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
    } catch (...) {
        if (why != nullptr) *why = WhyNoMemory;
        ::close(fd);
        return std::nullopt;
    }
    ::close(fd);
    return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes, std::string* why)
{
    std::string temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return Failed(why, "cannot be written", errno);
    int error = 0; // the first failure's errno
    auto step = [&error](bool done) {
        if (!done && error == 0) error = errno != 0 ? errno : EIO;
        return done;
    };
    bool ok = step(WriteAll(fd, bytes)) && step(::fsync(fd) == 0);
    // mkstemp makes the file private: give it the old file's mode, or the usual one.
    struct stat old {};
    mode_t mode = 0;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ok = ok && step(::fchmod(fd, mode) == 0);
    ok = step(::close(fd) == 0) && ok;
    ok = ok && step(std::rename(temp.c_str(), path.c_str()) == 0);
    if (!ok) {
        ::unlink(temp.c_str());
        return Failed(why, "cannot be written", error);
    }
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string WriteProblem(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return "is a folder";
    std::string temp = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        std::string why;
        Failed(&why, "cannot be written", errno);
        return why;
    }
    ::close(fd);
    ::unlink(temp.c_str());
    return {};
}

} // namespace brakkon
