#ifndef QC_CHAIN_CURSOR_H
#define QC_CHAIN_CURSOR_H

#include <cstdint>
#include <vector>

#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"

// Walks the chain of outgoing links of one node, in chain order:
//
//   for (qcChainCursor c(graph, node.firstChild()); c.valid(); c.next()) use(c.index(), c.link());
//
// The graph keeps every chain ending at -1. A caller can still break one by writing a node with
// a foreign firstChild (node(i, n) takes the record as it is), so the cursor also stops at an
// index outside the link array and after numLinks() steps: no walk reads outside the array or
// runs for ever. brokeOff() tells the two endings apart. valid() has tested the index, so link()
// reads the array directly (a friend of the graph for that).
class qcChainCursor {
public:
    qcChainCursor(const qcDirectedGraph& graph, long first)
        : mLinks(graph.mLinks), mIndex(first), mStepsLeft(graph.numLinks()) {}

    bool valid() const { return mIndex >= 0 && at(mIndex) < mLinks.size() && mStepsLeft > 0; }
    std::int32_t index() const { return toIndex(mIndex); }
    const qcDirectedGraphLink& link() const { return mLinks[at(mIndex)]; }
    void next()
    {
        mIndex = link().nextChild();
        --mStepsLeft;
    }

    // After the walk: false when it ended at -1, true when it stopped at a broken chain.
    bool brokeOff() const { return mIndex != -1; }

private:
    const std::vector<qcDirectedGraphLink>& mLinks;
    long mIndex;
    long mStepsLeft;
};

#endif
