#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "qcShortestPathIndex.h"
#include "graph/qcIndex.h"
#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct Route {
    double score;
    qcIndexArray nodes, links;
    bool operator==(const Route& o) const { return score == o.score && nodes == o.nodes && links == o.links; }
};
std::ostream& operator<<(std::ostream& out, const Route& r)
{
    out << r.score << " nodes";
    for (const auto v : r.nodes)
        out << ' ' << v;
    out << " links";
    for (const auto l : r.links)
        out << ' ' << l;
    return out;
}

Route indexRoute(const qcShortestPathIndex& idx, std::int32_t a, std::int32_t b)
{
    Route r{0.0, {7}, {7}};
    r.score = idx.path(a, b, r.nodes, r.links);
    return r;
}

// The two-node search's path and its score (+infinity for none).
Route searchRoute(const qcDirectedGraph& g, std::int32_t a, std::int32_t b)
{
    Route r{0.0, {}, {}};
    g.shortestPath(a, b, r.nodes, r.links);
    for (const auto l : r.links)
        r.score += g.link(l).score();
    if (r.nodes.empty())
        r.score = inf;
    return r;
}

TEST(ShortestPathIndex, HandCheckedGraphs)
{
    struct Case {
        const char* name;
        qcDirectedGraph graph;
        std::int32_t a, b;
        Route want;
    };
    //   0 --> 1
    //   |     |      0-1-3 costs 2, 0-2-3 costs 3
    //   v     v
    //   2 --> 3
    const qcDirectedGraph square = makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3, 2.0}});
    const Case cases[] = {
        {"square", square, 0, 3, {2.0, {0, 1, 3}, {0, 2}}},
        {"against the links", square, 3, 0, {inf, {}, {}}},
        {"start is end", square, 2, 2, {0.0, {2}, {}}},
        {"cheapest of parallel links", makeGraph(2, {{0, 1, 3.0}, {0, 1, 2.0}, {0, 1, 4.0}}), 0, 1, {2.0, {0, 1}, {1}}},
        {"equal parallel links: first in the chain", makeGraph(2, {{0, 1, 2.0}, {0, 1, 2.0}}), 0, 1, {2.0, {0, 1}, {1}}},
        {"skip link left out", makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 0.5, 1}}), 0, 2, {2.0, {0, 1, 2}, {0, 1}}},
        {"NaN, infinite and huge scores left out",
         makeGraph(3, {{0, 2, nan}, {0, 2, inf}, {0, 2, 2.0e12}, {0, 1, 5.0}, {1, 2, 5.0}}), 0, 2, {10.0, {0, 1, 2}, {3, 4}}},
        {"total of 1e12 unreached", makeGraph(3, {{0, 1, 6.0e11}, {1, 2, 6.0e11}}), 0, 2, {inf, {}, {}}},
        {"self-link and zero scores", makeGraph(3, {{0, 0, 0.0}, {0, 1, 0.0}, {1, 2, 0.0}}), 0, 2, {0.0, {0, 1, 2}, {1, 2}}},
        {"a shortcut unpacked", makeGraph(5, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {0, 4, 9.0}}), 0, 4, {4.0, {0, 1, 2, 3, 4}, {0, 1, 2, 3}}},
        {"no nodes reached", makeGraph(3, {}), 0, 1, {inf, {}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const qcShortestPathIndex idx(c.graph);
        EXPECT_EQ(indexRoute(idx, c.a, c.b), c.want);
        EXPECT_EQ(idx.distance(c.a, c.b), c.want.score);
    }
}

TEST(ShortestPathIndex, BadInputIsRefused)
{
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {1, 2}});
    const qcShortestPathIndex idx(g);
    qcIndexArray nodes{5}, links{5};
    for (const auto& [a, b] : {std::pair{-1, 0}, {0, 3}, {3, 0}, {0, -1}}) {
        SCOPED_TRACE(testing::Message() << a << " to " << b);
        EXPECT_THROW(idx.distance(a, b), qcInvariantFailure);
        EXPECT_THROW(idx.path(a, b, nodes, links), qcInvariantFailure);
        EXPECT_EQ(nodes, qcIndexArray{5});
    }
    std::vector<double> table{1.0};
    EXPECT_THROW(idx.distances({0, 1}, {2, 3}, table), qcInvariantFailure);
    EXPECT_EQ(table, std::vector<double>{1.0});
    EXPECT_THROW(qcShortestPathIndex(makeGraph(2, {{0, 1, -1.0}})), qcInvariantFailure);
    EXPECT_NO_THROW(qcShortestPathIndex(makeGraph(2, {{0, 1, -1.0, 1}})));  // skipped, so never added
}

// Random graphs with ties (small whole scores), zero scores, parallel links, skip links and
// unreachable pairs: every distance and path of the index, and its table, against the two-node
// search; then the same after the scores change and the index is updated, and after a round
// trip through save() and load(). Some indices leave a core of nodes uncontracted.
TEST(ShortestPathIndex, SameAsTwoNodeSearchOnRandomGraphs)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const long n = 1 + static_cast<long>(rng() % 40);
        std::vector<qctest::LinkSpec> links(rng() % (3 * n + 1));
        for (qctest::LinkSpec& l : links)
            l = {static_cast<long>(rng() % n), static_cast<long>(rng() % n), static_cast<double>(rng() % 5),
                 rng() % 10 == 0 ? 1u : 0u};
        qcDirectedGraph g = makeGraph(n, links);
        qcShortestPathIndex::Options options;  // a core of all nodes, of the last few, or none
        options.maxPairs = round % 3 == 0 ? 0.0 : round % 3 == 1 ? 4.0 : options.maxPairs;
        qcShortestPathIndex idx(g, options);
        for (int version = 0; version < 3; ++version) {
            SCOPED_TRACE(testing::Message() << "version " << version);
            const qcShortestPathIndex loaded = [&idx] {
                std::stringstream file;
                idx.save(file);
                return qcShortestPathIndex::load(file);
            }();
            EXPECT_TRUE(idx.isCurrent(g));
            qcIndexArray all;
            for (std::int32_t v = 0; v < n; ++v)
                all.push_back(v);
            std::vector<double> table;
            idx.distances(all, all, table);
            for (std::int32_t a = 0; a < n; ++a)
                for (std::int32_t b = 0; b < n; ++b) {
                    const Route want = searchRoute(g, a, b);
                    const Route got = indexRoute(idx, a, b);
                    EXPECT_EQ(got.score, want.score) << a << " to " << b;
                    EXPECT_EQ(table[at(a * n + b)], want.score) << a << " to " << b;
                    EXPECT_EQ(loaded.distance(a, b), want.score) << a << " to " << b;
                    EXPECT_EQ(qctest::pathFault(g, got.nodes, got.links), nullptr) << got;
                    if (!got.nodes.empty()) {
                        EXPECT_EQ(got.nodes.front(), a);
                        EXPECT_EQ(got.nodes.back(), b);
                    }
                }
            // New scores on the same links; the index answers for the old ones until updated.
            for (long l = 0; l < g.numLinks(); ++l) {
                qcDirectedGraphLink changed = g.link(l);
                changed.score(static_cast<double>(rng() % 5));
                g.link(l, changed);
            }
            idx.update(g);
        }
    }
}

TEST(ShortestPathIndex, UpdateRefusesAnotherGraph)
{
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {1, 2}});
    qcShortestPathIndex idx(g);
    struct Case {
        const char* name;
        qcDirectedGraph other;
    };
    const Case cases[] = {
        {"a node more", makeGraph(4, {{0, 1}, {1, 2}})},
        {"a link more", makeGraph(3, {{0, 1}, {1, 2}, {2, 0}})},
        {"another end", makeGraph(3, {{0, 1}, {1, 0}})},
        {"a link skipped", makeGraph(3, {{0, 1}, {1, 2, 1.0, 1}})},
        {"a negative score", makeGraph(3, {{0, 1}, {1, 2, -1.0}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(idx.isCurrent(c.other));
        EXPECT_THROW(idx.update(c.other), qcInvariantFailure);
        EXPECT_EQ(idx.distance(0, 2), 2.0);  // unchanged
    }
    const qcDirectedGraph rescored = makeGraph(3, {{0, 1}, {1, 2, 4.0}});
    EXPECT_FALSE(idx.isCurrent(rescored));  // stale until updated
    idx.update(rescored);
    EXPECT_TRUE(idx.isCurrent(rescored));
    EXPECT_EQ(idx.distance(0, 2), 5.0);
}

// Every byte changed, and every shorter input, is refused; the checksum aside, contents that
// break the index's rules are refused too.
TEST(ShortestPathIndex, LoadRefusesAllButASoundIndex)
{
    const qcShortestPathIndex idx(makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2, 5.0}}));
    std::stringstream file;
    idx.save(file);
    const std::string bytes = file.str();
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "byte " << k);
        std::string changed = bytes;
        changed[k] = static_cast<char>(changed[k] ^ 0x20);
        std::istringstream in(changed);
        EXPECT_THROW(qcShortestPathIndex::load(in), std::runtime_error);
        std::istringstream shorter(bytes.substr(0, k));
        EXPECT_THROW(qcShortestPathIndex::load(shorter), std::runtime_error);
    }
    std::istringstream whole(bytes);
    EXPECT_EQ(qcShortestPathIndex::load(whole).distance(0, 3), 3.0);
}

TEST(ShortestPathIndex, BuildingStopsAtItsBoundAndOnAbort)
{
    // Random links between any nodes: no hierarchy, so shortcuts pile up.
    std::mt19937 rng(7);
    qcDirectedGraph g;
    for (int v = 0; v < 3000; ++v)
        g.addNode(qcDirectedGraphNode());
    for (int l = 0; l < 15000; ++l)
        g.addLinkFastUnsafe(static_cast<long>(rng() % 3000), static_cast<long>(rng() % 3000), 1.0 + rng() % 100);
    qcShortestPathIndex::Options tight;
    tight.memoryBound = 1.0;
    EXPECT_THROW(qcShortestPathIndex(g, tight), std::length_error);

    std::vector<double> shares;
    qcShortestPathIndex::Options watched;
    watched.progress = [&shares](double share) { shares.push_back(share); };
    qctest::CheckCounter cancel(3);
    EXPECT_THROW(qcShortestPathIndex(makeGraph(200, {}), watched), qcAttentionAbort);
    EXPECT_EQ(cancel.calls, 3);
    EXPECT_EQ(shares, std::vector<double>{0.0});
}

TEST(ShortestPathIndex, QueriesFromManyThreads)
{
    std::mt19937 rng(11);
    qcDirectedGraph g;
    for (int v = 0; v < 400; ++v)
        g.addNode(qcDirectedGraphNode());
    for (int v = 0; v < 400; ++v)
        for (const int d : {1, 20, 399})
            g.addLinkFastUnsafe(v, (v + d) % 400, static_cast<double>(rng() % 9));
    const qcShortestPathIndex idx(g);
    std::vector<double> theirs(400), ours(400);
    std::thread other([&] {
        qcShortestPathIndex::Workspace w;
        for (std::int32_t b = 0; b < 400; ++b)
            theirs[at(b)] = idx.distance(0, b, w);
    });
    for (std::int32_t b = 0; b < 400; ++b)
        ours[at(b)] = idx.distance(0, b);
    other.join();
    EXPECT_EQ(theirs, ours);
    EXPECT_EQ(ours[399], searchRoute(g, 0, 399).score);
}

}  // namespace
