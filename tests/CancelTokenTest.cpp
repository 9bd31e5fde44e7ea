#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "support/GraphTestSupport.h"

namespace {

// A self-link at node 0: every taking of the ranked search lists one more walk round it, and
// check() runs before takings 1, 65, 129, ...
const qcDirectedGraph loop = qctest::makeGraph(1, {{0, 0}});
using Ended = std::pair<std::size_t, bool>;  // walks listed, aborted

Ended walksRound(std::int32_t k)
{
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    try {
        loop.shortestPath(0, 0, k, -1, -1, paths, scores);
    } catch (const qcAttentionAbort&) {
        return {scores.size(), true};
    }
    return {scores.size(), false};
}

// At its third check the thread marked `asks` lets another thread cancel its token and waits
// until it has, so that very check throws; other threads' checks pass straight through.
std::promise<void> asked, cancelled;
thread_local int checks = 0;
thread_local bool asks = false;

TEST(CancelToken, CancelsOnlyTheSearchesOfTheThreadsBoundToIt)
{
    const qcAttention::Hook previous = qcAttention::setHook([] {
        if (asks && ++checks == 3) {
            asked.set_value();
            cancelled.get_future().wait();
        }
    });
    qcCancelToken mine, theirs;
    Ended stopped, untouched;
    std::thread searcher([&] {
        const qcAttention::Scope bound(mine);
        asks = true;
        stopped = walksRound(1000);
    });
    std::thread other([&] {
        const qcAttention::Scope bound(theirs);
        untouched = walksRound(1000);
    });
    asked.get_future().wait();
    mine.cancel();
    cancelled.set_value();
    searcher.join();
    other.join();
    qcAttention::setHook(previous);
    EXPECT_EQ(stopped, Ended(128, true));
    EXPECT_EQ(untouched, Ended(1000, false));
    EXPECT_FALSE(theirs.cancelled());
    EXPECT_FALSE(qcAttention::abortRequested());
}

// Every token bound on the thread counts, while its scope lives; a deadline passed counts as a
// cancel (the Python tests' timeouts show it stopping a search).
TEST(CancelToken, BindsWhileItsScopeLivesAndNests)
{
    qcCancelToken outer, inner;
    outer.cancel();
    {
        const qcAttention::Scope a(outer), b(inner);
        EXPECT_EQ(walksRound(10), Ended(0, true));
    }
    EXPECT_EQ(walksRound(10), Ended(10, false));
    inner.deadline(qcCancelToken::Clock::now());
    EXPECT_TRUE(inner.cancelled());
    EXPECT_FALSE(inner.cancelRequested());
    inner.deadline(qcCancelToken::Clock::time_point::max());
    EXPECT_FALSE(inner.cancelled());
}

}  // namespace
