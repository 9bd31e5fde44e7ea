#include "qcDirectedGraph.h"

#include <limits>

#include "graph/qcIndex.h"
#include "search/qcPathSearch.h"

namespace {

void searchTree(const qcDirectedGraph& graph, std::int32_t start, std::vector<double>& distances,
                qcIndexArray& predecessorLinks, qcSearchRows* rows)
{
    if (start < 0 || start >= graph.numNodes())
        throw qcInvariantFailure();
    qcPathSearch search(graph, start, rows);
    search.run(-1);
    const std::size_t n = at(graph.numNodes());
    distances.assign(n, std::numeric_limits<double>::infinity());
    predecessorLinks.assign(n, -1);
    for (std::size_t v = 0; v < n; ++v) {
        const auto node = static_cast<std::int32_t>(v);
        if (search.settled(node)) {
            distances[v] = search.record(node).distance;
            predecessorLinks[v] = search.record(node).predecessorLink;
        }
    }
}

}  // namespace

void qcDirectedGraph::shortestPathTree(std::int32_t start, std::vector<double>& distances,
                                       qcIndexArray& predecessorLinks) const
{
    searchTree(*this, start, distances, predecessorLinks, nullptr);
}

void qcDirectedGraph::shortestPathTree(std::int32_t start, std::vector<double>& distances,
                                       qcIndexArray& predecessorLinks, qcSearchRows& rows) const
{
    searchTree(*this, start, distances, predecessorLinks, &rows);
}

