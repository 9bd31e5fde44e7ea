#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>
#include <type_traits>

#include "support/GraphTestSupport.h"

using qctest::chainOf;
using qctest::makeGraph;
using Chain = std::vector<long>;

static_assert(std::is_base_of_v<qcException, qcInvariantFailure> && std::is_base_of_v<qcPersistent, qcException> &&
              std::is_base_of_v<std::exception, qcException>);

TEST(GraphRecords, EqualityAndIndicesThatDoNotFit)
{
    // Bookkeeping takes part in equality: the same link stored twice differs by id and
    // nextChild, a node copied to another index by id; scores compare as doubles.
    qcDirectedGraph g = makeGraph(2, {{0, 1, 2.0}, {0, 1, 2.0}});
    g.node(1, g.node(0));
    qcDirectedGraphLink flagged(0, 1, 2.0), nan(0, 1, std::nan("")), wide(-7, 4294967297L);
    flagged.flags = 1;
    EXPECT_EQ((std::vector<bool>{g.link(0) == g.link(1), g.node(0) == g.node(1), flagged == qcDirectedGraphLink(0, 1, 2.0), nan == nan}),
              std::vector<bool>(4, false));
    wide.nextChild(4294967296L);  // would wrap round to node 1, link 0
    EXPECT_EQ(std::make_tuple(wide.nodeA(), wide.nodeB(), wide.nextChild()), std::make_tuple(-7L, -1L, -1L));
    wide.nodeA(-4294967296L);
    EXPECT_EQ(wide.nodeA(), -1);
}

TEST(DirectedGraph, BadIndicesThrowBeforeAnythingChanges)
{
    qcDirectedGraph g = makeGraph(3, {{0, 1}});
    const qcDirectedGraph before = g;
    const struct { const char* name; std::function<void()> call; } cases[] = {
        {"node(-1)", [&] { g.node(-1); }}, {"node(n)", [&] { g.node(3); }}, {"node(2^32)", [&] { g.node(4294967296L); }},
        {"node(n, n)", [&] { g.node(3, qcDirectedGraphNode()); }}, {"node(-1, n)", [&] { g.node(-1, qcDirectedGraphNode()); }},
        {"link(-1)", [&] { g.link(-1); }}, {"link(m)", [&] { g.link(1); }}, {"link(m, l)", [&] { g.link(1, qcDirectedGraphLink(0, 1)); }},
        {"link(-1, l)", [&] { g.link(-1, qcDirectedGraphLink(0, 1)); }}, {"bad nodeA", [&] { g.link(0, qcDirectedGraphLink(3, 1)); }},
        {"bad nodeB", [&] { g.link(0, qcDirectedGraphLink(1, -1)); }},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(c.call(), qcInvariantFailure) << c.name;
        EXPECT_TRUE(g == before) << c.name;
    }
    // A failed addLink leaves an unchained default slot behind, which can be filled later.
    EXPECT_THROW(g.addLink(qcDirectedGraphLink(0, 3)), qcInvariantFailure);
    EXPECT_THROW(g.addLink(qcDirectedGraphLink(-1, 2)), qcInvariantFailure);
    EXPECT_EQ(g.numLinks(), 3);
    EXPECT_TRUE(g.link(1) == qcDirectedGraphLink());
    EXPECT_TRUE(g.link(2) == qcDirectedGraphLink());
    EXPECT_EQ(qctest::graphFault(g), nullptr);
    g.link(2, qcDirectedGraphLink(0, 2, 3.0));
    EXPECT_EQ(chainOf(g, 0), (Chain{2, 0}));
    EXPECT_EQ(qctest::graphFault(g), nullptr);
}

TEST(DirectedGraph, StoringKeepsChainsInOrder)
{
    // Links 0, 1, 2 leave node 0; the chain lists the newest first. A stored record carries
    // its old id and nextChild, which the graph overwrites.
    qcDirectedGraph g = makeGraph(4, {{0, 1}, {0, 2}, {0, 3}});
    EXPECT_EQ(chainOf(g, 0), (Chain{2, 1, 0}));
    g.link(0, qcDirectedGraphLink(0, 2, 4.0));  // from the tail to the head
    EXPECT_EQ(chainOf(g, 0), (Chain{0, 2, 1}));
    g.link(2, g.link(2));  // from the middle
    EXPECT_EQ(chainOf(g, 0), (Chain{2, 0, 1}));
    g.link(1, qcDirectedGraphLink(3, 1));  // from the tail, and the head, to another node
    g.link(2, qcDirectedGraphLink(3, 3));
    EXPECT_EQ(g.addLink(g.link(1)), 3);
    EXPECT_EQ(chainOf(g, 0), Chain{0});
    EXPECT_EQ(chainOf(g, 3), (Chain{3, 2, 1}));
    EXPECT_EQ(qctest::graphFault(g), nullptr);
    qcDirectedGraphNode moved = g.node(3);  // read, change, write back: the chain stays
    moved.position(qcVector<2>(7.5, -2.0));
    g.node(3, moved);
    EXPECT_EQ(chainOf(g, 3), (Chain{3, 2, 1}));
    EXPECT_EQ(g.node(3).position(), qcVector<2>(7.5, -2.0));
}

TEST(DirectedGraph, OutLinksWalkTheChainWithIndexAndLink)
{
    // Node 0's chain is 2, 1, 0 (newest first); node 2 has none. chainOf() walks outLinks().
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {0, 2}, {0, 0}, {1, 0}});
    for (const auto [k, l] : g.outLinks(0))
        EXPECT_EQ(&l, &g.link(k));  // the stored link, not a copy
    EXPECT_EQ(chainOf(g, 0), (Chain{2, 1, 0}));
    EXPECT_EQ(chainOf(g, 1), (Chain{3}));
    EXPECT_TRUE(g.outLinks(2).begin() == g.outLinks(2).end());
    EXPECT_FALSE(g.outLinks(2).end().brokeOff());
    EXPECT_THROW(g.outLinks(3), qcInvariantFailure);
    EXPECT_THROW(g.outLinks(-1), qcInvariantFailure);
    qcChainRange::iterator it = qcChainRange(g, 1).begin();  // from within a chain: its tail
    EXPECT_EQ((*it++).index, 1);
    EXPECT_EQ((*it).index, 0);
    EXPECT_TRUE(++it == qcChainRange(g, -1).end());
    EXPECT_FALSE(it.brokeOff());
}

TEST(DirectedGraph, FastAndCheckedAddingGiveEqualGraphs)
{
    std::mt19937 rng(7);
    qcDirectedGraph checked = makeGraph(6, {}), fast = checked;
    for (int k = 0; k < 200; ++k) {
        const long a = static_cast<long>(rng() % 6), b = static_cast<long>(rng() % 6);
        checked.addLink(qcDirectedGraphLink(a, b, k));
        fast.addLinkFastUnsafe(a, b, k);
    }
    EXPECT_TRUE(checked == fast);
    fast.link(17, qcDirectedGraphLink(fast.link(17).nodeA(), fast.link(17).nodeB(), 99.0));
    EXPECT_FALSE(fast == checked);
    qctest::AssertRecorder recorder;
    const qcDirectedGraph before = checked;
    for (const auto& [a, b] : {std::pair{6, 0}, {0, -1}, {-3, 9}})
        checked.addLinkFastUnsafe(a, b, 1.0);
    EXPECT_EQ(recorder.numbers, (std::vector<int>{566, 567, 566, 567}));
    EXPECT_TRUE(checked == before);
}

TEST(DirectedGraph, AddingOwnRecordsIsSoundWhileTheArraysGrow)
{
    qcDirectedGraph g = makeGraph(2, {{1, 1, 2.5}});
    g.node(0, makeGraph(4, {}).node(3));  // a node at (3, 0)
    for (int k = 0; k < 100; ++k) {
        g.addNode(g.node(0));
        g.addLink(g.link(0));
    }
    EXPECT_EQ(std::make_tuple(g.node(101).position(), g.link(100).score(), chainOf(g, 1).size()),
              std::make_tuple(qcVector<2>(3.0, 0.0), 2.5, std::size_t{101}));
    EXPECT_EQ(qctest::graphFault(g), nullptr);
}
