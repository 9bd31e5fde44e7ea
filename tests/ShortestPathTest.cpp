#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <thread>
#include <utility>

#include "qcSearchRows.h"
#include "reference/PlainShortestPath.h"
#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;
using Found = std::pair<qcIndexArray, qcIndexArray>;  // nodes, links
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

// The two-node form (with kept rows when given), or the one-link form when link >= 0, into
// arrays that held something.
Found search(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t link = -1,
             qcSearchRows* rows = nullptr)
{
    Found f{{7, 7, 7}, {7}};
    if (rows)
        g.shortestPath(start, end, f.first, f.second, *rows);
    else
        link < 0 ? g.shortestPath(start, end, f.first, f.second) : g.shortestPath(link, f.first, f.second);
    return f;
}

// The links' scores added from the first.
double scoreOf(const qcDirectedGraph& g, const qcIndexArray& links)
{
    double total = 0.0;
    for (const std::int32_t l : links)
        total += g.link(l).score();
    return total;
}

// The path to end in a tree of predecessor links, each followed back to its nodeA.
Found readBack(const qcDirectedGraph& g, const qcIndexArray& via, std::int32_t start, std::int32_t end)
{
    if (end != start && via[end] == -1)
        return {};
    Found f{{end}, {}};
    for (std::int32_t v = end; v != start && f.second.size() <= via.size(); v = f.first.back()) {
        f.second.push_back(via[v]);
        f.first.push_back(static_cast<std::int32_t>(g.link(via[v]).nodeA()));
    }
    std::reverse(f.first.begin(), f.first.end());
    std::reverse(f.second.begin(), f.second.end());
    return f;
}

TEST(ShortestPath, HandCheckedGraphs)
{
    //   0 --> 1
    //   |     |       node 0's chain offers link 1 first
    //   v     v
    //   2 --> 3
    const qcDirectedGraph square = makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}});
    // Node 0 pushes 1 (1.0), 2 (2.0), 3 (2.0), 4 (3.0); when 1 leaves, 4 sinks and the right
    // child 3 wins the tie with 2, so 3 is settled first and becomes 5's predecessor.
    const qcDirectedGraph heapTie = makeGraph(6, {{0, 4, 3.0}, {0, 3, 2.0}, {0, 2, 2.0}, {0, 1, 1.0}, {2, 5}, {3, 5}});
    qcDirectedGraph flagged = makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 1.5, 1}});
    EXPECT_THROW(flagged.addLink(qcDirectedGraphLink(0, 9)), qcInvariantFailure);  // slot 3, ends -1
    // Link 0 replaced and link 3 added after it: 0's chain runs 3, 0, 2, 1, not in index order.
    qcDirectedGraph midChain = makeGraph(2, {{1, 0}, {0, 1}, {0, 1}});
    midChain.link(0, qcDirectedGraphLink(0, 1, 1.0));
    midChain.addLink(qcDirectedGraphLink(0, 1, 2.0));
    // Stored node by node, then node 0 takes over node 1's chain: a walk from 0 meets link 1
    // (1 to 3) and goes on to its other end, 1.
    qcDirectedGraph takenOver = makeGraph(4, {{0, 2}, {1, 3}});
    takenOver.node(0, takenOver.node(1));
    std::vector<qctest::LinkSpec> fan;  // 300 entries in the heap at once: it grows
    for (long i = 300; i > 0; --i)
        fan.push_back({0, i, static_cast<double>(i)});
    const struct { const char* name; Found got, want; } cases[] = {
        {"the heap grows", search(makeGraph(301, fan), 0, 300), {{0, 300}, {0}}},
        {"chain order on a tie", search(square, 0, 3), {{0, 2, 3}, {1, 3}}}, {"chain not in index order", search(midChain, 0, 1), {{0, 1}, {0}}},
        {"a foreign chain leads to the link's other end", search(takenOver, 0, 3), {{0, 1, 3}, {1, 1}}},
        {"parallel links: the cheaper", search(makeGraph(2, {{0, 1, 1.0}, {0, 1, 2.0}}), 0, 1), {{0, 1}, {0}}},
        {"the heap's tie rule", search(heapTie, 0, 5), {{0, 3, 5}, {1, 5}}},
        {"never reopened", search(makeGraph(3, {{0, 1, 1.0}, {0, 2, 2.0}, {2, 1, -5.0}}), 0, 1), {{0, 1}, {0}}},
        {"flagged link skipped", search(flagged, 0, 2), {{0, 1, 2}, {0, 1}}}, {"one-link form", search(flagged, 0, 0, 2), {{0, 1, 2}, {0, 1}}},
        {"one-link form, plain link", search(flagged, 0, 0, 1), {{1, 2}, {1}}}, {"one-link form, self-link", search(makeGraph(2, {{1, 1}}), 0, 0, 0), {{1}, {}}},
        {"1e12 is unreachable", search(makeGraph(2, {{0, 1, 2.0e12}}), 0, 1), {}}, {"NaN and inf", search(makeGraph(2, {{0, 1, nan}, {0, 1, inf}}), 0, 1), {}},
        {"round NaN and inf", search(makeGraph(3, {{0, 1, nan}, {0, 2}, {2, 1}, {0, 1, inf}}), 0, 1), {{0, 2, 1}, {1, 2}}},
        {"against the direction", search(makeGraph(3, {{1, 0}}), 0, 1), {}}, {"start is end", search(square, 2, 2), {{2}, {}}},
        {"start -1", search(square, -1, 1), {}}, {"end n", search(square, 0, 4), {}}, {"start n", search(square, 4, 0), {}},
        {"end negative", search(square, 0, -5), {}}, {"empty graph", search(qcDirectedGraph(), 0, 0), {}},
        {"link m", search(square, 0, 0, 4), {}}, {"default slot", search(flagged, 0, 0, 3), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(ShortestPath, AbortCheckBeforeEvery64thPass)
{
    std::vector<qctest::LinkSpec> chain;
    for (long i = 0; i < 64; ++i)
        chain.push_back({i, i + 1});
    const qcDirectedGraph g = makeGraph(65, chain);
    qctest::CheckCounter counter;
    for (const auto& [end, calls] : {std::pair{5, 1L}, {63, 2L}, {64, 4L}}) {  // a pass per node on the way
        EXPECT_EQ(search(g, end == 5 ? 5 : 0, end).first.size(), end == 5 ? 1u : end + 1u);
        EXPECT_EQ(counter.calls, calls);
    }
    // After node 64, nodes 65 and 66 share the least distance (or a score of -1 brings 65 below
    // 64's): the search goes on by the heap's rule of equal keys, 65 first, and 67 is reached
    // over link 66 from it. No check is made twice on the way.
    for (const double score : {1.0, -1.0}) {
        std::vector<qctest::LinkSpec> fork(chain);
        fork.insert(fork.end(), {{64, 65, 1.0}, {64, 66, 1.0}, {65, 67}, {66, 67}, {64, 65, score}});
        const qcDirectedGraph forked = makeGraph(68, fork);
        const long before = counter.calls;
        EXPECT_EQ(search(forked, 0, 67).second.back(), 66);
        EXPECT_EQ(counter.calls - before, 2);
    }
    std::vector<double> distances{7.0};
    qcIndexArray via{7};
    const long before = counter.calls;
    g.shortestPathTree(0, distances, via);  // passes 1 to 66, the last finding the queue empty
    EXPECT_EQ(counter.calls - before, 2);
    qctest::CheckCounter cancelOnSecond(2);
    Found f{{1}, {1}};
    EXPECT_THROW(g.shortestPath(0, 64, f.first, f.second), qcAttentionAbort);
    EXPECT_EQ(f, Found());
    EXPECT_THROW(g.shortestPathTree(1, distances, via), qcAttentionAbort);
    EXPECT_EQ(distances.size(), 65u);  // as the call before left them
}

TEST(ShortestPathTree, EveryNodeItsDistanceAndLink)
{
    //   0 --> 1 --> 2      3 (isolated)     link 3 is skipped (flags bit 0)
    //    \________^
    const qcDirectedGraph g = makeGraph(4, {{0, 1, 1.0}, {1, 2, 1.0}, {0, 2, 2.0}, {0, 3, 1.0, 1}});
    std::vector<double> distances{9.0};
    qcIndexArray via{9, 9, 9, 9, 9};
    g.shortestPathTree(0, distances, via);
    EXPECT_EQ(distances, (std::vector<double>{0.0, 1.0, 2.0, inf}));
    EXPECT_EQ(via, (qcIndexArray{-1, 0, 2, -1}));  // link 2 reaches 2 first, at the same cost
    for (const std::int32_t bad : {-1, 4})
        EXPECT_THROW(g.shortestPathTree(bad, distances, via), qcInvariantFailure);
    EXPECT_EQ(via.size(), 4u);
}

// Exactly the plain procedure's path, through chains the graph built (links stored node by
// node or in any order) and through chains left out of order by links replaced in place or
// taken over by another node. Scores are small integers in odd rounds, so ties are
// everywhere, and fractions in even ones, with a negative one now and then.
TEST(ShortestPath, SameAsPlainProcedureOnRandomGraphs)
{
    std::mt19937 rng(20261206);
    for (int round = 0; round < 400; ++round) {
        const long n = 1 + static_cast<long>(rng() % (round % 4 == 0 ? 300 : 30));
        std::vector<qctest::LinkSpec> links(rng() % (4 * n));
        for (qctest::LinkSpec& l : links)
            l = {static_cast<long>(rng() % n), static_cast<long>(rng() % n), round % 2 ? rng() % 6 * 1.0 : rng() % 6000 / 999.0 - (rng() % 64 == 0), rng() % 8 == 0 ? 1u : 0u};
        if (round % 5 < 2)  // stored node by node, as the rows are laid out, maybe after a default slot
            std::stable_sort(links.begin(), links.end(), [](const auto& x, const auto& y) { return x.a < y.a; });
        if (round % 5 == 1)
            links.insert(links.begin(), {-1, 0});
        qcDirectedGraph g = makeGraph(n, links);
        for (unsigned r = round % 3 == 0 ? rng() % 4 : 0; r > 0 && g.numLinks() > 0; --r)
            if (rng() % 2)
                g.link(static_cast<long>(rng() % g.numLinks()), qcDirectedGraphLink(static_cast<long>(rng() % n), static_cast<long>(rng() % n)));
            else  // a node takes over another's chain
                g.node(static_cast<long>(rng() % n), g.node(static_cast<long>(rng() % n)));
        const bool chainsBroken = round % 3 == 0;
        const auto start = static_cast<std::int32_t>(rng() % n);
        std::vector<double> distances;
        qcIndexArray via;
        g.shortestPathTree(start, distances, via);
        // A second thread reads the same graph, both sharing rows laid out by the first long search.
        qcSearchRows rows;
        std::vector<Found> fromReader(static_cast<std::size_t>(n)), found(fromReader);
        std::thread reader([&] { for (std::int32_t end = 0; end < n; ++end) fromReader[end] = search(g, start, end, -1, &rows); });
        for (std::int32_t end = 0; end < n; ++end) {
            SCOPED_TRACE(testing::Message() << "round " << round << " end " << end);
            Found plain;
            qcref::plainShortestPath(g, start, end, plain.first, plain.second);
            EXPECT_EQ(found[end] = search(g, start, end, -1, end % 2 ? &rows : nullptr), plain);
            EXPECT_EQ(distances[end], plain.first.empty() ? inf : scoreOf(g, plain.second));
            if (!chainsBroken) {  // else a link need not lead from its nodeA
                EXPECT_EQ(readBack(g, via, start, end), plain);
            }
        }
        reader.join();
        EXPECT_EQ(fromReader, found);
        std::vector<double> keptDistances;
        qcIndexArray keptVia;
        g.shortestPathTree(start, keptDistances, keptVia, rows);
        EXPECT_EQ(keptDistances, distances);
        EXPECT_EQ(keptVia, via);
    }
}

// Rows kept across searches answer for the graph they were made of: forget() after a change
// makes them anew, and so does another number of links, or another graph.
TEST(ShortestPath, KeptRowsAfterTheGraphChanges)
{
    //   0 -> 1 -> ... -> 39, and 0 -> 39 at 100
    std::vector<qctest::LinkSpec> chain{{0, 39, 100.0}};
    for (long v = 0; v + 1 < 40; ++v)
        chain.push_back({v, v + 1, 1.0});
    qcDirectedGraph g = makeGraph(40, chain), other = makeGraph(40, chain);
    const auto firstLink = [](qcDirectedGraph& graph, double score, std::uint32_t flags) {
        qcDirectedGraphLink l = graph.link(0);
        l.score(score);
        l.flags = flags;
        graph.link(0, l);
    };
    qcSearchRows rows;
    EXPECT_EQ(search(g, 0, 39, -1, &rows).second.size(), 39u);
    EXPECT_TRUE(rows.holdsRows());
    firstLink(g, 10.0, 0);
    rows.forget();
    EXPECT_FALSE(rows.holdsRows());
    EXPECT_EQ(search(g, 0, 39, -1, &rows), Found({0, 39}, {0}));
    firstLink(g, 1000.0, 0);
    g.addLinkFastUnsafe(0, 38, 1.0);  // link 40, not forgotten: the count tells
    EXPECT_EQ(search(g, 0, 39, -1, &rows), Found({0, 38, 39}, {40, 39}));
    firstLink(other, 0.5, 0);
    EXPECT_EQ(search(other, 0, 39, -1, &rows), Found({0, 39}, {0}));
    EXPECT_EQ(search(g, 0, 39, -1, &rows), Found({0, 38, 39}, {40, 39}));
}

// Graphs large enough for working memory kept from one search to the next: the second search
// runs over what the first left behind, each exactly as the plain procedure.
TEST(ShortestPath, SameAsPlainProcedureOverKeptMemory)
{
    std::mt19937 rng(20261207);
    const long n = 270000;
    for (int round = 0; round < 2; ++round) {
        qcDirectedGraph g;
        for (long v = 0; v < n; ++v)
            g.addNode(qcDirectedGraphNode());
        for (long v = 0; v < n; ++v)
            for (int k = 0; k < 3; ++k)
                g.addLinkFastUnsafe(v, static_cast<long>(rng() % n), rng() % 1000 / 7.0);
        const auto end = static_cast<std::int32_t>(rng() % n);
        Found plain;
        qcref::plainShortestPath(g, 0, end, plain.first, plain.second);
        EXPECT_GT(plain.first.size(), 2u);
        EXPECT_EQ(search(g, 0, end), plain) << "round " << round;
    }
}

}  // namespace
