#include "qcDirectedGraph.h"

#include <algorithm>

#include "graph/qcIndex.h"
#include "search/qcPathSearch.h"

namespace {

void searchPath(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                qcIndexArray& links, qcSearchRows* rows)
{
    nodes.clear();
    links.clear();
    const long n = graph.numNodes();
    if (start < 0 || start >= n || end < 0 || end >= n)
        return;

    qcPathSearch search(graph, start, rows);
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

}  // namespace

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                                   qcIndexArray& links) const
{
    searchPath(*this, start, end, nodes, links, nullptr);
}

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes, qcIndexArray& links,
                                   qcSearchRows& rows) const
{
    searchPath(*this, start, end, nodes, links, &rows);
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
