#ifndef QC_CHAIN_CURSOR_H
#define QC_CHAIN_CURSOR_H

#include <cstdint>

#include "qcDirectedGraph.h"

// The library's walk of one node's chain, written as a loop with a visible end, for walks that
// stop early or look at how the chain ended:
//
//   for (qcChainCursor c(graph, node.firstChild()); c.valid(); c.next()) use(c.index(), c.link());
//
// It steps a public qcChainRange, so it stops where every walk of a chain stops (at -1, at an
// index outside the link array, after numLinks() steps); brokeOff() tells the endings apart.
class qcChainCursor {
public:
    qcChainCursor(const qcDirectedGraph& graph, long first) : mAt(qcChainRange(graph, first).begin()) {}

    bool valid() const { return mAt != qcChainRange::iterator(); }
    std::int32_t index() const { return (*mAt).index; }
    const qcDirectedGraphLink& link() const { return (*mAt).link; }
    void next() { ++mAt; }

    // After the walk: false when it ended at -1, true when it stopped at a broken chain.
    bool brokeOff() const { return mAt.brokeOff(); }

private:
    qcChainRange::iterator mAt;
};

#endif
