#include "reference/PlainShortestPath.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "qcPair.h"

namespace qcref {

void plainShortestPath(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                       qcIndexArray& links)
{
    nodes.clear();
    links.clear();
    const long n = graph.numNodes(), m = graph.numLinks();
    if (start < 0 || start >= n || end < 0 || end >= n)
        return;
    enum { unvisited, queued, settled };
    const auto size = static_cast<std::size_t>(n);
    std::vector<int> state(size, unvisited);
    std::vector<double> distance(size, 1.0e12);
    std::vector<std::int32_t> predecessorNode(size, -1), predecessorLink(size, -1);
    std::vector<qcPair<double>> heap;
    const auto push = [&heap](double key, std::size_t node) {
        heap.emplace_back(key, static_cast<double>(node));
        for (std::size_t i = heap.size() - 1; i > 0 && heap[(i - 1) / 2].first > heap[i].first; i = (i - 1) / 2)
            std::swap(heap[i], heap[(i - 1) / 2]);
    };
    const auto takeOut = [&heap]() -> std::size_t {
        if (heap.empty())
            return static_cast<std::size_t>(-1);
        const auto top = static_cast<std::size_t>(heap[0].second);
        heap[0] = heap.back();
        heap.pop_back();
        for (std::size_t i = 0, left = 1; left < heap.size(); left = 2 * i + 1) {
            const std::size_t right = left + 1;
            const std::size_t child = right < heap.size() && !(heap[right].first > heap[left].first) ? right : left;
            if (!(heap[child].first < heap[i].first))
                break;
            std::swap(heap[child], heap[i]);
            i = child;
        }
        return top;
    };

    distance[static_cast<std::size_t>(start)] = 0.0;
    push(0.0, static_cast<std::size_t>(start));
    state[static_cast<std::size_t>(start)] = queued;
    for (std::size_t u = takeOut(); u < size; u = takeOut()) {
        if (state[u] != queued)
            continue;
        state[u] = settled;
        if (u == static_cast<std::size_t>(end))
            break;
        long k = graph.node(static_cast<long>(u)).firstChild();
        for (long steps = 0; k >= 0 && k < m && steps < m; ++steps, k = graph.link(k).nextChild()) {
            const qcDirectedGraphLink& l = graph.link(k);
            const long v = l.nodeA() == static_cast<long>(u) ? l.nodeB() : l.nodeA();
            const double candidate = distance[u] + l.score();
            if (!(l.flags & 1u) && v >= 0 && v < n && state[static_cast<std::size_t>(v)] != settled &&
                candidate < distance[static_cast<std::size_t>(v)]) {
                distance[static_cast<std::size_t>(v)] = candidate;
                push(candidate, static_cast<std::size_t>(v));
                state[static_cast<std::size_t>(v)] = queued;
                predecessorNode[static_cast<std::size_t>(v)] = static_cast<std::int32_t>(u);
                predecessorLink[static_cast<std::size_t>(v)] = static_cast<std::int32_t>(l.id());
            }
        }
    }
    if (state[static_cast<std::size_t>(end)] != settled)
        return;
    for (std::int32_t k = end;; k = predecessorNode[static_cast<std::size_t>(k)]) {
        nodes.push_back(k);
        if (k == start || predecessorNode[static_cast<std::size_t>(k)] == -1)
            break;
        links.push_back(predecessorLink[static_cast<std::size_t>(k)]);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(links.begin(), links.end());
}

}  // namespace qcref
