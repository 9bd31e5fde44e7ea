#ifndef QC_CHAIN_CURSOR_H
#define QC_CHAIN_CURSOR_H

#include <cstdint>

#include "qcDirectedGraph.h"

// Walks the chain of outgoing links of one node, in chain order:
//
//   for (qcChainCursor c(graph, node.firstChild()); c.valid(); c.next()) use(c.index(), c.link());
//
// The graph keeps every chain ending at -1. A caller can still break one by writing a node with
// a foreign firstChild (node(i, n) takes the record as it is), so the cursor also stops at an
// index outside the link array and after numLinks() steps: no walk reads outside the array or
// runs for ever. endedAtChainEnd() tells the two endings apart.
class qcChainCursor {
public:
    qcChainCursor(const qcDirectedGraph& graph, long first)
        : mGraph(graph), mIndex(first), mStepsLeft(graph.numLinks()) {}

    bool valid() const { return mIndex >= 0 && mIndex < mGraph.numLinks() && mStepsLeft > 0; }
    std::int32_t index() const { return static_cast<std::int32_t>(mIndex); }
    const qcDirectedGraphLink& link() const { return mGraph.link(mIndex); }
    void next()
    {
        mIndex = link().nextChild();
        --mStepsLeft;
    }

    // After the walk: true when it ended at -1, false when it stopped at a broken chain.
    bool endedAtChainEnd() const { return mIndex == -1; }

private:
    const qcDirectedGraph& mGraph;
    long mIndex;
    long mStepsLeft;
};

#endif
