#ifndef QF_ADJACENCY_LISTS_H
#define QF_ADJACENCY_LISTS_H

// Analysis of graphs given as plain adjacency lists rather than as a qcDirectedGraph: the
// connected groups of nodes ("cliques") and a least-cost connection path. Both functions keep no
// state, only read their input and replace their output. Bad input throws a default-constructed
// qcInvariantFailure before the output is touched.
//
// Internal consistency checks report to qstd_assert_ (docs/assertions.md lists them). None can
// fire from these calls; if the hook returns, the call goes on without reading outside its
// tables. Any number of threads may call them at once on lists nobody changes.

#include <cstdint>
#include <vector>

#include "qcException.h"
#include "qcExport.h"
#include "qcPair.h"

// n lists, one per node 0..n-1; list i holds the ids node i points to, in the caller's order.
// Ids may repeat within a list, a list may name its own node, and a list may be empty.
using qcAdjacencyLists = std::vector<std::vector<std::int32_t>>;

// Node groups: one list of node indices per clique.
using qcCliques = std::vector<std::vector<std::int32_t>>;

// One record of a connection path: the winning root and two ids of its list, the first entry
// (ids.first) and a later one (ids.second).
struct qcConnectionRecord {
    std::int32_t root = -1;
    qcPair<long> ids;

    bool operator==(const qcConnectionRecord& other) const
    {
        return root == other.root && ids == other.ids;
    }
    bool operator!=(const qcConnectionRecord& other) const { return !(*this == other); }
};

// Replaces result with the weakly connected components of the lists (every relation taken in
// both directions; an unrelated node forms a clique of its own), in increasing order of their
// smallest node. Members stand in breadth-first reach order from that node, each member's
// neighbours taken as: the nodes i < x that name x (increasing i, once per entry), x's own
// entries in list order, then the nodes i > x that name x. n = 0 gives no cliques.
// Every id must lie in 0..n-1 and n below 2^31, else qcInvariantFailure (result untouched).
// Time and memory O(n + entries); no recursion, so long chains are fine.
QC_EXPORT void qfComputeCliques(const qcAdjacencyLists& lists, qcCliques& result);

// Tries every node as the root of a connection structure and replaces records with the
// records of the root of least cost (the lowest index among equals): for its list L1..Lm,
// (root, (L1, Lk)) for k = 2..m in list order. Ids are of their own range and may be n or more.
// The cost of a root: it owns its entries at depth 0; then passes over the nodes without depth
// in increasing index give each node that names an owned id the depth 1 + the least depth of
// those owners, and it claims its unowned ids, each adding its depth (claims count at once, also
// for later nodes of the same pass). The cost saturates at 2147483647; a root with an empty
// list, or of that cost, never wins, so records come back empty when no root wins (also for
// n = 0). Every entry must be >= 0 and n below 2^31, else qcInvariantFailure (records untouched).
// Time about n * entries at worst (each root spreads over the nodes that share ids with it),
// much less once a cheap root is known, since a root stops as soon as it can no longer win;
// memory O(n + entries), independent of how large the ids are.
QC_EXPORT void qfComputeConnectionPath(const qcAdjacencyLists& lists,
                                       std::vector<qcConnectionRecord>& records);

#endif
