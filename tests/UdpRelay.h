// A lossy, late link for the network tests: a UDP relay on the loopback
// address that holds each datagram for a delay drawn around DelayMs (so that
// some overtake others), drops DropPercent of them, and passes the rest on,
// in both directions between the first client that writes to it and the
// target port. Seeded: the same seed draws the same delays and drops.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <queue>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

namespace brakkon::test {

class UdpRelay {
public:
    struct Options {
        int DelayMs = 40;
        int JitterMs = 10; ///< delays spread evenly over DelayMs +- JitterMs
        int DropPercent = 5;
        std::uint32_t Seed = 1;
    };

    UdpRelay(std::uint16_t targetPort, Options options) : options_(options), random_(options.Seed)
    {
        front_ = OpenLoopback();
        back_ = OpenLoopback();
        target_ = Loopback(targetPort);
        sockaddr_in bound{};
        socklen_t size = sizeof bound;
        ::getsockname(front_, reinterpret_cast<sockaddr*>(&bound), &size);
        port_ = ntohs(bound.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~UdpRelay()
    {
        stop_ = true;
        thread_.join();
        ::close(front_);
        ::close(back_);
    }
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    /// Where the client connects.
    [[nodiscard]] std::uint16_t Port() const { return port_; }
    [[nodiscard]] int Delivered() const { return delivered_; }
    [[nodiscard]] int Dropped() const { return dropped_; }
    /// Datagrams that arrived after one sent later in the same direction.
    [[nodiscard]] int Overtaken() const { return overtaken_; }

private:
    using Clock = std::chrono::steady_clock;
    struct Datagram {
        Clock::time_point Due;
        std::uint64_t Sequence = 0;
        bool ToTarget = true;
        std::vector<std::uint8_t> Bytes;
        bool operator>(const Datagram& other) const { return Due > other.Due; }
    };

    static sockaddr_in Loopback(std::uint16_t port)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return a;
    }
    static int OpenLoopback()
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        const sockaddr_in any = Loopback(0);
        if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0)
            throw std::runtime_error("relay: cannot open a loopback socket");
        return fd;
    }

    void Receive(int fd, bool toTarget)
    {
        std::vector<std::uint8_t> bytes(65536);
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t n = ::recvfrom(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (n < 0) return;
        if (toTarget && !haveClient_) {
            client_ = from;
            haveClient_ = true;
        }
        bytes.resize(static_cast<std::size_t>(n));
        const bool drop = std::uniform_int_distribution<int>(0, 99)(random_) < options_.DropPercent;
        const int delay = std::uniform_int_distribution<int>(options_.DelayMs - options_.JitterMs,
                                                             options_.DelayMs + options_.JitterMs)(random_);
        if (drop) {
            ++dropped_;
            return;
        }
        queue_.push({Clock::now() + std::chrono::milliseconds(delay), sequence_[toTarget]++, toTarget, std::move(bytes)});
    }

    void Run()
    {
        while (!stop_) {
            while (!queue_.empty() && queue_.top().Due <= Clock::now()) {
                const Datagram& d = queue_.top();
                const sockaddr_in& to = d.ToTarget ? target_ : client_;
                ::sendto(d.ToTarget ? back_ : front_, d.Bytes.data(), d.Bytes.size(), 0,
                         reinterpret_cast<const sockaddr*>(&to), sizeof to);
                std::uint64_t& newest = newestSent_[d.ToTarget];
                if (d.Sequence < newest) ++overtaken_;
                newest = std::max(newest, d.Sequence);
                ++delivered_;
                queue_.pop();
            }
            pollfd fds[2] = {{front_, POLLIN, 0}, {back_, POLLIN, 0}};
            if (::poll(fds, 2, 1) <= 0) continue;
            if ((fds[0].revents & POLLIN) != 0) Receive(front_, true);
            if ((fds[1].revents & POLLIN) != 0) Receive(back_, false);
        }
    }

    Options options_;
    std::mt19937 random_;
    int front_ = -1; ///< faces the client
    int back_ = -1;  ///< faces the target
    sockaddr_in target_{};
    sockaddr_in client_{};
    bool haveClient_ = false;
    std::uint16_t port_ = 0;
    std::priority_queue<Datagram, std::vector<Datagram>, std::greater<>> queue_;
    std::uint64_t sequence_[2] = {};
    std::uint64_t newestSent_[2] = {};
    std::atomic<int> delivered_{0};
    std::atomic<int> dropped_{0};
    std::atomic<int> overtaken_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace brakkon::test
