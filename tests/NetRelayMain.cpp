// net_relay: the network tests' lossy, late UDP relay as a program, to
// measure a network game by hand between two brakkon-sim processes:
//
//   net_relay TARGET_PORT [DELAY_MS JITTER_MS DROP_PERCENT SEED]
//
// It prints the loopback port to join, relays until it is interrupted, and
// then prints how many datagrams it passed on, dropped and let overtake.
#include "tests/UdpRelay.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {
volatile std::sig_atomic_t stopped = 0;
void Stop(int) { stopped = 1; }
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 6) {
        std::fputs("usage: net_relay TARGET_PORT [DELAY_MS JITTER_MS DROP_PERCENT SEED]\n", stderr);
        return 2;
    }
    brakkon::test::UdpRelay::Options options;
    if (argc == 6) {
        options.DelayMs = std::atoi(argv[2]);
        options.JitterMs = std::atoi(argv[3]);
        options.DropPercent = std::atoi(argv[4]);
        options.Seed = static_cast<std::uint32_t>(std::strtoul(argv[5], nullptr, 10));
    }
    brakkon::test::UdpRelay relay(static_cast<std::uint16_t>(std::atoi(argv[1])), options);
    std::printf("%u\n", static_cast<unsigned>(relay.Port()));
    std::fflush(stdout);
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    while (stopped == 0) ::usleep(100000);
    std::printf("passed on %d, dropped %d, overtaken %d\n", relay.Delivered(), relay.Dropped(), relay.Overtaken());
    return 0;
}
