#ifndef QC_CHORDAL_GRAPH_H
#define QC_CHORDAL_GRAPH_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "index/qcDissection.h"

// A hierarchy for any scores on the same links: the graph's edges, and every edge that
// eliminating the nodes in order (each one's higher neighbours joined to each other) adds.
// Scores then make a hierarchy by one pass over its triangles, with no searches.
struct qcChordalGraph {
    std::vector<std::int32_t> nodeOfRank;
    // Per rank r, the higher ranks it has edges to, increasing, from upStart[r] to
    // upStart[r + 1]; edges are named by their place here.
    std::vector<std::uint32_t> upStart;
    std::vector<std::int32_t> up;

    bool empty() const { return nodeOfRank.empty(); }
    std::size_t memoryBytes() const { return (nodeOfRank.size() + upStart.size() + up.size()) * 4; }
};

// The edges of `graph` with those that eliminating its nodes in the order `nodeOfRank` adds; an
// empty one once they would be more than `maxEdges`, or their triangles more than
// `maxTriangles`. Calls qcAttention::check() now and then.
qcChordalGraph qfChordalGraph(const qcNeighbourRows& graph, std::vector<std::int32_t> nodeOfRank,
                              std::size_t maxEdges, double maxTriangles);

#endif
