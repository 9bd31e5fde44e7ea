#include "qcDirectedGraph.h"

#include <limits>
#include <vector>

#include "graph/qcIndex.h"

bool qcDirectedGraph::reaches(std::int32_t start, std::int32_t end) const
{
    if (start < 0 || start >= numNodes() || end < 0 || end >= numNodes())
        throw qcInvariantFailure();
    std::vector<char> seen(at(numNodes()), 0);
    std::vector<std::int32_t> todo{start};
    while (!todo.empty()) {
        const std::int32_t u = todo.back();
        todo.pop_back();
        for (const auto [k, l] : outLinks(u)) {
            char& s = seen[at(l.nodeB())];
            if (!s && l.score() < std::numeric_limits<double>::infinity()) {
                if (l.nodeB() == end)
                    return true;
                s = 1;
                todo.push_back(static_cast<std::int32_t>(l.nodeB()));
            }
        }
    }
    return false;
}
