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

// The chains of all nodes laid out row by row in one array, so that a long search reads a
// node's links from one place instead of following nextChild across the whole link array (a
// dependent cache miss per link on a large graph). A row holds the node's links in index
// order: a walk of the chain, newest link first, meets them from the row's end.
//
// A graph built node by node needs one pass to copy its link array; others are sorted into
// rows in two. Either pass checks each row against the nextChild and firstChild fields; a node
// whose chain runs otherwise (a link replaced in place, a record written with a foreign
// firstChild, a broken chain) gets no row, and the search walks its chain as before. So a row
// holds exactly what a walk of the chain meets, in the opposite order.
class qcChainRows {
public:
    explicit qcChainRows(const qcDirectedGraph& graph);

    bool hasRow(std::int32_t node) const { return (mRowStart[at(node)] & walkChain) == 0; }
    const qcChainStep* begin(std::int32_t node) const { return mSteps.data() + (mRowStart[at(node)] & ~walkChain); }
    const qcChainStep* end(std::int32_t node) const { return mSteps.data() + (mRowStart[at(node) + 1] & ~walkChain); }
    const std::uint32_t* rowStart(std::int32_t node) const { return &mRowStart[at(node)]; }
    // The step a walk of the row reads first (its last); for an empty row one nearby. To be
    // fetched ahead, not read.
    const qcChainStep* firstRead(std::int32_t node) const
    {
        const std::uint32_t end = mRowStart[at(node) + 1] & ~walkChain;
        return mSteps.data() + (end > 0 ? end - 1 : 0);
    }

private:
    bool copyLinks(const qcDirectedGraph& graph);
    void sortLinks(const qcDirectedGraph& graph);
    // Gives no row to a node whose chain is not headed by its newest link, newest(node) (-1:
    // none), as a walk would start elsewhere.
    template <class Newest>
    void checkHeads(const qcDirectedGraph& graph, Newest newest);

    // Whether a node has a row is read with where the row starts: a link index needs 31 bits.
    static constexpr std::uint32_t walkChain = 1u << 31;  // the node's chain has no row
    void giveNoRow(std::size_t node) { mRowStart[node] |= walkChain; }

    qcSearchArray<std::uint32_t> mRowStart;  // one more than the nodes: a row ends where the next starts
    qcSearchArray<qcChainStep> mSteps;  // every step of a row is written; a step per link at most
};

#endif
