#include <functional>
#include <sstream>

#include "qcConStream.h"
#include "qcGraphicList.h"
#include "support/GraphTestSupport.h"

using namespace qctest;

// Node 2 takes the record of a node with six links: its chain starts at link 5 of a graph of
// three. The rows run in order on one graph; the first puts link 2 in front of the bad index,
// so the later walks see one link, then the break. 761 has no row: a listed step a -> b was made
// from a link before the break of a's chain, so finding it again never reaches the break (and
// the 876 of that chain came first).
TEST(BrokenChain, EveryWalkStopsAtTheBreak)
{
    qcDirectedGraph g = makeGraph(3, {{0, 1, 1.0}, {1, 2, 2.0}, {2, 0, 4.0}});
    g.node(2, makeGraph(1, std::vector<LinkSpec>(6, {0, 0})).node(0));
    qcGraphicList list;
    qcIndexArray nodes, links;
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    std::wostringstream trace;
    const auto str = [](const qcIndexArray& a) { std::string s; for (auto i : a) s += std::to_string(i) + " "; return s; };
    const struct { const char* name; std::function<std::string()> walk; std::string expected; std::vector<int> asserts; } cases[] = {
        {"link replacement", [&] { g.link(2, qcDirectedGraphLink(2, 0, 4.0));
            return str({int(g.node(2).firstChild()), int(g.link(2).nextChild())}); }, "2 5 ", {}},
        {"trace", [&] { auto* old = qfNoxOut().rdbuf(trace.rdbuf()); g.node(2).mTrace(g); qfNoxOut().rdbuf(old);
            const std::wstring w = trace.str(); return std::string(w.begin(), w.end()); }, "Node 2 links:\nlink 2: 2 to 0 score 4\n", {}},
        {"drawing", [&] { g.node(2).draw(list, g, 3); return std::to_string(list.size()); }, "2", {}},
        {"drawLink past the break", [&] { EXPECT_THROW(g.node(2).drawLink(list, g, 1), qcInvariantFailure);
            return std::to_string(list.size()); }, "3", {}},
        {"two-node search", [&] { g.shortestPath(2, 1, nodes, links); return str(nodes) + str(links); }, "2 0 1 2 0 ", {}},
        {"ranked search", [&] { g.shortestPath(2, 0, 1, -1, -1, paths, scores);
            return str(paths.at(0).nodes()) + str(paths.at(0).links()) + std::to_string(scores.size()); }, "2 0 2 1", {876}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AssertRecorder recorder;
        EXPECT_EQ(c.walk(), c.expected);
        EXPECT_EQ(AssertRecorder::numbers, c.asserts);
    }
}
