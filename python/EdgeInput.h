#ifndef QCGRAPH_PYTHON_EDGE_INPUT_H
#define QCGRAPH_PYTHON_EDGE_INPUT_H

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>
#include <vector>

struct Edge {
    std::int32_t a;
    std::int32_t b;
    double score;
};

// The links given to add_links, every end checked against numNodes on construction: a sequence
// of (a, b) or (a, b, score), or a numpy array of shape (m, 2) or (m, 3), which is read in place
// rather than copied. Raises IndexError for an end that is not a node, ValueError or TypeError for
// anything else that is not such a list. The messages call the input `name`; without scores
// only (a, b) and (m, 2) are taken (the node pairs of a batch of searches).
class EdgeInput {
public:
    EdgeInput(pybind11::handle edges, long numNodes, const char* name = "edges", bool scores = true);

    std::size_t size() const { return mRows; }
    Edge operator[](std::size_t i) const
    {
        if (!mCells)
            return mEdges[i];
        const double* row = mCells + i * mWidth;
        return {static_cast<std::int32_t>(row[0]), static_cast<std::int32_t>(row[1]), mWidth == 3 ? row[2] : 1.0};
    }

private:
    void readArray(pybind11::handle edges, long numNodes);
    void readSequence(pybind11::handle edges, long numNodes);
    std::string row(std::size_t i) const { return mName + "[" + std::to_string(i) + "]"; }

    std::string mName;
    std::size_t mMostWidth;  // 3 with scores, 2 without

    pybind11::object mTable;         // when given an array: it as C-ordered doubles,
    const double* mCells = nullptr;  // and its rows
    std::size_t mWidth = 0;
    std::size_t mRows = 0;
    std::vector<Edge> mEdges;  // otherwise
};

#endif
