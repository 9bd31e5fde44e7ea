#ifndef QCGRAPH_PLAIN_SIMPLE_PATHS_H
#define QCGRAPH_PLAIN_SIMPLE_PATHS_H

#include <cstdint>
#include <vector>

#include "qcDirectedGraph.h"

namespace qcref {

// The k cheapest loopless paths by Yen's algorithm as first written: for every listed path and
// every node of it a fresh search from that node (a Dijkstra search that scans all nodes for
// the next one) around the nodes before it and the steps listed paths took from there, every
// result kept as a candidate. The same rules and order as simplePaths; no argument checks.
void plainSimplePaths(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, std::int32_t k,
                      std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores);

}  // namespace qcref

#endif
