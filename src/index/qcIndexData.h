#ifndef QC_INDEX_DATA_H
#define QC_INDEX_DATA_H

#include <cstdint>
#include <utility>
#include <vector>

#include "index/qcHierarchy.h"
#include "qcShortestPathIndex.h"

struct qcShortestPathIndex::Data {
    qcHierarchy hierarchy;
    long numLinks = 0;  // of the graph
    std::uint64_t structure = 0;  // fingerprints of the graph the index answers for
    std::uint64_t scores = 0;
};

// A search's state per node, valid where the stamp is the current one, so that a query costs
// only the nodes it reaches and not the graph's size.
struct qcShortestPathIndex::Workspace::Arrays {
    struct Side {
        std::vector<double> distance;
        std::vector<std::int32_t> arc;  // by which the node was reached; -1 at the start
        std::vector<std::uint32_t> stamp;
        std::vector<std::pair<double, std::int32_t>> heap;
    };
    Side side[2];  // 0: from the source, up; 1: from the target, up against the arcs
    std::uint32_t now = 0;

    // Makes every node unreached, for an index of n nodes.
    void begin(std::size_t n);
};

#endif
