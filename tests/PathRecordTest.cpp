#include <gtest/gtest.h>

#include <tuple>

#include "qcDirectedGraph.h"

TEST(PathRecord, QuestionsSizeRuleAndEquality)
{
    const struct {
        const char* name;
        qcIndexArray nodes, links;
        bool empty, singleton, loop, cycle;
    } cases[] = {
        {"empty", {}, {}, true, false, false, false},          {"one node", {5}, {}, false, true, false, false},
        {"self-loop", {5, 5}, {0}, false, false, true, true},  {"loop", {1, 2, 1}, {0, 1}, false, false, true, true},
        {"cycle, no loop", {1, 2, 3, 2}, {0, 1, 2}, false, false, false, true},
        {"simple path", {3, 1, 2}, {0, 1}, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const qcDirectedGraphPath p(c.nodes, c.links);
        EXPECT_EQ(std::make_tuple(p.sizeValid(), p.nodes(), p.links()), std::make_tuple(true, c.nodes, c.links));
        EXPECT_EQ((std::vector<bool>{p.isEmpty(), p.isSingleton(), p.isLoop(), p.hasCycle()}),
                  (std::vector<bool>{c.empty, c.singleton, c.loop, c.cycle}));
    }
    for (const auto& [nodes, links] : {std::pair<qcIndexArray, qcIndexArray>{{1, 2}, {}}, {{}, {0}}, {{1}, {0}}})
        EXPECT_THROW(qcDirectedGraphPath(nodes, links), qcInvariantFailure) << testing::PrintToString(nodes);
    const qcDirectedGraphPath a({1, 2, 3}, {4, 5}), b({1, 2, 3}, {4, 6});
    // copy == a, copy != a, a != b, a == b
    EXPECT_EQ((std::vector<bool>{qcDirectedGraphPath(a) == a, qcDirectedGraphPath(a) != a, a != b, a == b}),
              (std::vector<bool>{true, false, true, false}));
}
