#include <gtest/gtest.h>

#include "qcDirectedGraph.h"

TEST(PathRecord, QuestionsSizeRuleAndEquality)
{
    const struct {
        qcIndexArray nodes, links;
        bool empty, singleton, loop, cycle;
    } cases[] = {
        {{}, {}, true, false, false, false},          {{5}, {}, false, true, false, false},
        {{5, 5}, {0}, false, false, true, true},      {{1, 2, 1}, {0, 1}, false, false, true, true},
        {{1, 2, 3, 2}, {0, 1, 2}, false, false, false, true}, {{3, 1, 2}, {0, 1}, false, false, false, false},
    };
    for (const auto& c : cases) {
        const qcDirectedGraphPath p(c.nodes, c.links);
        EXPECT_TRUE(p.sizeValid() && p.nodes() == c.nodes && p.links() == c.links);
        EXPECT_EQ((std::vector<bool>{p.isEmpty(), p.isSingleton(), p.isLoop(), p.hasCycle()}),
                  (std::vector<bool>{c.empty, c.singleton, c.loop, c.cycle})) << testing::PrintToString(c.nodes);
    }
    for (const auto& [nodes, links] : {std::pair<qcIndexArray, qcIndexArray>{{1, 2}, {}}, {{}, {0}}, {{1}, {0}}})
        EXPECT_THROW(qcDirectedGraphPath(nodes, links), qcInvariantFailure);
    const qcDirectedGraphPath a({1, 2, 3}, {4, 5}), b({1, 2, 3}, {4, 6});
    EXPECT_TRUE(qcDirectedGraphPath(a) == a && !(qcDirectedGraphPath(a) != a) && a != b && !(a == b));
}
