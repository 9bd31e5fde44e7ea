#include <gtest/gtest.h>

#include "support/GraphTestSupport.h"

using qctest::chainOf;

TEST(DirectedGraph, ChainsFollowTheReplacementExample)
{
    // Links 0, 1, 2 all leave node 0; the chain lists the newest first.
    qcDirectedGraph g = qctest::makeGraph(4, {{0, 1}, {0, 2}, {0, 3}});
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{2, 1, 0}));

    g.link(0, qcDirectedGraphLink(0, 2, 4.0));
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{0, 2, 1}));

    g.link(1, qcDirectedGraphLink(3, 1, 1.0));
    EXPECT_EQ(chainOf(g, 0), (std::vector<long>{0, 2}));
    EXPECT_EQ(chainOf(g, 3), (std::vector<long>{1}));
    qctest::expectInvariants(g);
}
