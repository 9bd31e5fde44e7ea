#include <gtest/gtest.h>

#include <cstring>
#include <malloc.h>
#include <memory>
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
        {"total of 1e12 unreached", makeGraph(3, {{0, 1, 5.0e11}, {1, 2, 5.0e11}}), 0, 2, {inf, {}, {}}},
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
        // Now and then a core too large for a table of its ways, so searched through.
        const bool large = round % 20 == 18;
        const long n = (large ? 80 : 1) + static_cast<long>(rng() % 40);
        std::vector<qctest::LinkSpec> links(large ? 4 * n : rng() % (3 * n + 1));
        for (qctest::LinkSpec& l : links)
            l = {static_cast<long>(rng() % n), static_cast<long>(rng() % n), static_cast<double>(rng() % 5),
                 rng() % 10 == 0 ? 1u : 0u};
        qcDirectedGraph g = makeGraph(n, links);
        qcShortestPathIndex::Options options;  // a core of all nodes, of the last few, or none
        options.maxPairs = round % 3 == 0 ? 0.0 : round % 3 == 1 ? 4.0 : options.maxPairs;
        options.customizable = round % 4 != 3;  // else updates contract again
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
            // New scores on the same links, some of them none (+infinity) or none no more; the
            // index answers for the old ones until updated.
            for (long l = 0; l < g.numLinks(); ++l) {
                qcDirectedGraphLink changed = g.link(l);
                changed.score(rng() % 8 == 0 ? std::numeric_limits<double>::infinity() : static_cast<double>(rng() % 5));
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
    EXPECT_FALSE(idx.isCurrent(makeGraph(3, {{0, 1, 2.0}, {1, 2}})));  // the first link's score
    const qcDirectedGraph rescored = makeGraph(3, {{0, 1}, {1, 2, 4.0}});
    EXPECT_FALSE(idx.isCurrent(rescored));  // stale until updated
    idx.update(rescored);
    EXPECT_TRUE(idx.isCurrent(rescored));
    EXPECT_EQ(idx.distance(0, 2), 5.0);
}

// Wheels of 12 rim nodes round a hub, spokes and rim both ways.
qcDirectedGraph wheels(int count, double spoke, double rim)
{
    std::vector<qctest::LinkSpec> links;
    for (long hub = 0; hub < count * 13; hub += 13)
        for (long i = 0; i < 12; ++i) {
            const long r = hub + 1 + i, next = hub + 1 + (i + 1) % 12;
            links.insert(links.end(), {{hub, r, spoke}, {r, hub, spoke}, {r, next, rim}, {next, r, rim}});
        }
    return makeGraph(count * 13, links);
}

// Without what makes it customizable, an update contracts again in the kept order, unless it
// would make more than twice the arcs the index had (with a slack of 4096 arcs) or contract a
// node of more pairs of arcs than the build would, and then builds the index anew. Spokes that
// turn from dear to cheap suit the kept order, hubs first, badly: a shortcut then joins every
// two rim nodes.
TEST(ShortestPathIndex, UpdateBuildsAnewWhenTheKeptOrderSuitsBadly)
{
    const struct { const char* name; int wheels; bool anew; } cases[] = {{"40 wheels: within the slack", 40, false},
                                                                           {"80 wheels: past twice the arcs", 80, true}};
    qcShortestPathIndex::Options contracted;
    contracted.customizable = false;
    for (const auto& c : cases) {
        qcShortestPathIndex idx(wheels(c.wheels, 100.0, 1.0), contracted);
        const qcDirectedGraph cheapSpokes = wheels(c.wheels, 1.0, 100.0);
        idx.update(cheapSpokes);
        EXPECT_EQ(idx.memoryBytes() == qcShortestPathIndex(cheapSpokes, contracted).memoryBytes(), c.anew) << c.name;
        EXPECT_EQ(idx.distance(1, 7), 2.0) << c.name;
    }
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

// The checksum made to match, contents that break the index's rules are refused all the same.
TEST(ShortestPathIndex, LoadRefusesUnsoundContents)
{
    //   0 -> 1 -> 2 -> 3 -> 0: every node contracted first leaves a shortcut past it
    const qcShortestPathIndex idx(makeGraph(4, {{0, 1}, {1, 2}, {2, 3}, {3, 0}}));
    std::stringstream file;
    idx.save(file);
    const std::string bytes = file.str();
    // The form: magic 8, version 4, counts 8 + 8, fingerprints 16, order 4 a node, core 4, arc
    // count 8, then arcs of from, to, first, second (4 each) and weight (8).
    const std::size_t arcs = 8 + 4 + 16 + 16 + 4 * 4 + 4 + 8;
    const auto word = [&bytes](std::size_t at) {
        std::int32_t v;
        std::memcpy(&v, bytes.data() + at, sizeof v);
        return v;
    };
    std::size_t shortcut = arcs;
    while (word(shortcut + 12) == -1)
        shortcut += 24;
    const auto changed = [&bytes](std::size_t at, std::int32_t value) {
        std::string b = bytes;
        std::memcpy(&b[at], &value, sizeof value);
        std::uint64_t sum = 0xcbf29ce484222325u;
        for (std::size_t k = 0; k + 8 < b.size(); ++k)
            sum = (sum ^ static_cast<unsigned char>(b[k])) * 0x100000001b3u;
        std::memcpy(&b[b.size() - 8], &sum, sizeof sum);
        return b;
    };
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"an order that repeats a node", changed(44, word(48)), "the order is not one of the nodes"},
        {"a core beyond the nodes", changed(60, 5), "the core is out of range"},
        {"an arc to no node", changed(arcs + 4, 9), "an arc is out of range"},
        {"an arc of no link", changed(arcs + 8, 7), "an arc names no link"},
        {"a shortcut of later arcs", changed(shortcut + 8, static_cast<std::int32_t>((shortcut - arcs) / 24)),
         "a shortcut names no earlier arc"},
        {"a shortcut of another weight", changed(shortcut + 20, 0x40200000), "a shortcut does not match its arcs"},
        {"a link after a shortcut", changed(shortcut + 24 + 12, -1), "a link comes after a shortcut"},
        // After the arcs: the up rows' starts, one more than the nodes, their count, the rows.
        {"an up row of another weight", changed(arcs + 24 * static_cast<std::size_t>(word(64)) + 5 * 4 + 8 + 12, 0x40200000),
         "a row does not match its arc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.bytes);
        try {
            qcShortestPathIndex::load(in);
            ADD_FAILURE() << "loaded";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), std::string("qcShortestPathIndex::load: ") + c.message);
        }
    }
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
    std::vector<qctest::LinkSpec> line;  // more arcs than the least bound
    for (long v = 0; v < 5000; ++v)
        line.push_back({v, v + 1});
    qcShortestPathIndex::Options unbounded;
    unbounded.memoryBound = 0.0;
    EXPECT_EQ(qcShortestPathIndex(makeGraph(5001, line), unbounded).distance(0, 5000), 5000.0);

    std::vector<double> shares;
    qcShortestPathIndex::Options watched;
    watched.progress = [&shares](double share) { shares.push_back(share); };
    qctest::CheckCounter cancel(3);
    EXPECT_THROW(qcShortestPathIndex(makeGraph(200, {}), watched), qcAttentionAbort);
    EXPECT_EQ(cancel.calls, 3);
    EXPECT_EQ(shares, std::vector<double>{0.0});
}

// An update stopped by the abort check leaves the index as it was, answering for the old scores,
// whether it contracts again (no positions) or customizes (a grid at its positions).
TEST(ShortestPathIndex, AnAbortedUpdateLeavesTheIndexAsItWas)
{
    std::mt19937 rng(11);
    constexpr long side = 12, n = side * side;
    for (const bool positioned : {false, true}) {
        SCOPED_TRACE(positioned ? "customized" : "contracted");
        qcDirectedGraph g;
        for (long v = 0; v < n; ++v) {
            qcDirectedGraphNode node;
            if (positioned)
                node.position(qcVector<2>(static_cast<double>(v % side), static_cast<double>(v / side)));
            g.addNode(node);
        }
        for (long v = 0; v < n; ++v) {
            if (v % side + 1 < side) {
                g.addLinkFastUnsafe(v, v + 1, 1.0 + rng() % 9);
                g.addLinkFastUnsafe(v + 1, v, 1.0 + rng() % 9);
            }
            if (v + side < n) {
                g.addLinkFastUnsafe(v, v + side, 1.0 + rng() % 9);
                g.addLinkFastUnsafe(v + side, v, 1.0 + rng() % 9);
            }
        }
        qcShortestPathIndex idx(g);
        const qcDirectedGraph before = g;
        for (long l = 0; l < g.numLinks(); ++l) {
            qcDirectedGraphLink changed = g.link(l);
            changed.score(1.0 + rng() % 9);
            g.link(l, changed);
        }
        {
            qctest::CheckCounter cancel(1);
            EXPECT_THROW(idx.update(g), qcAttentionAbort);
            EXPECT_EQ(cancel.calls, 1);
        }
        EXPECT_TRUE(idx.isCurrent(before));
        for (std::int32_t a = 0; a < n; a += 7)
            for (std::int32_t b = 0; b < n; b += 5)
                EXPECT_EQ(idx.distance(a, b), searchRoute(before, a, b).score) << a << " to " << b;
    }
}

// What the index says it holds is what it took from the heap: its arrays are no larger than
// their contents.
TEST(ShortestPathIndex, MemoryBytesIsTheHeapItHolds)
{
    std::mt19937 rng(5);
    std::vector<qctest::LinkSpec> grid;  // 60 x 60, both ways between neighbours
    for (long v = 0; v < 60 * 60; ++v)
        for (const long w : {v + 1, v + 60})
            if (w < 60 * 60 && (w == v + 60 || w % 60 != 0)) {
                grid.push_back({v, w, 1.0 + rng() % 99});
                grid.push_back({w, v, 1.0 + rng() % 99});
            }
    const qcDirectedGraph g = makeGraph(60 * 60, grid);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator keeps the heap apart from malloc's counts";
#endif
    const std::size_t before = mallinfo2().uordblks;
    const auto idx = std::make_unique<qcShortestPathIndex>(g);
    const auto held = static_cast<double>(mallinfo2().uordblks - before);
    if (held == 0.0)
        GTEST_SKIP() << "this allocator does not count the heap";
    EXPECT_NEAR(static_cast<double>(idx->memoryBytes()), held, 0.02 * held) << held;
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
