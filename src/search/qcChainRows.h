#ifndef QC_CHAIN_ROWS_H
#define QC_CHAIN_ROWS_H

#include <cstdint>

#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"
#include "search/qcSearchArray.h"

// What the two-node search reads of one link of a chain.
struct qcChainStep {
    std::int32_t neighbour;  // -1 when the search passes the link over (flag bit 0 set)
    std::int32_t id;
    double score;
};

// The chains of all nodes laid out row by row in one array, each row in chain order, so that a
// long search reads a node's links from one place instead of following nextChild across the
// whole link array (a dependent cache miss per link on a large graph).
//
// Built in two passes over the link array in index order: a link goes into the row of its
// nodeA, newest first, which is the order in which the graph chains them. The same pass checks
// each row against the nextChild and firstChild fields; a node whose chain runs otherwise (a
// link replaced in place, a record written with a foreign firstChild, a broken chain) gets no
// row, and the search walks its chain as before. So a row holds exactly what a walk of the
// chain meets, in the same order.
class qcChainRows {
public:
    explicit qcChainRows(const qcDirectedGraph& graph);

    bool hasRow(std::int32_t node) const { return mWalkChain[at(node)] == 0; }
    const qcChainStep* begin(std::int32_t node) const { return mSteps.data() + mRowStart[at(node)]; }
    const qcChainStep* end(std::int32_t node) const { return mSteps.data() + mRowStart[at(node) + 1]; }
    const std::int32_t* rowStart(std::int32_t node) const { return &mRowStart[at(node)]; }

private:
    qcSearchArray<std::int32_t> mRowStart;  // one more than the nodes: a row ends where the next starts
    qcSearchArray<std::uint8_t> mWalkChain;  // 1: the node's chain has no row
    qcSearchArray<qcChainStep> mSteps;  // every step of a row is written
};

#endif
