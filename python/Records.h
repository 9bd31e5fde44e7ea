#ifndef QCGRAPH_PYTHON_RECORDS_H
#define QCGRAPH_PYTHON_RECORDS_H

// The values the module hands out: copies, never views into a graph.

#include "qcDirectedGraph.h"

// A path or walk: its nodes from start to end, the links between them, and its score.
struct PathRecord {
    qcIndexArray nodes;
    qcIndexArray links;
    double score = 0.0;
};

// A stored link as Python reads it; skip is bit 0 of its flags.
struct LinkRecord {
    long a = -1;
    long b = -1;
    double score = 0.0;
    bool skip = false;
};

#endif
