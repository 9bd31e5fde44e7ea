#ifndef QC_DISSECTION_H
#define QC_DISSECTION_H

#include <cstddef>
#include <cstdint>
#include <vector>

// An undirected graph without loops or parallel edges: each edge lies in the rows of both its
// ends, each row in increasing order.
struct qcNeighbourRows {
    std::vector<std::uint32_t> start;  // one more than the nodes
    std::vector<std::int32_t> node;
    std::size_t numNodes() const { return start.empty() ? 0 : start.size() - 1; }
};

// An order of the nodes by nested dissection on their positions (x, y): a few small cuts
// between the two ends of the graph seen from four directions (two fifths of the nodes at
// each end) are taken from a maximum flow, the least one becomes a separator, which comes last,
// and so on within each side. Parts that are not connected are ordered apart, with no
// separator. Elimination in this order makes few new edges where the graph has small cuts, as
// road networks do. Returns nodeOfRank, or nothing once the separators found would, on their
// own, make more than `maxTriangles` triangles in the elimination. Calls qcAttention::check()
// now and then.
std::vector<std::int32_t> qfDissectionOrder(const qcNeighbourRows& graph, const std::vector<double>& x,
                                            const std::vector<double>& y, double maxTriangles);

#endif
