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
    // Each output written once, node by node: on a large graph the writing is a share of the
    // search's time.
    const std::size_t n = at(graph.numNodes());
    distances.clear();
    predecessorLinks.clear();
    distances.reserve(n);
    predecessorLinks.reserve(n);
    for (std::size_t v = 0; v < n; ++v) {
        const auto node = static_cast<std::int32_t>(v);
        const bool reached = search.settled(node);
        distances.push_back(reached ? search.record(node).distance : std::numeric_limits<double>::infinity());
        predecessorLinks.push_back(reached ? search.record(node).predecessorLink : -1);
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

