// One of our programs run beside the test: its standard output and error
// read as they come, waited for with a deadline, and killed (by its own
// process id) if it is still running when the test lets it go.
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon::test {

class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;

    ChildProcess(const std::string& program, const std::vector<std::string>& args)
    {
        int out[2];
        int err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ < 0) throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::close(out[0]);
            ::close(err[0]);
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~ChildProcess()
    {
        Kill();
        if (out_ >= 0) ::close(out_);
        if (err_ >= 0) ::close(err_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Reads standard error until it holds `text`; false at the deadline.
    bool WaitForError(std::string_view text, std::chrono::milliseconds within)
    {
        const auto until = Clock::now() + within;
        while (errText_.find(text) == std::string::npos) {
            if (Clock::now() >= until || !Pump(50)) return errText_.find(text) != std::string::npos;
        }
        return true;
    }

    /// The exit status, once the program has ended; nothing at the deadline.
    std::optional<int> Wait(std::chrono::milliseconds within)
    {
        const auto until = Clock::now() + within;
        while (Pump(50) && Clock::now() < until) {
        }
        while (!exit_ && Clock::now() < until) {
            Reap(0);
            if (!exit_) ::usleep(10000);
        }
        return exit_;
    }

    /// Ends the program at once (it was started here; nothing else is touched).
    void Kill()
    {
        if (pid_ > 0 && !exit_) {
            ::kill(pid_, SIGKILL);
            Reap(0);
            if (!exit_) {
                int status = 0;
                ::waitpid(pid_, &status, 0);
                exit_ = -1;
            }
        }
    }

    [[nodiscard]] const std::string& Out() const { return outText_; }
    [[nodiscard]] const std::string& Err() const { return errText_; }

private:
    /// Reads what is there, waiting up to `ms`; false once both pipes closed.
    bool Pump(int ms)
    {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (out_ < 0 && err_ < 0) return false;
        if (::poll(fds, 2, ms) <= 0) return true;
        Drain(out_, fds[0].revents, outText_);
        Drain(err_, fds[1].revents, errText_);
        return out_ >= 0 || err_ >= 0;
    }
    static void Drain(int& fd, short revents, std::string& text)
    {
        if (fd < 0 || (revents & (POLLIN | POLLHUP)) == 0) return;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else {
            ::close(fd);
            fd = -1;
        }
    }
    void Reap(int options)
    {
        int status = 0;
        if (::waitpid(pid_, &status, options | WNOHANG) == pid_)
            exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string outText_;
    std::string errText_;
    std::optional<int> exit_;
};

} // namespace brakkon::test
