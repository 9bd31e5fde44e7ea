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
    std::vector<int> state(static_cast<std::size_t>(n), unvisited);
    std::vector<double> distance(static_cast<std::size_t>(n), 1.0e12);
    std::vector<std::int32_t> predecessorNode(static_cast<std::size_t>(n), -1), predecessorLink(predecessorNode);
    std::vector<qcPair<double>> heap;
    const auto push = [&heap](double key, long node) {
        heap.emplace_back(key, static_cast<double>(node));
        for (std::size_t i = heap.size() - 1; i > 0 && heap[(i - 1) / 2].first > heap[i].first; i = (i - 1) / 2)
            std::swap(heap[i], heap[(i - 1) / 2]);
    };
    const auto takeOut = [&heap]() {
        if (heap.empty())
            return -1L;
        const auto top = static_cast<long>(heap[0].second);
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
    push(0.0, start);
    state[static_cast<std::size_t>(start)] = queued;
    for (;;) {
        long u = takeOut();
        while (u != -1 && state[static_cast<std::size_t>(u)] != queued)
            u = takeOut();
        if (u == -1)
            break;
        state[static_cast<std::size_t>(u)] = settled;
        if (u == end)
            break;
        long k = graph.node(u).firstChild();
        for (long steps = 0; k >= 0 && k < m && steps < m; ++steps, k = graph.link(k).nextChild()) {
            const qcDirectedGraphLink& l = graph.link(k);
            const long v = l.nodeA() == u ? l.nodeB() : l.nodeA();
            if ((l.flags & 1u) || v < 0 || v >= n || state[static_cast<std::size_t>(v)] == settled)
                continue;
            const double candidate = distance[static_cast<std::size_t>(u)] + l.score();
            if (candidate < distance[static_cast<std::size_t>(v)]) {
                distance[static_cast<std::size_t>(v)] = candidate;
                push(candidate, v);
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
