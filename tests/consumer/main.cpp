// Exits 0 when the installed library builds, links and behaves: a two-link chain, and the
// documented exception for a bad index caught across the library boundary.
#include <qcDirectedGraph.h>

#include <cstdio>

int main()
{
    qcDirectedGraph graph;
    for (int i = 0; i < 3; ++i)
        graph.addNode(qcDirectedGraphNode());
    graph.addLink(qcDirectedGraphLink(0, 1, 2.0));
    graph.addLinkFastUnsafe(1, 2, 3.0);
    try {
        graph.node(7);
        return 1;
    } catch (const qcInvariantFailure&) {
    }
    const bool ok = graph.numLinks() == 2 && graph.link(graph.node(1).firstChild()).nodeB() == 2;
    std::printf("consumer: %s\n", ok ? "ok" : "wrong");
    return ok ? 0 : 1;
}
