#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "support/GraphTestSupport.h"

namespace {

// The searching thread's check hook stops at its chosen call and waits there until the other
// thread has raised the abort request; no sleeps, no timing.
struct Handshake {
    std::mutex mutex;
    std::condition_variable changed;
    long calls = 0;
    long stopAt = 0;
    bool atCheck = false;
    bool requested = false;
};
Handshake handshake;

void waitForAbortRequest()
{
    std::unique_lock<std::mutex> lock(handshake.mutex);
    if (++handshake.calls != handshake.stopAt)
        return;
    handshake.atCheck = true;
    handshake.changed.notify_all();
    handshake.changed.wait(lock, [] { return handshake.requested; });
}

}  // namespace

TEST(Cancellation, AbortFromAnotherThreadStopsARankedSearchAtItsNextCheck)
{
    //   0 <--> 1 --> 2     endless walks 0,1,0,1,...,2: the search would run for a long time
    const qcDirectedGraph g = qctest::makeGraph(3, {{0, 1, 1.0}, {1, 0, 1.0}, {1, 2, 5.0}});
    const qcDirectedGraph before = g;
    handshake.stopAt = 5;  // before takings 257..320
    const qcAttention::Hook previous = qcAttention::setHook(&waitForAbortRequest);

    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    bool aborted = false;
    std::thread search([&] {
        try {
            g.shortestPath(0, 2, 1000000, -1, -1, paths, scores);
        } catch (const qcAttentionAbort&) {
            aborted = true;
        }
    });
    std::thread requester([] {
        std::unique_lock<std::mutex> lock(handshake.mutex);
        handshake.changed.wait(lock, [] { return handshake.atCheck; });
        qcAttention::requestAbort();
        handshake.requested = true;
        handshake.changed.notify_all();
    });
    search.join();
    requester.join();
    qcAttention::setHook(previous);

    EXPECT_TRUE(aborted);
    EXPECT_EQ(handshake.calls, 5);  // the check that saw the request threw: no further takings
    ASSERT_FALSE(paths.empty());    // what was listed before the abort stays
    ASSERT_EQ(paths.size(), scores.size());
    for (std::size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(scores[i], 6.0 + 2.0 * static_cast<double>(i));
    EXPECT_TRUE(g == before);

    // While the request stands every search stops at once; cleared, they run normally.
    EXPECT_THROW(g.shortestPath(0, 2, 3, -1, -1, paths, scores), qcAttentionAbort);
    qcAttention::clearAbort();
    g.shortestPath(0, 2, 3, -1, -1, paths, scores);
    EXPECT_EQ(scores, (std::vector<double>{6.0, 8.0, 10.0}));
}
