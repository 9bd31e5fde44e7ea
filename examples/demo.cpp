// Builds a small road map and walks the links that leave each crossing.
#include <cstdio>

#include "qcDirectedGraph.h"

namespace {
long addCrossing(qcDirectedGraph& graph, double x, double y)
{
    qcDirectedGraphNode node;
    node.position(qcVector<2>(x, y));
    return graph.addNode(node);
}
}  // namespace

int main()
{
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

    std::printf("%ld crossings, %ld roads\n", graph.numNodes(), graph.numLinks());
    for (long i = 0; i < graph.numNodes(); ++i) {
        std::printf("crossing %ld:", i);
        // The chain lists the most recently stored road first.
        for (long k = graph.node(i).firstChild(); k != -1; k = graph.link(k).nextChild())
            std::printf("  road %ld to %ld (%.1f)", k, graph.link(k).nodeB(), graph.link(k).score());
        std::printf("\n");
    }
    return 0;
}
