#include <gtest/gtest.h>

#include "qcDirectedGraph.h"

namespace {

struct Questions {
    qcIndexArray nodes;
    qcIndexArray links;
    bool empty, singleton, loop, cycle;
};

TEST(PathRecord, QuestionsOnValidPaths)
{
    const Questions cases[] = {
        {{}, {}, true, false, false, false},
        {{5}, {}, false, true, false, false},
        {{5, 5}, {0}, false, false, true, true},
        {{1, 2, 1}, {0, 1}, false, false, true, true},
        {{1, 2, 3, 2}, {0, 1, 2}, false, false, false, true},
        {{3, 1, 2}, {0, 1}, false, false, false, false},
    };
    for (const Questions& q : cases) {
        const qcDirectedGraphPath p(q.nodes, q.links);
        SCOPED_TRACE(testing::PrintToString(q.nodes));
        EXPECT_TRUE(p.sizeValid());
        EXPECT_EQ(p.isEmpty(), q.empty);
        EXPECT_EQ(p.isSingleton(), q.singleton);
        EXPECT_EQ(p.isLoop(), q.loop);
        EXPECT_EQ(p.hasCycle(), q.cycle);
        EXPECT_EQ(p.nodes(), q.nodes);
        EXPECT_EQ(p.links(), q.links);
    }
    EXPECT_TRUE(qcDirectedGraphPath().isEmpty());
}

TEST(PathRecord, SizeRuleAndEquality)
{
    EXPECT_THROW(qcDirectedGraphPath({1, 2}, {}), qcInvariantFailure);
    EXPECT_THROW(qcDirectedGraphPath({}, {0}), qcInvariantFailure);
    EXPECT_THROW(qcDirectedGraphPath({1}, {0}), qcInvariantFailure);

    const qcDirectedGraphPath a({1, 2, 3}, {4, 5});
    const qcDirectedGraphPath b({1, 2, 3}, {4, 6});
    qcDirectedGraphPath copy;
    copy = a;
    EXPECT_TRUE(copy == a);
    EXPECT_FALSE(copy != a);
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(qcDirectedGraphPath(a) == a);
    EXPECT_FALSE(qcDirectedGraphPath({1, 2}, {4}) == a);
}

}  // namespace
