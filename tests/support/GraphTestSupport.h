#ifndef QCGRAPH_TEST_SUPPORT_H
#define QCGRAPH_TEST_SUPPORT_H

// Helpers of the unit tests: small graphs, chain walks, and recorders for the assertion hook
// and the abort check.

#include <gtest/gtest.h>

#include <vector>

#include <sstream>

#include "qcAttention.h"
#include "qcConStream.h"
#include "qstdAssert.h"
#include "support/GraphChecks.h"

namespace qctest {

// The links of node n's chain, in chain order, up to where a broken chain stops.
inline std::vector<long> chainOf(const qcDirectedGraph& g, long n)
{
    std::vector<long> chain;
    for (const qcChainEntry e : g.outLinks(n))
        chain.push_back(e.index);
    return chain;
}

// Records every number reported to qstd_assert_ while it lives.
struct AssertRecorder {
    inline static std::vector<int> numbers;
    qstdAssertHandler previous = qstd_set_assert_handler([](int line) { numbers.push_back(line); });
    AssertRecorder() { numbers.clear(); }
    ~AssertRecorder() { qstd_set_assert_handler(previous); }
};

// Counts qcAttention::check() calls while it lives; on call number abortOn it requests an
// abort, as a user's "cancel" from another thread would, so that very check throws.
struct CheckCounter {
    inline static long calls = 0, abortOn = 0;
    qcAttention::Hook previous = qcAttention::setHook([] {
        if (++calls == abortOn) qcAttention::requestAbort();
    });
    explicit CheckCounter(long abortAt = 0) { calls = 0, abortOn = abortAt; }
    ~CheckCounter() { qcAttention::setHook(previous); qcAttention::clearAbort(); }
};

// Takes over qfNoxOut() while it lives, marking with "|" every flush.
struct TraceCapture : std::wstringbuf {
    std::wstreambuf* previous = qfNoxOut().rdbuf(this);
    ~TraceCapture() override { qfNoxOut().rdbuf(previous); }
    int sync() override { return sputc(L'|'), 0; }
};

// A graph of n nodes at (i, 0) and the given links, stored with addLink in order; a link from
// -1 leaves a default slot.
struct LinkSpec {
    long a, b;
    double score = 1.0;
    std::uint32_t flags = 0;
};
inline qcDirectedGraph makeGraph(long n, const std::vector<LinkSpec>& links)
{
    qcDirectedGraph g;
    qcDirectedGraphNode node;
    for (long i = 0; i < n; ++i) {
        node.position(qcVector<2>(static_cast<double>(i), 0.0));
        g.addNode(node);
    }
    for (const LinkSpec& l : links) {
        qcDirectedGraphLink link(l.a, l.b, l.score);
        link.flags = l.flags;
        if (l.a == -1)  // leaves a default slot behind
            EXPECT_THROW(g.addLink(link), qcInvariantFailure);
        else
            g.addLink(link);
    }
    return g;
}

}  // namespace qctest

#endif
