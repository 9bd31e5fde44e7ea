#ifndef QCGRAPH_PYTHON_EDGE_INPUT_H
#define QCGRAPH_PYTHON_EDGE_INPUT_H

#include <pybind11/pybind11.h>

#include <cstdint>
#include <vector>

struct Edge {
    std::int32_t a;
    std::int32_t b;
    double score;
};

// The links given to add_links, every end checked against numNodes: a sequence of (a, b) or
// (a, b, score), or a numpy array of shape (m, 2) or (m, 3). Raises IndexError for an end that
// is not a node, ValueError or TypeError for anything else that is not such a list.
std::vector<Edge> readEdges(pybind11::handle edges, long numNodes);

#endif
