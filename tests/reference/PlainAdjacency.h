#ifndef QCGRAPH_PLAIN_ADJACENCY_H
#define QCGRAPH_PLAIN_ADJACENCY_H

// Plain, step-by-step forms of the two adjacency-list procedures, kept only to check the
// library's fast ones against: linear membership searches, rescans from node 0, full passes.

#include <cstdint>
#include <vector>

#include "qfAdjacencyLists.h"

namespace qcref {

// Ids must lie in 0..n-1.
void plainCliques(const qcAdjacencyLists& lists, qcCliques& result);

// The cost of root (saturating at 2147483647; 2147483647 for an empty list) and its records.
// Entries must be >= 0; memory grows with the largest.
std::int32_t plainConnectionCost(std::int32_t root, const qcAdjacencyLists& lists,
                                 std::vector<qcConnectionRecord>& records);

void plainConnectionPath(const qcAdjacencyLists& lists, std::vector<qcConnectionRecord>& records);

// Runs both library functions on lists of any shape: valid lists must give what the plain
// procedures give, invalid ones must throw qcInvariantFailure and leave the output as it was.
// Returns the first difference, or nullptr.
const char* differsFromPlain(const qcAdjacencyLists& lists);

}  // namespace qcref

#endif
