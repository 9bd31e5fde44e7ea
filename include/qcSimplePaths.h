#ifndef QC_SIMPLE_PATHS_H
#define QC_SIMPLE_PATHS_H

// The loopless paths between two nodes, cheapest first, one at a time.

#include <cstdint>
#include <limits>
#include <memory>

#include "qcDirectedGraph.h"
#include "qcExport.h"

class qcSimplePathSearch;

// Lists the paths from start to end that repeat no node, cheapest first (the order and the
// rules are those of qcDirectedGraph::simplePaths, which uses this class). Each next() finds
// one more path, so a caller may stop at any point; `limit`, when known, bounds how many will
// be asked for, which lets the search skip deviations that cannot be among them.
//
// The constructor reads the graph once, into rows of its own (about 40 bytes a node and 32 a
// link); later changes to the graph are not seen. It throws qcInvariantFailure when start or
// end is not a node, limit < 1, or a link that is not passed over has a negative score.
// A lister is used by one thread at a time; different listers may run in parallel.
class QC_EXPORT qcSimplePaths {
public:
    static constexpr std::int32_t noLimit = std::numeric_limits<std::int32_t>::max();

    qcSimplePaths(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                  std::int32_t limit = noLimit);
    ~qcSimplePaths();
    qcSimplePaths(const qcSimplePaths&) = delete;
    qcSimplePaths& operator=(const qcSimplePaths&) = delete;

    // The next path and its score; false, leaving both untouched, when no path is left or
    // `limit` paths have been listed. Calls qcAttention::check() before every 64th step of its
    // searches; after what that throws, the lister may be asked again and goes on.
    bool next(qcDirectedGraphPath& path, double& score);

private:
    std::unique_ptr<qcSimplePathSearch> mSearch;
};

#endif
