#ifndef QC_CONTRACTION_H
#define QC_CONTRACTION_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "index/qcHierarchy.h"

// An arc of the graph given to the contraction: from and to are node indices, `link` the
// graph's link it stands for. At most one per ordered pair of distinct nodes, weight >= 0.
struct qcGraphArc {
    std::int32_t from;
    std::int32_t to;
    std::int32_t link;
    double weight;
};

struct qcContractionLimits {
    std::size_t maxArcs;  // links and shortcuts made; more throws std::length_error
    // A node with more pairs of arcs in and out than this is not contracted: it and the nodes
    // left stay a core (in an order given, it throws std::length_error). Contracting such
    // nodes costs the more, the more pairs they have.
    std::size_t maxPairs;
    // Once no more nodes than this are left, a node of more than half maxPairs pairs already
    // stays in the core with them: a core this small is looked up in a table, which is cheaper
    // than contracting its densest nodes and searching through their many arcs.
    std::size_t tableNodes;
    std::function<void(double)> progress;  // the share of nodes contracted, now and then
    // A node whose searches go over about this many arcs or more (its arcs in times out times
    // the searches' settle limit) shares them between two threads; the result is the same.
    std::size_t twoThreads = 100000;
};

// Contracts the nodes one by one, the least important first (fewest shortcuts per arc removed,
// lowest in the hierarchy built so far), or in the order `nodeOfRank` when it is not empty, up
// to rank `coreFrom` there. A shortcut u -> w is made for u -> v -> w unless a search that avoids v finds a
// way no dearer; a search given up early only adds shortcuts, which never makes a distance
// wrong. Calls qcAttention::check() every 64 nodes.
qcHierarchy qfContract(std::size_t numNodes, const std::vector<qcGraphArc>& arcs,
                       const std::vector<std::int32_t>& nodeOfRank, std::int32_t coreFrom,
                       const qcContractionLimits& limits);

#endif
