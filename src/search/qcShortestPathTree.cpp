#include "qcDirectedGraph.h"

#include <limits>

#include "graph/qcIndex.h"
#include "search/qcPathSearch.h"

void qcDirectedGraph::shortestPathTree(std::int32_t start, std::vector<double>& distances,
                                       qcIndexArray& predecessorLinks) const
{
    if (start < 0 || start >= numNodes())
        throw qcInvariantFailure();
    qcPathSearch search(*this, start);
    search.run(-1);
    const std::size_t n = at(numNodes());
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
