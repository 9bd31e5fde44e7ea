#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/GraphTestSupport.h"

namespace {

// A self-link at node 0: every taking of the ranked search lists one more walk round it, and
// check() runs before takings 1, 65, 129, ...
const qcDirectedGraph loop = qctest::makeGraph(1, {{0, 0}});

// The number of walks listed before the search ended, and whether it was aborted.
std::pair<std::size_t, bool> walksRound(std::int32_t k)
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

// On its third check, the searching thread asks a canceller thread to cancel its token and
// waits until it has: that same check then throws. Other threads' checks pass straight through.
struct CancelFromAnotherThread {
    inline static thread_local int checks = 0;
    inline static thread_local bool asks = false;
    inline static std::mutex m;
    inline static std::condition_variable changed;
    inline static bool asked = false, done = false;
    qcAttention::Hook previous = qcAttention::setHook([] {
        if (!asks || ++checks != 3)
            return;
        std::unique_lock<std::mutex> lock(m);
        asked = true;
        changed.notify_all();
        changed.wait(lock, [] { return done; });
    });
    ~CancelFromAnotherThread() { qcAttention::setHook(previous); }

    static void cancelWhenAsked(qcCancelToken& token)
    {
        std::unique_lock<std::mutex> lock(m);
        changed.wait(lock, [] { return asked; });
        token.cancel();
        done = true;
        changed.notify_all();
    }
};

TEST(CancelToken, CancelsOnlyTheSearchesOfTheThreadsBoundToIt)
{
    CancelFromAnotherThread hook;
    qcCancelToken mine, theirs;
    std::pair<std::size_t, bool> cancelled, untouched;
    std::thread searcher([&] {
        const qcAttention::Scope bound(mine);
        CancelFromAnotherThread::asks = true;
        cancelled = walksRound(1000);
    });
    std::thread other([&] {
        const qcAttention::Scope bound(theirs);
        untouched = walksRound(1000);
    });
    std::thread canceller([&] { CancelFromAnotherThread::cancelWhenAsked(mine); });
    for (std::thread* t : {&searcher, &other, &canceller})
        t->join();
    EXPECT_EQ(cancelled, std::make_pair(std::size_t{128}, true));
    EXPECT_EQ(untouched, std::make_pair(std::size_t{1000}, false));
    EXPECT_TRUE(mine.cancelRequested());
    EXPECT_FALSE(theirs.cancelled());
    EXPECT_FALSE(qcAttention::abortRequested());
}

TEST(CancelToken, BindsWhileItsScopeLivesAndNests)
{
    qcCancelToken outer, inner;
    outer.cancel();
    {
        const qcAttention::Scope a(outer);
        const qcAttention::Scope b(inner);
        EXPECT_EQ(walksRound(10), std::make_pair(std::size_t{0}, true));  // the outer token counts too
    }
    EXPECT_EQ(walksRound(10), std::make_pair(std::size_t{10}, false));  // unbound again
    outer.reset();
    const qcAttention::Scope a(outer);
    EXPECT_EQ(walksRound(10), std::make_pair(std::size_t{10}, false));
    inner.cancel();  // cancelled but no longer bound
    EXPECT_EQ(walksRound(10), std::make_pair(std::size_t{10}, false));
}

TEST(CancelToken, DeadlinePassedCountsAsCancelled)
{
    qcCancelToken token;
    token.deadline(qcCancelToken::Clock::now() + std::chrono::hours(1));
    EXPECT_FALSE(token.cancelled());
    token.deadline(qcCancelToken::Clock::now());
    EXPECT_TRUE(token.expired());
    EXPECT_FALSE(token.cancelRequested());
    const qcAttention::Scope bound(token);
    EXPECT_EQ(walksRound(100), std::make_pair(std::size_t{0}, true));
    token.deadline(qcCancelToken::Clock::time_point::max());
    EXPECT_EQ(walksRound(100), std::make_pair(std::size_t{100}, false));
}

}  // namespace
