#ifndef QCGRAPH_TOOLS_DOT_WRITER_H
#define QCGRAPH_TOOLS_DOT_WRITER_H

#include <cstdio>

#include "LoadedGraph.h"

// Writes the graph as a Graphviz digraph: one node per graph node, named and labelled by its
// file id, its position pinned as pos="x,y!" (render with "neato -n2"), and one edge per link
// labelled by its score. The nodes and links of the path (both may be empty) are drawn in red
// and thicker. Time linear in the graph's size.
void writeDot(std::FILE* out, const LoadedGraph& loaded, const qcIndexArray& pathNodes,
              const qcIndexArray& pathLinks);

#endif
