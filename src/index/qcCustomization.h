#ifndef QC_CUSTOMIZATION_H
#define QC_CUSTOMIZATION_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "index/qcChordalGraph.h"
#include "index/qcHierarchy.h"
#include "qcDirectedGraph.h"

// Makes hierarchies on a chordal graph from the scores of a graph's links, with no searches:
// an edge's arc either way costs the least of its cheapest link (the first on a tie, as the
// two-node search meets them) and of the ways through each lower triangle (on a tie the
// lowest, of part 0 before part 1: the graph's two halves are weighed on two threads); then
// the arcs that cost more than a way through higher nodes are left out, which the searches
// would otherwise go over. It keeps the arc each link stands for and the ways per
// edge from one time to the next, so that each reuses the memory of the last: on a large
// graph, taking memory anew costs more than the work.

// Whether an update may give the link a score that counts: it is not skipped (flags bit 0) and
// joins two nodes of the graph.
inline bool qfMayCount(const qcDirectedGraphLink& link, long numNodes)
{
    const long a = link.nodeA(), b = link.nodeB();
    return !(link.flags & 1u) && a >= 0 && a < numNodes && b >= 0 && b < numNodes && a != b;
}

class qcCustomization {
public:
    qcCustomization() = default;
    // For the links of `graph` in its nodes' chains: those with flags bit 0, or without two
    // ends, stand for no arc.
    qcCustomization(qcChordalGraph chordal, const qcDirectedGraph& graph);

    bool empty() const { return mChordal.empty(); }
    std::size_t memoryBytes() const;

    // Gives `h` the memory that the hierarchies made here may take, so that making one takes
    // no more: on a large graph, taking memory costs much of the time of an update.
    void reserve(qcHierarchy& h) const;

    // Makes `h` the hierarchy of the graph's scores, of no core; arcs that cost `unreached` or
    // more are left out. Throws qcInvariantFailure on a negative score, and leaves `h` as it
    // was when it throws. Calls qcAttention::check() now and then.
    void customize(const qcDirectedGraph& graph, double unreached, qcHierarchy& h);

private:
    qcChordalGraph mChordal;
    // The links that may count, as the two-node search meets them (node by node, along each
    // node's chain), each with its arc: 2 * its edge, plus 1 for the arc down.
    struct LinkArc {
        std::int32_t link, arc;
    };
    std::vector<LinkArc> mLinkArcs;
    // Per edge, the weights of its arcs up (lower end to higher) and down.
    struct Weights {
        double up, down;
    };
    std::vector<Weights> mWeights;
    // Per edge, what its arcs stand for. A link: its index, and -1. Through a lower triangle:
    // the edges to the middle node from the arc's start (taken down) and to its end (taken up).
    struct Via {
        std::int32_t upFirst, upSecond, downFirst, downSecond;
    };
    std::vector<Via> mVia;
    static constexpr std::uint8_t keptUp = 1, keptDown = 2;
    std::vector<std::uint8_t> mKept;  // per edge, which of its arcs the hierarchy keeps
    // Per rank, its part: 0 or 1, of disjoint subtrees of the elimination tree, whose edges
    // the other part's triangles never touch, so that the two are weighed at once; or the top
    // (topPart), ancestors of most of the rest. The top's ranks, increasing, and where each
    // one's edges begin among part 1's offers to them.
    static constexpr std::uint8_t topPart = 2;
    std::vector<std::uint8_t> mPart;
    std::vector<std::int32_t> mTop;
    std::vector<std::uint32_t> mTopSpare;
    std::uint32_t spareOf(std::int32_t rank, std::uint32_t edge) const;
    std::size_t mLinkHalf = 0;  // mLinkArcs to here are weighed on one thread, the rest on the other

    // Splits the ranks into parts of about equal triangles.
    void splitParts();
    // Gives the arcs the scores of their links, mLinkArcs from `first` to `last`; false on a
    // negative score.
    bool weighLinks(const qcDirectedGraph& graph, std::size_t first, std::size_t last);
    // Offers each arc between two higher neighbours of a rank the way through it, for the
    // ranks of part 0 or 1, or of the top. With `spare`, the top's arcs take the offers
    // there (see spareOf).
    struct Offers {
        std::vector<Weights> weights;
        std::vector<Via> via;
    };
    void weighPart(std::uint8_t part, Offers* spare);
    Offers mSpare;  // part 1's offers to the top's arcs
    // Makes the weights the cheapest ways between the edges' ends, and keeps the arcs that
    // cost no more than that before.
    void prune();
    void pruneRank(std::size_t v, double close, std::vector<Weights>& before);

public:
    // Bytes kept per edge of the chordal graph.
    static constexpr std::size_t edgeBytes = sizeof(std::int32_t) + sizeof(Weights) + sizeof(Via) + sizeof(std::uint8_t);
};

#endif
