#ifndef QCGRAPH_PLAIN_ADJACENCY_H
#define QCGRAPH_PLAIN_ADJACENCY_H

// Plain, step-by-step forms of the two adjacency-list procedures, kept only to check the
// library's fast ones against: linear membership searches, rescans from node 0, full passes.
// Inputs must be valid (ids in 0..n-1 for the cliques, entries >= 0 for the connection path).

#include <cstdint>
#include <vector>

#include "qfAdjacencyLists.h"

namespace qcref {

void plainCliques(const qcAdjacencyLists& lists, qcCliques& result);

// The cost of root (saturating at 2147483647; 2147483647 for an empty list) and its records.
std::int32_t plainConnectionCost(std::int32_t root, const qcAdjacencyLists& lists,
                                 std::vector<qcConnectionRecord>& records);

void plainConnectionPath(const qcAdjacencyLists& lists, std::vector<qcConnectionRecord>& records);

}  // namespace qcref

#endif
