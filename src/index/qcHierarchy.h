#ifndef QC_HIERARCHY_H
#define QC_HIERARCHY_H

#include <cstdint>
#include <functional>
#include <vector>

#include "index/qcCoreTable.h"

// A contraction hierarchy: every node has a rank (its place in the order of contraction), and
// every cheapest path has a cheapest counterpart that climbs in rank and then descends, over
// links of the graph and shortcuts, which stand for two arcs one after the other. Nodes are
// named here by rank, so the searches read memory near where they already are.

// An arc in full, as the contraction makes it and the index file holds it.
struct qcArcRecord {
    std::int32_t from;  // ranks
    std::int32_t to;
    // A link: its index, and -1. A shortcut: the arcs from -> middle and middle -> to, both of
    // lower index than the shortcut's own.
    std::int32_t first;
    std::int32_t second;
    double weight;
};

// An arc as the hierarchy keeps it, in half a record's bytes: the rows hold the weights, a
// shortcut starts where its first arc starts, and a link keeps its start in `second`.
struct qcHierarchyArc {
    std::int32_t to;
    std::int32_t first;   // a link's index, or a shortcut's first arc
    std::int32_t second;  // a shortcut's second arc, or -1 - a link's start
    bool isLink() const { return second < 0; }
};

// An arc as a search from one of its ends sees it: the rank at the other end.
struct qcHierarchyStep {
    std::int32_t head;
    std::int32_t arc;
    double weight;
};

struct qcHierarchy {
    std::vector<std::int32_t> nodeOfRank;
    std::vector<std::int32_t> rankOfNode;
    // The links come first, so linkScores[a] is the score of link arc a.
    std::vector<qcHierarchyArc> arcs;
    std::vector<double> linkScores;
    // Per rank r, rows from upStart[r] to upStart[r + 1]: the arcs r -> higher rank (up), and
    // the arcs higher rank -> r (down), each with the higher rank as head.
    std::vector<std::uint32_t> upStart;
    std::vector<qcHierarchyStep> up;
    std::vector<std::uint32_t> downStart;
    std::vector<qcHierarchyStep> down;
    // The ranks from here up are the core: nodes left uncontracted, whose rows hold all their
    // arcs to and from other core nodes, of higher rank or not.
    std::int32_t coreFrom = 0;
    qcCoreTable coreTable;  // made from the rest, never saved
    // Of a hierarchy of a chordal graph, whose arcs all lead to ancestors in this tree: per
    // rank, its lowest higher neighbour, or -1. Empty for others; never saved.
    std::vector<std::int32_t> parent;

    std::size_t numNodes() const { return nodeOfRank.size(); }
    // From records whose links come first and whose shortcuts follow their arcs.
    void setArcs(const std::vector<qcArcRecord>& records);
    // Each arc's record in turn, made again with half a record's memory an arc.
    void forEachArcRecord(const std::function<void(const qcArcRecord&)>& each) const;
};

#endif
