// A ranked search that can find nothing would take every node it reaches k times before it
// says so; a sweep of the reachable nodes answers at once instead.
#include <limits>
#include <vector>

#include "PyGraph.h"

bool anyWalk(const qcDirectedGraph& graph, std::int32_t from, std::int32_t to, std::int32_t minLength)
{
    if (from == to && minLength <= 0)
        return true;
    const long links = graph.numLinks();
    std::vector<char> reached(static_cast<std::size_t>(graph.numNodes()), 0);
    std::vector<std::int32_t> stack{from};
    while (!stack.empty()) {
        const std::int32_t u = stack.back();
        stack.pop_back();
        // The chain is walked as the library walks it: to the first index outside the links.
        for (long k = graph.node(u).firstChild(); k >= 0 && k < links; k = graph.link(k).nextChild()) {
            const qcDirectedGraphLink& l = graph.link(k);
            char& seen = reached[static_cast<std::size_t>(l.nodeB())];
            if (!seen && l.score() < std::numeric_limits<double>::infinity()) {
                if (l.nodeB() == to)
                    return true;
                seen = 1;
                stack.push_back(static_cast<std::int32_t>(l.nodeB()));
            }
        }
    }
    return false;
}
