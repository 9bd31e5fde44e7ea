#ifndef QCGRAPH_PLAIN_RANKED_WALKS_H
#define QCGRAPH_PLAIN_RANKED_WALKS_H

#include <cstdint>
#include <vector>

#include "qcDirectedGraph.h"

namespace qcref {

// The ranked walk search done the plain way: four parallel entry arrays and an open list in
// creation order, scanned whole for the cheapest entry on every taking (ties to the earliest)
// and closed up after each removal. The search also ends when the scan finds no entry of cost
// below +infinity. Arguments must be valid (no tests, no abort checks). Time O(entries^2).
void plainRankedWalks(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                      std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength,
                      std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores);

// Runs the library's ranked search and the plain one on the same valid question; nullptr when
// they list the same walks with the same scores.
const char* differsFromPlain(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                             std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength);

}  // namespace qcref

#endif
