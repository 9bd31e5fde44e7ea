#ifndef QCGRAPH_TEST_SUPPORT_H
#define QCGRAPH_TEST_SUPPORT_H

// Helpers shared by the test files: chain walks, the container's invariants, and recorders for
// the assertion hook and the abort check.

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "qcAttention.h"
#include "qcDirectedGraph.h"
#include "qstdAssert.h"

namespace qctest {

// The links of node n's chain, in chain order (stops after numLinks() steps so a broken chain
// shows up as a failed expectation, not a hang).
inline std::vector<long> chainOf(const qcDirectedGraph& g, long n)
{
    std::vector<long> chain;
    for (long k = g.node(n).firstChild(); k != -1 && static_cast<long>(chain.size()) <= g.numLinks();
         k = g.link(k).nextChild())
        chain.push_back(k);
    return chain;
}

// Ids equal indices; every link with id != -1 stands exactly once in its nodeA's chain and in
// no other; default slots (id -1) stand in none.
inline void expectInvariants(const qcDirectedGraph& g)
{
    std::vector<int> seen(static_cast<std::size_t>(g.numLinks()), 0);
    for (long n = 0; n < g.numNodes(); ++n) {
        ASSERT_EQ(g.node(n).id(), n);
        for (long k : chainOf(g, n)) {
            ASSERT_GE(k, 0);
            ASSERT_LT(k, g.numLinks());
            EXPECT_EQ(g.link(k).nodeA(), n) << "link " << k << " in the chain of node " << n;
            ++seen[static_cast<std::size_t>(k)];
        }
    }
    for (long k = 0; k < g.numLinks(); ++k) {
        const qcDirectedGraphLink& l = g.link(k);
        if (l.id() == -1) {
            EXPECT_EQ(seen[static_cast<std::size_t>(k)], 0) << "default slot " << k << " is chained";
        } else {
            EXPECT_EQ(l.id(), k);
            EXPECT_EQ(seen[static_cast<std::size_t>(k)], 1) << "link " << k;
            EXPECT_GE(l.nodeB(), 0);
            EXPECT_LT(l.nodeB(), g.numNodes());
        }
    }
}

// Records every number reported to qstd_assert_ while it lives.
class AssertRecorder {
public:
    AssertRecorder() : mPrevious(qstd_set_assert_handler(&record)) { numbers().clear(); }
    ~AssertRecorder() { qstd_set_assert_handler(mPrevious); }
    AssertRecorder(const AssertRecorder&) = delete;
    AssertRecorder& operator=(const AssertRecorder&) = delete;

    static std::vector<int>& numbers()
    {
        static std::vector<int> recorded;
        return recorded;
    }

private:
    static void record(int line) { numbers().push_back(line); }
    qstdAssertHandler mPrevious;
};

// Counts qcAttention::check() calls while it lives; optionally throws on the n-th call.
class CheckCounter {
public:
    explicit CheckCounter(long throwOnCall = 0) : mPrevious(qcAttention::setHook(&onCheck))
    {
        calls() = 0;
        throwOn() = throwOnCall;
    }
    ~CheckCounter() { qcAttention::setHook(mPrevious); }
    CheckCounter(const CheckCounter&) = delete;
    CheckCounter& operator=(const CheckCounter&) = delete;

    static long& calls()
    {
        static long count = 0;
        return count;
    }

    // What onCheck throws on the chosen call.
    struct Stop {};

private:
    static long& throwOn()
    {
        static long n = 0;
        return n;
    }
    static void onCheck()
    {
        if (++calls() == throwOn())
            throw Stop();
    }
    qcAttention::Hook mPrevious;
};

// A node at (x, y).
inline qcDirectedGraphNode nodeAt(double x, double y)
{
    qcDirectedGraphNode n;
    n.position(qcVector<2>(x, y));
    return n;
}

// A graph of n nodes at (i, 0) and the given links, stored with addLink in order.
struct LinkSpec {
    long a;
    long b;
    double score = 1.0;
};
inline qcDirectedGraph makeGraph(long n, const std::vector<LinkSpec>& links)
{
    qcDirectedGraph g;
    for (long i = 0; i < n; ++i)
        g.addNode(nodeAt(static_cast<double>(i), 0.0));
    for (const LinkSpec& l : links)
        g.addLink(qcDirectedGraphLink(l.a, l.b, l.score));
    return g;
}

}  // namespace qctest

#endif
