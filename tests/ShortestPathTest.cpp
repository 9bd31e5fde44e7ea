#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;

// Node and link arrays of a search result.
using Found = std::pair<qcIndexArray, qcIndexArray>;

// The two forms, run into arrays that held something before.
Found between(const qcDirectedGraph& g, std::int32_t start, std::int32_t end)
{
    Found f{{7, 7, 7}, {7}};
    g.shortestPath(start, end, f.first, f.second);
    return f;
}

Found overLink(const qcDirectedGraph& g, std::int32_t link)
{
    Found f{{7, 7}, {7, 7}};
    g.shortestPath(link, f.first, f.second);
    return f;
}

TEST(ShortestPath, HandCheckedGraphs)
{
    //   0 --> 1
    //   |     |
    //   v     v
    //   2 --> 3     node 0's chain offers link 1 first, and node 2 leaves the heap first
    EXPECT_EQ(between(makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}), 0, 3), Found({0, 2, 3}, {1, 3}));
    EXPECT_EQ(between(makeGraph(2, {{0, 1, 1.0}, {0, 1, 2.0}}), 0, 1), Found({0, 1}, {0}));
    // Node 0 pushes 1 (1.0), 2 (2.0), 3 (2.0), 4 (3.0); when 1 leaves, 4 sinks and the right
    // child 3 wins the tie with 2, so 3 is settled first and becomes 5's predecessor.
    EXPECT_EQ(between(makeGraph(6, {{0, 4, 3.0}, {0, 3, 2.0}, {0, 2, 2.0}, {0, 1, 1.0}, {2, 5}, {3, 5}}), 0, 5),
              Found({0, 3, 5}, {1, 5}));
    // Node 1 is settled before node 2, so the cheaper way through the negative link is not seen.
    EXPECT_EQ(between(makeGraph(3, {{0, 1, 1.0}, {0, 2, 2.0}, {2, 1, -5.0}}), 0, 1), Found({0, 1}, {0}));

    qcDirectedGraph flagged = makeGraph(3, {{0, 1}, {1, 2}});
    qcDirectedGraphLink direct(0, 2, 3.0);
    direct.flags = 1;
    flagged.addLink(direct);
    EXPECT_EQ(between(flagged, 0, 2), Found({0, 1, 2}, {0, 1}));
    EXPECT_EQ(overLink(flagged, 2), Found({0, 1, 2}, {0, 1}));
    EXPECT_EQ(between(makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 1.5}}), 0, 2), Found({0, 2}, {2}));
    EXPECT_EQ(overLink(makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 1.5}}), 2), Found({0, 2}, {2}));

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(between(makeGraph(2, {{0, 1, 2.0e12}}), 0, 1), Found({}, {}));
    EXPECT_EQ(between(makeGraph(2, {{0, 1, nan}, {0, 1, inf}}), 0, 1), Found({}, {}));
    EXPECT_EQ(between(makeGraph(3, {{0, 1, nan}, {0, 2}, {2, 1}, {0, 1, inf}}), 0, 1), Found({0, 2, 1}, {1, 2}));
    EXPECT_EQ(between(makeGraph(3, {{1, 0}}), 0, 1), Found({}, {}));
    EXPECT_EQ(between(makeGraph(3, {}), 2, 2), Found({2}, {}));
    EXPECT_EQ(overLink(makeGraph(2, {{1, 1}}), 0), Found({1}, {}));
}

TEST(ShortestPath, BadIndicesGiveEmptyArrays)
{
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {1, 2}});
    for (const auto& [s, e] : {std::pair{-1, 2}, {0, 3}, {3, 0}, {0, -5}})
        EXPECT_EQ(between(g, s, e), Found({}, {}));
    EXPECT_EQ(overLink(g, -1), Found({}, {}));
    EXPECT_EQ(overLink(g, 2), Found({}, {}));
    EXPECT_EQ(between(qcDirectedGraph(), 0, 0), Found({}, {}));

    qcDirectedGraph withSlot = g;
    EXPECT_THROW(withSlot.addLink(qcDirectedGraphLink(0, 9)), qcInvariantFailure);
    EXPECT_EQ(overLink(withSlot, 2), Found({}, {}));  // the default slot, ends -1
}

TEST(ShortestPath, AbortCheckEvery64Passes)
{
    std::vector<qctest::LinkSpec> chain;
    for (long i = 0; i + 1 < 65; ++i)
        chain.push_back({i, i + 1});
    const qcDirectedGraph g = makeGraph(65, chain);
    {
        qctest::CheckCounter counter;
        EXPECT_EQ(between(g, 5, 5), Found({5}, {}));
        EXPECT_EQ(counter.calls(), 1);
        EXPECT_EQ(between(g, 0, 63).first.size(), 64u);  // 64 passes
        EXPECT_EQ(counter.calls(), 2);
        EXPECT_EQ(between(g, 0, 64).first.size(), 65u);  // 65 passes
        EXPECT_EQ(counter.calls(), 4);
    }
    qctest::CheckCounter stopOnSecond(2);
    qcIndexArray nodes{1}, links{1};
    EXPECT_THROW(g.shortestPath(0, 64, nodes, links), qctest::CheckCounter::Stop);
    EXPECT_TRUE(nodes.empty());
    EXPECT_TRUE(links.empty());
}

// Distances by Bellman-Ford over the links whose flags bit 0 is clear.
std::vector<double> bellmanFord(const qcDirectedGraph& g, long start)
{
    std::vector<double> d(static_cast<std::size_t>(g.numNodes()), std::numeric_limits<double>::infinity());
    d[static_cast<std::size_t>(start)] = 0.0;
    for (long round = 0; round < g.numNodes(); ++round)
        for (long k = 0; k < g.numLinks(); ++k) {
            const qcDirectedGraphLink& l = g.link(k);
            if (!(l.flags & 1u))
                d[static_cast<std::size_t>(l.nodeB())] = std::min(
                    d[static_cast<std::size_t>(l.nodeB())], d[static_cast<std::size_t>(l.nodeA())] + l.score());
        }
    return d;
}

TEST(ShortestPath, MatchesBellmanFordOnRandomGraphs)
{
    std::mt19937 rng(20261206);
    for (int round = 0; round < 400; ++round) {
        const long n = 1 + static_cast<long>(rng() % 12);
        qcDirectedGraph g = makeGraph(n, {});
        for (long k = static_cast<long>(rng() % 40); k > 0; --k) {
            qcDirectedGraphLink l(static_cast<long>(rng() % n), static_cast<long>(rng() % n),
                                  static_cast<double>(rng() % 6));
            l.flags = rng() % 8 == 0 ? 1u : 0u;
            g.addLink(l);
        }
        const auto start = static_cast<std::int32_t>(rng() % n);
        const std::vector<double> d = bellmanFord(g, start);
        for (std::int32_t end = 0; end < n; ++end) {
            const Found f = between(g, start, end);
            SCOPED_TRACE(testing::Message() << "round " << round << " end " << end);
            if (std::isinf(d[static_cast<std::size_t>(end)])) {
                EXPECT_TRUE(f.first.empty() && f.second.empty());
                continue;
            }
            ASSERT_EQ(f.first.size(), f.second.size() + 1);
            EXPECT_EQ(f.first.front(), start);
            EXPECT_EQ(f.first.back(), end);
            double total = 0.0;
            for (std::size_t i = 0; i < f.second.size(); ++i) {
                const qcDirectedGraphLink& l = g.link(f.second[i]);
                EXPECT_EQ(l.nodeA(), f.first[i]);
                EXPECT_EQ(l.nodeB(), f.first[i + 1]);
                EXPECT_EQ(l.flags & 1u, 0u);
                total += l.score();
            }
            EXPECT_EQ(total, d[static_cast<std::size_t>(end)]);
        }
    }
}

}  // namespace
