#include "qcDirectedGraph.h"

#include <algorithm>

#include "graph/qcIndex.h"
#include "search/qcPathSearch.h"

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                                   qcIndexArray& links) const
{
    nodes.clear();
    links.clear();
    const long n = numNodes();
    if (start < 0 || start >= n || end < 0 || end >= n)
        return;

    qcPathSearch search(*this, start);
    search.run(end);
    if (!search.settled(end))
        return;
    std::int32_t k = end;
    nodes.push_back(k);
    while (k != start && search.record(k).predecessorNode != -1) {
        links.push_back(search.record(k).predecessorLink);
        k = search.record(k).predecessorNode;
        nodes.push_back(k);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(links.begin(), links.end());
}

void qcDirectedGraph::shortestPath(std::int32_t link, qcIndexArray& nodes, qcIndexArray& links) const
{
    if (link < 0 || link >= numLinks()) {
        nodes.clear();
        links.clear();
        return;
    }
    const qcDirectedGraphLink& l = mLinks[at(link)];
    shortestPath(l.mNodeA, l.mNodeB, nodes, links);
}
