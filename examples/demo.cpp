// Builds a small road map, prints the library's trace of it, finds the cheapest way across and
// writes a picture of the map with that way drawn over it (SVG, path given as argv[1]).
#include <cstdio>

#include "qcDirectedGraph.h"
#include "qcSvgTablet.h"

namespace {
long addCrossing(qcDirectedGraph& graph, double x, double y)
{
    qcDirectedGraphNode node;
    node.position(qcVector<2>(x, y));
    return graph.addNode(node);
}
}  // namespace

int main(int argc, char** argv)
{
    const char* picture = argc > 1 ? argv[1] : "qcgraph-demo.svg";

    //   0 ---> 1 ---> 2
    //   |      |      ^
    //   v      v      |
    //   3 ---> 4 -----+
    qcDirectedGraph graph;
    const long a = addCrossing(graph, 0, 1), b = addCrossing(graph, 1, 1), c = addCrossing(graph, 2, 1);
    const long d = addCrossing(graph, 0, 0), e = addCrossing(graph, 1, 0);
    graph.addLink(qcDirectedGraphLink(a, b, 1.0));
    graph.addLink(qcDirectedGraphLink(b, c, 4.0));
    graph.addLink(qcDirectedGraphLink(a, d, 1.5));
    graph.addLink(qcDirectedGraphLink(b, e, 2.0));
    graph.addLink(qcDirectedGraphLink(d, e, 1.0));
    graph.addLinkFastUnsafe(e, c, 1.0);

    // Every crossing with the roads that leave it, the most recently stored road first.
    graph.mTrace();

    qcIndexArray nodes, links;
    graph.shortestPath(static_cast<std::int32_t>(a), static_cast<std::int32_t>(c), nodes, links);
    std::printf("\ncheapest way from %ld to %ld:", a, c);
    for (const std::int32_t n : nodes)
        std::printf(" %d", n);
    std::printf("\n");

    // The whole map in thin lines, then the way in thick ones over it.
    qcSvgTablet tablet;
    graph.draw(tablet);
    tablet.lineWidth(5.0);
    graph.drawPath(tablet, nodes, links);
    if (!tablet.save(picture)) {
        std::fprintf(stderr, "cannot write %s\n", picture);
        return 1;
    }
    std::printf("picture written to %s\n", picture);
    return 0;
}
