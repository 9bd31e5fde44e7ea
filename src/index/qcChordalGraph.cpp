#include "index/qcChordalGraph.h"

#include <algorithm>
#include <utility>

#include "graph/qcIndex.h"
#include "qcAttention.h"

qcChordalGraph qfChordalGraph(const qcNeighbourRows& graph, std::vector<std::int32_t> nodeOfRank,
                              std::size_t maxEdges, double maxTriangles)
{
    const std::size_t n = graph.numNodes();
    std::vector<std::int32_t> rankOf(n);
    for (std::size_t r = 0; r < n; ++r)
        rankOf[at(nodeOfRank[r])] = static_cast<std::int32_t>(r);
    std::vector<std::vector<std::int32_t>> higher(n);
    for (std::size_t v = 0; v < n; ++v)
        for (std::uint32_t a = graph.start[v]; a < graph.start[v + 1]; ++a)
            if (rankOf[at(graph.node[a])] > rankOf[v])
                higher[at(rankOf[v])].push_back(rankOf[at(graph.node[a])]);

    qcChordalGraph c;
    c.upStart.assign(n + 1, 0);
    double triangles = 0.0;
    for (std::size_t r = 0; r < n; ++r) {
        if (r % 65536 == 0)
            qcAttention::check();
        std::vector<std::int32_t> row = std::move(higher[r]);
        std::sort(row.begin(), row.end());
        row.erase(std::unique(row.begin(), row.end()), row.end());
        const double d = static_cast<double>(row.size());
        triangles += d * (d - 1.0) / 2.0;
        if (c.up.size() + row.size() > maxEdges || triangles > maxTriangles)
            return {};
        // Eliminating r joins its higher neighbours to each other. Joining them to the lowest
        // of them is enough: when that one is eliminated, it joins them on in turn.
        if (row.size() > 1) {
            std::vector<std::int32_t>& parent = higher[at(row[0])];
            parent.insert(parent.end(), row.begin() + 1, row.end());
        }
        c.up.insert(c.up.end(), row.begin(), row.end());
        c.upStart[r + 1] = static_cast<std::uint32_t>(c.up.size());
    }
    c.nodeOfRank = std::move(nodeOfRank);
    return c;
}
