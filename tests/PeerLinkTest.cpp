// Two links over loopback: the greetings, the start that comes, the hook that
// begins the game or refuses the start, and the close after the end.
#include "net/PeerLink.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace brakkon {
namespace {

std::int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

struct Hook {
    int Calls = 0;
    bool Accept = true;
    PeerLink::BeginGame Begin()
    {
        return [this](std::int64_t, std::string& error) {
            ++Calls;
            if (!Accept) error = "its gates are gone";
            return Accept;
        };
    }
};

/// One round of both links; true once `done` holds, false after 10 s.
bool RunUntil(PeerLink& host, Hook& hostHook, PeerLink& joiner, Hook& joinerHook, const std::function<bool()>& done)
{
    const std::int64_t deadline = NowMs() + 10000;
    while (!done()) {
        if (NowMs() > deadline) return false;
        for (auto [link, hook] : {std::pair{&host, &hostHook}, std::pair{&joiner, &joinerHook}}) {
            link->Poll(1);
            const std::int64_t now = NowMs();
            link->Dispatch(now, hook->Begin());
            link->Conversation().Tick(now);
            link->Flush();
            link->CheckClosed(now);
        }
    }
    return true;
}

TEST(PeerLinkTest, AStartTheJoinerCannotPlayEndsItsGameOnceWithTheReason)
{
    const DataIdentity data{1234, 99};
    PeerLink host(Side::Host, data);
    PeerLink joiner(Side::Joiner, data);
    host.Conversation().OfferStart({100, 16, "not a start"});
    std::string error;
    ASSERT_TRUE(host.Open({"127.0.0.1", 0}, error)) << error;
    ASSERT_TRUE(joiner.Open({"127.0.0.1", host.Connection().Port()}, error)) << error;

    Hook hostHook;
    Hook joinerHook;
    joinerHook.Accept = false;
    ASSERT_TRUE(RunUntil(host, hostHook, joiner, joinerHook, [&] { return joiner.Conversation().End().has_value(); }));
    EXPECT_GE(hostHook.Calls, 1); // the greetings agreed on the host's side
    EXPECT_EQ(joinerHook.Calls, 1);
    EXPECT_EQ(joiner.Conversation().End()->Reason, EndReason::Damaged);
    EXPECT_EQ(joiner.Conversation().End()->Message,
              "The host's start cannot be played (its gates are gone); the network game ended.");
    EXPECT_EQ(joiner.Progress(), nullptr);

    // The joiner goes; the host hears it, and the joiner's link closes.
    joiner.Close(NowMs());
    ASSERT_TRUE(RunUntil(host, hostHook, joiner, joinerHook,
                         [&] { return joiner.Closed() && host.Conversation().End().has_value(); }));
    EXPECT_EQ(joinerHook.Calls, 1);
    EXPECT_FALSE(host.Closed()); // the host has not closed its side
}

TEST(PeerLinkTest, DifferentDataFilesNeverBeginTheGame)
{
    PeerLink host(Side::Host, DataIdentity{1234, 99});
    PeerLink joiner(Side::Joiner, DataIdentity{1234, 98});
    host.Conversation().OfferStart({100, 16, "not a start"});
    std::string error;
    ASSERT_TRUE(host.Open({"127.0.0.1", 0}, error)) << error;
    ASSERT_TRUE(joiner.Open({"127.0.0.1", host.Connection().Port()}, error)) << error;

    Hook hostHook;
    Hook joinerHook;
    ASSERT_TRUE(RunUntil(host, hostHook, joiner, joinerHook, [&] {
        return host.Conversation().End().has_value() && joiner.Conversation().End().has_value();
    }));
    EXPECT_EQ(hostHook.Calls, 0);
    EXPECT_EQ(joinerHook.Calls, 0);
}

} // namespace
} // namespace brakkon
