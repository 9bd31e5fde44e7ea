#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <tuple>

#include "reference/PlainRankedWalks.h"
#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;
using Listing = std::pair<std::vector<qcDirectedGraphPath>, std::vector<double>>;
struct Walk { qcIndexArray nodes, links; double score; };

Listing ranked(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t k,
               std::int32_t minLength = -1, std::int32_t maxLength = -1)
{
    Listing l{{qcDirectedGraphPath({9}, {})}, {9.0}};
    g.shortestPath(start, end, k, minLength, maxLength, l.first, l.second);
    return l;
}
Listing walks(const std::vector<Walk>& list)
{
    Listing l;
    for (const Walk& w : list) {
        l.first.emplace_back(w.nodes, w.links);
        l.second.push_back(w.score);
    }
    return l;
}

TEST(RankedWalks, HandCheckedListings)
{
    qctest::AssertRecorder asserts;
    const qcDirectedGraph cycle = makeGraph(3, {{0, 1}, {1, 0}, {1, 2, 5.0}});  // 0 <-> 1 --> 2
    const qcDirectedGraph shortcut = makeGraph(3, {{0, 1}, {1, 0}, {0, 2}});
    const qcDirectedGraph line = makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 5.0}});
    const qcDirectedGraph flagged = makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 3.0, 1}});
    const struct { const char* name; Listing got; std::vector<Walk> want; } cases[] = {
        {"a square, ties made first", ranked(makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}), 0, 3, 3), {{{0, 2, 3}, {1, 3}, 2}, {{0, 1, 3}, {0, 2}, 2}}},
        {"round a cycle", ranked(cycle, 0, 2, 3), {{{0, 1, 2}, {0, 2}, 6}, {{0, 1, 0, 1, 2}, {0, 1, 0, 2}, 8}, {{0, 1, 0, 1, 0, 1, 2}, {0, 1, 0, 1, 0, 2}, 10}}},
        {"back to the start", ranked(cycle, 0, 0, 3), {{{0}, {}, 0}, {{0, 1, 0}, {0, 1}, 2}, {{0, 1, 0, 1, 0}, {0, 1, 0, 1}, 4}}},
        {"min length 1", ranked(cycle, 0, 0, 2, 1), {{{0, 1, 0}, {0, 1}, 2}, {{0, 1, 0, 1, 0}, {0, 1, 0, 1}, 4}}},
        {"max length 0", ranked(cycle, 0, 0, 3, -4, 0), {{{0}, {}, 0}}},
        {"too short, but counted", ranked(shortcut, 0, 2, 1, 2), {}},
        {"min length 2", ranked(shortcut, 0, 2, 2, 2), {{{0, 1, 0, 2}, {0, 1, 2}, 3}}},
        {"min length = max length", ranked(cycle, 0, 0, 2, 2, 2), {{{0, 1, 0}, {0, 1}, 2}}},
        {"parallel links name the first", ranked(makeGraph(2, {{0, 1, 1.0}, {0, 1, 2.0}}), 0, 1, 5), {{{0, 1}, {1}, 1}, {{0, 1}, {1}, 2}}},
        {"flags not looked at", ranked(flagged, 0, 2, 5), {{{0, 1, 2}, {0, 1}, 2}, {{0, 2}, {2}, 3}}},
        {"max length 1", ranked(line, 0, 2, 5, -1, 1), {{{0, 2}, {2}, 5}}}, {"min length 3", ranked(line, 0, 2, 1, 3, -1), {}},
        {"no 1e12 bound", ranked(makeGraph(2, {{0, 1, 2.0e12}}), 0, 1, 3), {{{0, 1}, {0}, 2.0e12}}},
        {"unreachable", ranked(makeGraph(3, {{0, 1}, {1, 0}}), 0, 2, 3), {}}, {"NaN never taken", ranked(makeGraph(2, {{0, 1, NAN}}), 0, 1, 3), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, walks(c.want)) << c.name;
    EXPECT_TRUE(asserts.numbers.empty());

    const struct { const char* name; std::int32_t start, end, k, minLength, maxLength; } bad[] = {
        {"k 0", 0, 2, 0, -1, -1}, {"k negative", 0, 2, -3, -1, -1}, {"start -1", -1, 2, 1, -1, -1}, {"end n", 0, 3, 1, -1, -1},
        {"start n", 3, 0, 1, -1, -1}, {"end -1", 0, -1, 1, -1, -1}, {"min above max", 0, 2, 1, 3, 2}, {"max 0 below min 1", 0, 2, 1, 1, 0}};
    for (const auto& b : bad) {
        Listing untouched{std::vector<qcDirectedGraphPath>(2), {1.0, 2.0, 3.0}}, out = untouched;
        EXPECT_THROW(line.shortestPath(b.start, b.end, b.k, b.minLength, b.maxLength, out.first, out.second), qcInvariantFailure) << b.name;
        EXPECT_EQ(out, untouched) << b.name;
    }
    const std::pair<std::int32_t, std::int32_t> notNodes[] = {{-1, 0}, {0, 3}, {3, 0}, {0, -1}};
    for (const auto& [from, to] : notNodes)
        EXPECT_THROW(line.reaches(from, to), qcInvariantFailure) << from << " to " << to;
}

TEST(RankedWalks, AbortCheckBeforeEvery64thTakingKeepsTheWalksListed)
{
    // A self-link at node 0: every taking lists one more walk round it.
    const qcDirectedGraph loop = makeGraph(1, {{0, 0}});
    qctest::CheckCounter counter;
    EXPECT_EQ(ranked(loop, 0, 0, 1).first.size(), 1u);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(ranked(loop, 0, 0, 65).first.size(), 65u);
    EXPECT_EQ(counter.calls, 3);

    // A cancel raised at the fifth check, before takings 257..320: that check throws, the 256
    // walks listed stay, the request stays raised until cleared, the graph is unchanged.
    qctest::CheckCounter cancelOnFifth(5);
    Listing got;
    EXPECT_THROW(loop.shortestPath(0, 0, 1000000, -1, -1, got.first, got.second), qcAttentionAbort);
    EXPECT_EQ(std::make_tuple(cancelOnFifth.calls, got.second.size(), got.second.empty() ? 0.0 : got.second.back()),
              std::make_tuple(5L, std::size_t{256}, 255.0));
    EXPECT_THROW(ranked(loop, 0, 0, 1), qcAttentionAbort);
    qcAttention::clearAbort();
    EXPECT_EQ(ranked(loop, 0, 0, 2), walks({{{0}, {}, 0}, {{0, 0}, {0}, 1}}));
}

// Scores that a shortcut could get wrong, each question compared with the plain procedure.
// Above 1e16, 1 and 2 add the same as 0 and 1 (or 1 and 2) do: the tie then goes to the link
// first in the chain (stored last), not to the lower score.
TEST(RankedWalks, SameAsPlainScanOnAdversarialScores)
{
    qctest::AssertRecorder asserts;
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    const struct { const char* name; std::vector<qctest::LinkSpec> links; std::int32_t end, k, maxLength; } cases[] = {
        {"1e16 + 0 = 1e16 + 1", {{0, 1, 1e16}, {1, 2, 0}, {1, 3, 1}, {2, 4, 0}, {3, 4, 0}}, 4, 1, -1},
        {"1e16 + 2 + 1 = 1e16 + 2 + 2", {{0, 1, 1e16 + 2}, {1, 2, 1}, {1, 3, 2}, {2, 4, 0}, {3, 4, 0}}, 4, 3, -1},
        {"-inf + 1 = -inf + 2", {{0, 1, -inf}, {1, 2, 1}, {1, 3, 2}, {2, 4, 0}, {3, 4, 0}, {0, 4, -inf}}, 4, 4, -1},
        {"zero and negative scores, a negative cycle", {{0, 1, 0}, {1, 0, -1}, {0, 2, -0.0}, {1, 2, 0}, {2, 2, 0}}, 2, 8, 6},
        {"parallel links", {{0, 1, 2}, {0, 1, 1}, {0, 1, 1}, {1, 2, 0}, {0, 2, 2}, {1, 2, 0}}, 2, 9, -1},
        {"equal costs from different walks", {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {2, 4}, {3, 4}, {1, 2, 0}, {2, 3, 0}}, 4, 6, -1},
        {"NaN, infinite and overflowing scores", {{0, 1, nan}, {0, 1, inf}, {0, 1, 1e308}, {1, 2, 1e308}, {1, 2, 1}, {0, 2, -inf}, {2, 2, inf}}, 2, 5, -1},
        {"the same, no negative score", {{0, 1, nan}, {0, 1, inf}, {0, 1, 1e308}, {1, 2, 1e308}, {1, 2, 1}, {0, 2, 3}, {2, 2, inf}}, 2, 5, -1},
        {"zero cycles, more takings than fit one block", {{0, 1, 0}, {1, 0, 0}, {1, 2, 0}, {0, 2, 0}, {2, 2, 0}, {2, 3, 1}, {3, 2, -0.0}}, 2, 40, -1},
    };
    for (const auto& c : cases) {
        const qcDirectedGraph g = makeGraph(5, c.links);
        for (std::int32_t k = 1; k <= c.k; ++k)
            EXPECT_EQ(qcref::differsFromPlain(g, 0, c.end, k, -1, c.maxLength), nullptr) << c.name << ", k = " << k;
    }
    EXPECT_TRUE(asserts.numbers.empty());
}

// Small integer, zero and negative scores so that ties are frequent, parallel links, self-links
// and cycles; now and then a NaN, infinite or huge (1e16) score. A second thread reads the same
// graph at the same time (under ThreadSanitizer this shows that searching writes nothing shared).
TEST(RankedWalks, SameAsPlainScanOnRandomGraphs)
{
    qctest::AssertRecorder asserts;
    std::mt19937 rng(7);
    const double odd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), -1.0, 1e16};
    for (int round = 0; round < 3000; ++round) {
        const long n = 1 + static_cast<long>(rng() % 7);
        qcDirectedGraph g = makeGraph(n, {});
        for (long k = static_cast<long>(rng() % 16); k > 0; --k) {
            const unsigned pick = rng() % 21;
            g.addLinkFastUnsafe(static_cast<long>(rng() % n), static_cast<long>(rng() % n), pick < 4 ? odd[pick] : rng() % 4);
        }
        const auto minLength = static_cast<std::int32_t>(rng() % 5) - 1;
        const std::int32_t maxLength = rng() % 6 == 0 ? -1 : std::max(minLength, 0) + static_cast<std::int32_t>(rng() % 5);
        const auto start = static_cast<std::int32_t>(rng() % n), end = static_cast<std::int32_t>(rng() % n);
        std::thread reader([&] { EXPECT_EQ(qcref::differsFromPlain(g, end, start, 3, -1, 4), nullptr) << "round " << round; });
        // Now and then more than 16 takings of a node continue.
        const auto k = static_cast<std::int32_t>(1 + rng() % (round % 8 == 0 ? 40 : 6));
        EXPECT_EQ(qcref::differsFromPlain(g, start, end, k, minLength, maxLength), nullptr) << "round " << round;
        EXPECT_EQ(g.reaches(start, end), !ranked(g, start, end, 1, 1).first.empty()) << "round " << round;
        reader.join();
    }
    EXPECT_TRUE(asserts.numbers.empty());
}

}  // namespace
