#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "index/qcChordalGraph.h"
#include "index/qcCustomization.h"
#include "support/GraphTestSupport.h"
#include "support/NeighbourRows.h"

namespace {

// Both ways of every link that may count.
qcNeighbourRows edgeRows(const qcDirectedGraph& g)
{
    qctest::Edges ends;
    for (long l = 0; l < g.numLinks(); ++l)
        if (qfMayCount(g.link(l), g.numNodes()))
            ends.emplace_back(static_cast<std::int32_t>(g.link(l).nodeA()), static_cast<std::int32_t>(g.link(l).nodeB()));
    return qctest::rowsOf(static_cast<std::size_t>(g.numNodes()), ends);
}

}  // namespace

// Random graphs in random orders, with ties, zero scores, parallel and skipped links: every arc
// the hierarchy keeps costs exactly the cheapest way between its ends (the others are left out),
// and every rank's arcs up and down lead to higher ranks.
TEST(Customization, KeepsOnlyArcsOfCheapestWays)
{
    std::mt19937 rng(20261208);
    constexpr double unbounded = std::numeric_limits<double>::max();
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const long n = 2 + static_cast<long>(rng() % 30);
        std::vector<qctest::LinkSpec> links(rng() % (4 * n));
        for (qctest::LinkSpec& l : links)
            l = {static_cast<long>(rng() % n), static_cast<long>(rng() % n), static_cast<double>(rng() % 6),
                 rng() % 10 == 0 ? 1u : 0u};
        const qcDirectedGraph g = qctest::makeGraph(n, links);
        std::vector<std::int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        qcCustomization customization(qfChordalGraph(edgeRows(g), order, std::numeric_limits<std::size_t>::max(), unbounded), g);
        qcHierarchy h;
        customization.customize(g, 1.0e12, h);

        std::vector<std::vector<double>> cheapest(static_cast<std::size_t>(n));
        qcIndexArray via;
        for (std::int32_t v = 0; v < n; ++v)
            g.shortestPathTree(v, cheapest[static_cast<std::size_t>(v)], via);
        for (std::size_t r = 0; r < h.numNodes(); ++r) {
            const std::int32_t node = h.nodeOfRank[r];
            for (std::uint32_t k = h.upStart[r]; k < h.upStart[r + 1]; ++k) {
                EXPECT_GT(static_cast<std::size_t>(h.up[k].head), r);
                EXPECT_EQ(h.up[k].weight, cheapest[static_cast<std::size_t>(node)][static_cast<std::size_t>(h.nodeOfRank[static_cast<std::size_t>(h.up[k].head)])]);
            }
            for (std::uint32_t k = h.downStart[r]; k < h.downStart[r + 1]; ++k) {
                EXPECT_GT(static_cast<std::size_t>(h.down[k].head), r);
                EXPECT_EQ(h.down[k].weight, cheapest[static_cast<std::size_t>(h.nodeOfRank[static_cast<std::size_t>(h.down[k].head)])][static_cast<std::size_t>(node)]);
            }
        }
    }
}

// Customizing again for new scores gives the hierarchy that a customization made afresh for
// them gives: nothing of the last scores stays behind.
TEST(Customization, AgainIsAsAfresh)
{
    std::mt19937 rng(20261209);
    constexpr double unbounded = std::numeric_limits<double>::max();
    const auto rowsOf = [](const qcHierarchy& h) {
        std::vector<std::vector<double>> rows;
        for (const std::vector<qcHierarchyStep>* steps : {&h.up, &h.down})
            for (const qcHierarchyStep& s : *steps)
                rows.push_back({static_cast<double>(s.head), static_cast<double>(s.arc), s.weight});
        for (const qcHierarchyArc& a : h.arcs)
            rows.push_back({static_cast<double>(a.to), static_cast<double>(a.first), static_cast<double>(a.second)});
        rows.push_back(h.linkScores);
        rows.push_back(std::vector<double>(h.upStart.begin(), h.upStart.end()));
        rows.push_back(std::vector<double>(h.downStart.begin(), h.downStart.end()));
        return rows;
    };
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const long n = 2 + static_cast<long>(rng() % 40);
        std::vector<qctest::LinkSpec> links(rng() % (4 * n));
        for (qctest::LinkSpec& l : links)
            l = {static_cast<long>(rng() % n), static_cast<long>(rng() % n), static_cast<double>(rng() % 6), 0u};
        qcDirectedGraph g = qctest::makeGraph(n, links);
        std::vector<std::int32_t> order(static_cast<std::size_t>(n));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), rng);
        const qcChordalGraph chordal = qfChordalGraph(edgeRows(g), order, std::numeric_limits<std::size_t>::max(), unbounded);
        qcCustomization again(chordal, g);
        qcHierarchy h;
        again.customize(g, 1.0e12, h);
        for (long l = 0; l < g.numLinks(); ++l) {
            qcDirectedGraphLink changed = g.link(l);
            changed.score(static_cast<double>(rng() % 6));
            g.link(l, changed);
        }
        again.customize(g, 1.0e12, h);
        qcCustomization afresh(chordal, g);
        qcHierarchy want;
        afresh.customize(g, 1.0e12, want);
        EXPECT_EQ(rowsOf(h), rowsOf(want));
    }
}
