#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/GraphTestSupport.h"

using qctest::AssertRecorder;
using qctest::chainOf;
using qctest::makeGraph;
using qctest::nodeAt;

TEST(GraphRecords, DefaultsAndFieldByFieldEquality)
{
    const qcDirectedGraphLink l;
    EXPECT_EQ(l.flags, 0u);
    EXPECT_EQ(l.nodeA(), -1);
    EXPECT_EQ(l.nodeB(), -1);
    EXPECT_EQ(l.id(), -1);
    EXPECT_EQ(l.nextChild(), -1);
    EXPECT_EQ(l.score(), 1.0);
    EXPECT_EQ(qcDirectedGraphLink(3, 5).score(), 1.0);

    const qcDirectedGraphNode n;
    EXPECT_EQ(n.firstChild(), -1);
    EXPECT_EQ(n.position(), qcVector<2>(0.0, 0.0));

    // Bookkeeping fields take part in equality: the same link stored twice differs by id and
    // nextChild, the same node position stored twice by id.
    qcDirectedGraph g = makeGraph(2, {{0, 1, 2.0}, {0, 1, 2.0}});
    EXPECT_FALSE(g.link(0) == g.link(1));
    g.node(1, g.node(0));
    EXPECT_FALSE(g.node(0) == g.node(1));
    qcDirectedGraphLink flagged(0, 1, 2.0);
    flagged.flags = 1;
    EXPECT_FALSE(flagged == qcDirectedGraphLink(0, 1, 2.0));

    // Scores compare as doubles.
    EXPECT_TRUE(qcDirectedGraphLink(0, 1, 0.0) == qcDirectedGraphLink(0, 1, -0.0));
    const qcDirectedGraphLink nan(0, 1, std::nan(""));
    EXPECT_FALSE(nan == nan);
}

TEST(GraphRecords, IndicesThatDoNotFitIn32BitsBecomeNone)
{
    qcDirectedGraphLink l(-7, 4294967297L, -2.5);
    EXPECT_EQ(l.nodeA(), -7);
    EXPECT_EQ(l.nodeB(), -1);  // would have wrapped round to node 1
    EXPECT_EQ(l.score(), -2.5);
    l.nodeA(std::numeric_limits<long>::min());
    EXPECT_EQ(l.nodeA(), -1);

    qcDirectedGraph g = makeGraph(2, {});
    EXPECT_THROW(g.addLink(qcDirectedGraphLink(0, 4294967297L)), qcInvariantFailure);
    EXPECT_THROW(g.node(4294967296L), qcInvariantFailure);
}

TEST(DirectedGraph, EmptyGraphAndRangeFailures)
{
    qcDirectedGraph g;
    EXPECT_EQ(g.numNodes(), 0);
    EXPECT_EQ(g.numLinks(), 0);
    EXPECT_THROW(g.node(0), qcInvariantFailure);
    EXPECT_THROW(g.link(0), qcInvariantFailure);
    EXPECT_THROW(g.addLink(qcDirectedGraphLink()), qcInvariantFailure);
    EXPECT_EQ(g.numLinks(), 1);  // the default slot stays

    g = makeGraph(5, {});
    EXPECT_THROW(g.node(-1), qcInvariantFailure);
    EXPECT_THROW(g.node(5), qcInvariantFailure);
    EXPECT_THROW(g.node(5, qcDirectedGraphNode()), qcInvariantFailure);
    EXPECT_THROW(g.link(-1, qcDirectedGraphLink(0, 1)), qcInvariantFailure);
    EXPECT_THROW(g.link(0, qcDirectedGraphLink(0, 1)), qcInvariantFailure);

    // Each of these exceptions is also a qcException, a qcPersistent and a std::exception.
    EXPECT_THROW(g.node(9), qcException);
    EXPECT_THROW(g.node(9), qcPersistent);
    EXPECT_THROW(g.node(9), std::exception);
}

TEST(DirectedGraph, StoringWritesIdsWhateverTheRecordHeld)
{
    qcDirectedGraph g = makeGraph(3, {});
    const qcDirectedGraphNode fromOtherGraph = g.node(2);
    EXPECT_EQ(g.addNode(fromOtherGraph), 3);
    EXPECT_EQ(g.node(3).id(), 3);

    const long k0 = g.addLink(qcDirectedGraphLink(0, 1));
    qcDirectedGraphLink stored = g.link(k0);  // carries id 0 and a nextChild
    const long k1 = g.addLink(stored);
    EXPECT_EQ(k0, 0);
    EXPECT_EQ(k1, 1);
    EXPECT_EQ(g.link(1).id(), 1);
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{1, 0}));
}

TEST(DirectedGraph, FailedAddLinkLeavesAnUnchainedDefaultSlotThatCanBeFilled)
{
    //   0 --> 1     and a failed link to the missing node 5
    qcDirectedGraph g = makeGraph(5, {{0, 1}});
    EXPECT_THROW(g.addLink(qcDirectedGraphLink(0, 5)), qcInvariantFailure);
    EXPECT_THROW(g.addLink(qcDirectedGraphLink(-1, 2)), qcInvariantFailure);
    ASSERT_EQ(g.numLinks(), 3);
    EXPECT_TRUE(g.link(1) == qcDirectedGraphLink());
    EXPECT_TRUE(g.link(2) == qcDirectedGraphLink());
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{0}));
    qctest::expectInvariants(g);

    g.link(2, qcDirectedGraphLink(0, 4, 3.0));
    EXPECT_EQ(g.link(2).id(), 2);
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{2, 0}));
    qctest::expectInvariants(g);
}

TEST(DirectedGraph, ReplacingLinksKeepsTheOtherChainOrder)
{
    // Links 0, 1, 2 all leave node 0; the chain lists the newest first.
    qcDirectedGraph g = makeGraph(4, {{0, 1}, {0, 2}, {0, 3}});
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{2, 1, 0}));

    g.link(0, qcDirectedGraphLink(0, 2, 4.0));
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{0, 2, 1}));

    g.link(1, qcDirectedGraphLink(3, 1, 1.0));
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{0, 2}));
    EXPECT_EQ(chainOf(g, 3), (std::vector<long>{1}));
    qctest::expectInvariants(g);

    // A link written back unchanged only moves to the head of its chain.
    const qcDirectedGraph before = g;
    g.link(2, g.link(2));
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{2, 0}));
    EXPECT_EQ(g.link(2).score(), before.link(2).score());
    EXPECT_FALSE(g == before);
}

TEST(DirectedGraph, WritingBackAMovedNodeKeepsItsChain)
{
    qcDirectedGraph g = makeGraph(3, {{1, 0}, {1, 2}, {1, 1}});
    qcDirectedGraphNode moved = g.node(1);
    moved.position(qcVector<2>(7.5, -2.0));
    g.node(1, moved);
    EXPECT_EQ(chainOf(g, 1), (std::vector<long>{2, 1, 0}));
    EXPECT_EQ(g.node(1).id(), 1);
    EXPECT_EQ(g.node(1).position(), qcVector<2>(7.5, -2.0));
}

TEST(DirectedGraph, FastAndCheckedAddingGiveEqualGraphs)
{
    std::mt19937 rng(7);
    qcDirectedGraph checked = makeGraph(6, {});
    qcDirectedGraph fast = checked;
    for (int k = 0; k < 200; ++k) {
        const long a = static_cast<long>(rng() % 6), b = static_cast<long>(rng() % 6);
        const double s = static_cast<double>(rng() % 9) - 2.0;
        checked.addLink(qcDirectedGraphLink(a, b, s));
        fast.addLinkFastUnsafe(a, b, s);
    }
    EXPECT_TRUE(checked == fast);

    const qcDirectedGraph copy = checked;
    EXPECT_TRUE(copy == checked);
    fast.link(17, qcDirectedGraphLink(fast.link(17).nodeA(), fast.link(17).nodeB(), 99.0));
    EXPECT_FALSE(fast == checked);
}

TEST(DirectedGraph, FastAddingReportsBadEndsAndStoresNothing)
{
    AssertRecorder recorder;
    qcDirectedGraph g = makeGraph(2, {{0, 1}});
    const qcDirectedGraph before = g;
    g.addLinkFastUnsafe(2, 0, 1.0);
    g.addLinkFastUnsafe(0, -1, 1.0);
    g.addLinkFastUnsafe(-3, 9, 1.0);
    EXPECT_EQ(AssertRecorder::numbers(), (std::vector<int>{566, 567, 566, 567}));
    EXPECT_TRUE(g == before);
}

TEST(DirectedGraph, AddingOwnRecordsIsSoundWhileTheArraysGrow)
{
    // Node 0 has no links, so its record is fit for addNode.
    qcDirectedGraph g = makeGraph(2, {{1, 1, 2.5}});
    g.node(0, qctest::nodeAt(3.0, 4.0));
    for (int k = 0; k < 100; ++k) {
        g.addNode(g.node(0));
        g.addLink(g.link(0));
    }
    EXPECT_EQ(g.numNodes(), 102);
    EXPECT_EQ(g.numLinks(), 101);
    EXPECT_EQ(g.node(101).position(), qcVector<2>(3.0, 4.0));
    EXPECT_EQ(g.link(100).score(), 2.5);
    EXPECT_EQ(chainOf(g, 1).size(), 101u);
    qctest::expectInvariants(g);
}

TEST(DirectedGraph, InvariantsHoldAfterRandomAddAndReplaceSequences)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 50; ++round) {
        qcDirectedGraph g;
        for (int step = 0; step < 120; ++step) {
            const long n = g.numNodes(), m = g.numLinks();
            const long any = static_cast<long>(rng() % (n + 2)) - 1;  // sometimes out of range
            const long other = static_cast<long>(rng() % (n + 2)) - 1;
            try {
                switch (rng() % 5) {
                case 0: g.addNode(nodeAt(static_cast<double>(step), 0.0)); break;
                case 1: g.addLink(qcDirectedGraphLink(any, other)); break;
                case 2:
                    if (m > 0)
                        g.link(static_cast<long>(rng() % m), qcDirectedGraphLink(any, other, 2.0));
                    break;
                case 3:
                    if (n > 0) {
                        const long i = static_cast<long>(rng() % n);
                        qcDirectedGraphNode moved = g.node(i);
                        moved.position(qcVector<2>(1.0, static_cast<double>(step)));
                        g.node(i, moved);
                    }
                    break;
                default:
                    if (n > 0 && any >= 0 && other >= 0)
                        g.addLinkFastUnsafe(any, other, 0.5);
                }
            } catch (const qcInvariantFailure&) {
                // bad ends were drawn on purpose; the graph must still be consistent
            }
            ASSERT_NO_FATAL_FAILURE(qctest::expectInvariants(g)) << "round " << round << " step " << step;
        }
    }
}

TEST(DirectedGraph, ForeignFirstChildCannotMakeAReplacementLoopForever)
{
    // node(i, n) takes firstChild as the caller gives it. Here node 0 is made to claim link 0
    // of node 1, which then chains to itself; a later replacement walks that loop looking for a
    // link it never meets, and must stop.
    qcDirectedGraph g = makeGraph(2, {{1, 0}});
    g.node(0, g.node(1));
    g.link(0, qcDirectedGraphLink(0, 1));
    EXPECT_EQ(g.link(0).nextChild(), 0);
    const qcDirectedGraphNode loopHead = g.node(0);
    g.addLink(qcDirectedGraphLink(0, 1));  // link 1, in front of the loop
    g.node(0, loopHead);                   // link 1 is detached again
    g.link(1, qcDirectedGraphLink(0, 0, 5.0));
    EXPECT_EQ(g.node(0).firstChild(), 1);
    EXPECT_EQ(g.link(1).nextChild(), 0);
    EXPECT_EQ(g.link(1).score(), 5.0);
}
