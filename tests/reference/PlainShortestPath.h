#ifndef QCGRAPH_PLAIN_SHORTEST_PATH_H
#define QCGRAPH_PLAIN_SHORTEST_PATH_H

#include <cstdint>

#include "qcDirectedGraph.h"

namespace qcref {

// The two-node search done the plain way: four per-node arrays, a binary heap of (key, node)
// pairs sifted by swapping, each node's chain walked link by link through the public accessors
// (stopping, as every walk does, at an index outside the link array or after numLinks() steps).
// Node indices outside the graph give empty arrays. No abort checks.
void plainShortestPath(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                       qcIndexArray& links);

}  // namespace qcref

#endif
