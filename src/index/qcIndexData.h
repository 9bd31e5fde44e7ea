#ifndef QC_INDEX_DATA_H
#define QC_INDEX_DATA_H

#include <cstdint>
#include <utility>
#include <vector>

#include "index/qcCustomization.h"
#include "index/qcGraphPrint.h"
#include "index/qcHierarchy.h"
#include "qcShortestPathIndex.h"

struct qcShortestPathIndex::Data {
    qcHierarchy hierarchy;
    long numLinks = 0;  // of the graph
    std::uint64_t structure = 0;  // fingerprints of the graph the index answers for
    std::uint64_t scores = 0;
    qcPrintKind prints = qcPrintKind::words;  // bytes in files of version 1
    // Of the build, so an update needs no searches; not in the file, and empty when the graph
    // has no small cuts or the options ask for none.
    qcCustomization customization;
    // Of the build, so an update stops where the build would have; not in the file.
    std::size_t maxPairs = static_cast<std::size_t>(Options().maxPairs);
};

// A search's state per node, valid where the stamp is the current one, so that a query costs
// only the nodes it reaches and not the graph's size. Both searches' states of a node lie in one
// cache line: the search that settles a node reads the other's state of it.
struct qcShortestPathIndex::Workspace::Arrays {
    struct Reached {
        double distance;
        // The node it was reached from, -1 at the start: the arc is in that node's row of the
        // side, so a path needs no more notes than a distance.
        std::int32_t from;
        std::uint32_t stamp;
    };
    struct alignas(32) Node {
        Reached side[2];  // 0: from the source, up; 1: from the target, up against the arcs
    };
    std::vector<Node> nodes;
    std::vector<std::pair<double, std::int32_t>> heap[2];
    std::vector<std::pair<double, std::int32_t>> coreHeap[2];  // the core's nodes, queued apart
    std::uint32_t now = 0;

    // Makes every node unreached, for an index of n nodes.
    void begin(std::size_t n);
};

#endif
