#include "index/qcCoreTable.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "graph/qcIndex.h"
#include "index/qcHierarchy.h"
#include "qcAttention.h"

std::size_t qfCoreTableNodes(std::size_t numNodes, std::size_t numLinks)
{
    const std::size_t bound = std::max<std::size_t>(4096, (numNodes + numLinks) / 2);
    auto size = static_cast<std::size_t>(std::sqrt(static_cast<double>(bound)));
    while (size * size > bound)  // the square root may round up
        --size;
    while ((size + 1) * (size + 1) <= bound)
        ++size;
    return size;
}

qcCoreTable qfTabulateCore(const qcHierarchy& h, std::size_t numLinks)
{
    qcCoreTable t;
    const std::size_t first = at(h.coreFrom), size = h.numNodes() - first;
    if (size == 0 || size > qfCoreTableNodes(h.numNodes(), numLinks))
        return t;
    t.size = size;
    t.first = h.coreFrom;
    t.distance.assign(size * size, std::numeric_limits<double>::infinity());
    t.lastArc.assign(size * size, -1);
    // Dijkstra's search from each core node over the core's rows, which hold all its arcs.
    std::vector<std::pair<double, std::int32_t>> heap;
    for (std::size_t from = 0; from < size; ++from) {
        if (from % 64 == 0)
            qcAttention::check();
        double* const distance = t.distance.data() + from * size;
        std::int32_t* const lastArc = t.lastArc.data() + from * size;
        distance[from] = 0.0;
        heap.assign(1, {0.0, static_cast<std::int32_t>(from)});
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end(), std::greater<>());
            const auto [d, u] = heap.back();
            heap.pop_back();
            if (d != distance[at(u)])
                continue;
            for (std::uint32_t k = h.upStart[first + at(u)]; k < h.upStart[first + at(u) + 1]; ++k) {
                const qcHierarchyStep& s = h.up[k];
                const std::size_t v = at(s.head) - first;
                if (d + s.weight < distance[v]) {
                    distance[v] = d + s.weight;
                    lastArc[v] = s.arc;
                    heap.emplace_back(distance[v], static_cast<std::int32_t>(v));
                    std::push_heap(heap.begin(), heap.end(), std::greater<>());
                }
            }
        }
    }
    return t;
}
