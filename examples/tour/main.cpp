// A user's program built against an installed qcgraph, and the tour of docs/cpp.md: every C++
// block there and in the README is a copy of a part of this file (scripts/check-readme
// compares them). It exits 0 only when the libraries build, link and behave as the tour says.
#include <initializer_list>
#include <utility>

#include <qcDirectedGraph.h>

// Two nodes with a link each way; the link from the first to the second is closed.
qcDirectedGraph buildGraph()
{
    qcDirectedGraph g;
    qcDirectedGraphNode n;
    n.position(qcVector<2>(0.0, 0.0));
    long a = g.addNode(n);                               // 0, 1, 2, ... in the order of adding
    n.position(qcVector<2>(1.0, 0.0));
    long b = g.addNode(n);
    long k = g.addLink(qcDirectedGraphLink(a, b, 2.5));  // checked: throws qcInvariantFailure
    g.addLinkFastUnsafe(b, a, 1.0);                      // unchecked: reports to qstd_assert_

    // Replace a stored record: read, change the copy, write back.
    qcDirectedGraphNode moved = g.node(a);
    moved.position(qcVector<2>(0.0, 3.0));
    g.node(a, moved);                    // keeps the node's chain
    qcDirectedGraphLink closed = g.link(k);
    closed.flags |= 1;                   // bit 0: the two-node search skips this link
    g.link(k, closed);                   // the link moves to the head of its chain
    return g;
}

// The Python example's graph: 0 -> 1 -> 2 (score 3.5) is cheaper than 0 -> 2 (4.0).
qcIndexArray cheapestPath()
{
    qcDirectedGraph g;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}}) {
        qcDirectedGraphNode n;
        n.position(qcVector<2>(x, y));
        g.addNode(n);
    }
    g.addLink(qcDirectedGraphLink(0, 1, 2.0));
    g.addLink(qcDirectedGraphLink(1, 2, 1.5));
    g.addLink(qcDirectedGraphLink(0, 2, 4.0));
    qcIndexArray nodes, links;
    g.shortestPath(0, 2, nodes, links);  // nodes 0, 1, 2 and links 0, 1
    return nodes;
}

// Walks the links leaving a node, newest first, and adds up their scores.
double scoreLeaving(const qcDirectedGraph& g, long node)
{
    double total = 0.0;
    for (const auto [index, link] : g.outLinks(node))  // index: the link's number in g
        total += link.score();
    return total;
}

#include <qcAttention.h>
#include <thread>

// Lists up to 1000 walks on a worker thread and cancels the search from this one.
std::vector<double> cancelledWalks(const qcDirectedGraph& graph, long from, long to)
{
    std::vector<qcDirectedGraphPath> walks;
    std::vector<double> scores;
    std::thread worker([&] {
        try {
            graph.shortestPath(from, to, 1000, -1, -1, walks, scores);
        } catch (const qcAttentionAbort&) {
            // cancelled: walks and scores hold the walks listed before the request
        }
    });
    // ... on the user's "cancel":
    qcAttention::requestAbort();
    worker.join();
    qcAttention::clearAbort();  // before anyone searches again
    return scores;
}

#include <qcSvgTablet.h>

// The graph in thin lines, its cheapest path from a to b in thick ones over it.
void drawPicture(const qcDirectedGraph& g, long a, long b, std::ostream& out)
{
    qcIndexArray nodes, links;
    g.shortestPath(a, b, nodes, links);
    qcSvgTablet svg;
    g.draw(svg);
    svg.lineWidth(5.0);                  // the path stands out
    g.drawPath(svg, nodes, links);
    svg.write(out);                      // or svg.save("graph.svg")
}

#include <qcSearchRows.h>

// The links of many paths, the searches sharing one layout of the graph's links.
std::size_t linksOfPaths(const qcDirectedGraph& g, const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs)
{
    qcSearchRows rows;
    qcIndexArray nodes, links;
    std::size_t total = 0;
    for (const auto& [from, to] : pairs) {
        g.shortestPath(from, to, nodes, links, rows);  // and g.shortestPathTree(start, d, via, rows)
        total += links.size();
    }
    return total;
}

#include <qcShortestPathIndex.h>

// Many questions of one map: the index answers each without a search of the graph.
double askTheIndex(const qcDirectedGraph& graph, std::int32_t a, std::int32_t b, const qcIndexArray& sources,
                   const qcIndexArray& targets, std::vector<double>& table)
{
    qcShortestPathIndex index(graph);               // seconds on a million nodes of a road network
    const double d = index.distance(a, b);          // microseconds; +infinity when unreachable
    qcIndexArray nodes, links;
    const double score = index.path(a, b, nodes, links);  // node and link indices of the graph
    index.distances(sources, targets, table);       // row by row, sources x targets
    return d == score ? d : -1.0;
}

#include <qcgraphVersion.h>

#include <cstdio>
#include <limits>
#include <sstream>

// The build names the standard it asked for; a package that forced another one fails here.
static_assert(__cplusplus / 100 % 100 == CONSUMER_CXX_STANDARD, "not the C++ standard asked for");

int main()
{
    std::printf("consumer: qcgraph %s, C++%d\n", QCGRAPH_VERSION_STRING, CONSUMER_CXX_STANDARD);
    const qcDirectedGraph g = buildGraph();
    qcIndexArray nodes, links;
    g.shortestPath(0, 1, nodes, links);  // its only way is closed
    bool ok = g.numLinks() == 2 && scoreLeaving(g, 0) == 2.5 && scoreLeaving(g, 1) == 1.0 &&
              g.node(0).position().y() == 3.0 && nodes.empty() && cheapestPath() == qcIndexArray{0, 1, 2};
    try {
        g.node(7);
        ok = false;
    } catch (const qcInvariantFailure&) {  // thrown in one library, caught in the program
    }
    const std::vector<double> scores = cancelledWalks(g, 0, 1);
    for (std::size_t i = 0; i < scores.size(); ++i)  // a->b, then b->a->b once more each time
        ok = ok && scores[i] == 2.5 + 3.5 * static_cast<double>(i);
    std::ostringstream svg;
    drawPicture(g, 1, 0, svg);  // searches run again after the cancel: the path is drawn thick
    ok = ok && svg.str().find("stroke-width=\"5.00\"") != std::string::npos;
    ok = ok && linksOfPaths(g, {{1, 0}, {0, 1}, {1, 0}}) == 2;  // 0 -> 1 is closed
    std::vector<double> table;
    ok = ok && askTheIndex(g, 1, 0, {0, 1}, {1, 0}, table) == 1.0 &&
         table == std::vector<double>{std::numeric_limits<double>::infinity(), 0.0, 0.0, 1.0};
    std::printf("consumer: %s\n", ok ? "ok" : "wrong");
    return ok ? 0 : 1;
}
