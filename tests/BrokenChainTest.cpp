#include <sstream>

#include "qcConStream.h"
#include "qcGraphicList.h"
#include "support/GraphTestSupport.h"

using namespace qctest;

// Node 2 takes the record of a node with six links: its chain starts at link 5 of a graph of
// three. Storing link 2 again puts it in front of the bad index, so every walk of node 2's chain
// meets one link, then the break, and stops there; only the ranked search reports it (876). 761
// cannot be reached: a listed step a -> b was made from a link before the break of a's chain, so
// finding that link again never reaches the break (and the 876 of that chain came first).
TEST(BrokenChain, EveryWalkStopsAtTheBreak)
{
    qcDirectedGraph g = makeGraph(3, {{0, 1, 1.0}, {1, 2, 2.0}, {2, 0, 4.0}});
    g.node(2, makeGraph(1, std::vector<LinkSpec>(6, {0, 0})).node(0));
    EXPECT_TRUE(g.outLinks(2).begin() == g.outLinks(2).end());  // link 5 is not there
    EXPECT_TRUE(g.outLinks(2).begin().brokeOff());
    AssertRecorder recorder;
    g.link(2, qcDirectedGraphLink(2, 0, 4.0));
    EXPECT_EQ(std::make_pair(g.node(2).firstChild(), g.link(2).nextChild()), std::make_pair(2L, 5L));
    EXPECT_EQ(chainOf(g, 2), (std::vector<long>{2}));
    EXPECT_TRUE(std::next(g.outLinks(2).begin()).brokeOff());
    {
        TraceCapture trace;
        g.node(2).mTrace(g);
        EXPECT_EQ(trace.str(), L"Node 2 links:\n|link 2: 2 to 0 score 4\n|");
    }
    qcGraphicList list;
    g.node(2).draw(list, g, 3);
    EXPECT_THROW(g.node(2).drawLink(list, g, 1), qcInvariantFailure);  // after its label
    EXPECT_EQ(list.size(), 3u);
    qcIndexArray nodes, links;
    g.shortestPath(2, 1, nodes, links);
    EXPECT_EQ(nodes, (qcIndexArray{2, 0, 1}));
    EXPECT_EQ(links, (qcIndexArray{2, 0}));
    EXPECT_TRUE(recorder.numbers.empty());
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    g.shortestPath(2, 0, 1, -1, -1, paths, scores);
    EXPECT_EQ(paths, std::vector<qcDirectedGraphPath>{qcDirectedGraphPath({2, 0}, {2})});
    EXPECT_EQ(scores, std::vector<double>{4.0});
    EXPECT_EQ(recorder.numbers, std::vector<int>{876});

    // Node 2's chain starts at node 0's one link: a foreign link, reported when node 2 is
    // continued (878) and when the listed walk names it (763).
    qcDirectedGraph h = makeGraph(3, {{0, 1, 1.0}, {1, 2, 2.0}});
    h.node(2, makeGraph(1, {{0, 0}}).node(0));
    EXPECT_EQ(chainOf(h, 2), (std::vector<long>{0}));  // the walk does not judge the link
    recorder.numbers.clear();
    h.shortestPath(2, 1, 1, -1, -1, paths, scores);
    EXPECT_EQ(paths, std::vector<qcDirectedGraphPath>{qcDirectedGraphPath({2, 1}, {0})});
    EXPECT_EQ(scores, std::vector<double>{1.0});
    EXPECT_EQ(recorder.numbers, (std::vector<int>{878, 763}));
}
