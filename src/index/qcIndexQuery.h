#ifndef QC_INDEX_QUERY_H
#define QC_INDEX_QUERY_H

#include <cstdint>
#include <functional>

#include "index/qcIndexData.h"

// The searches over a hierarchy, nodes named by rank.

// Where the two searches of a query met on the least up-down path.
struct qcIndexMeeting {
    double distance;  // +infinity for none
    std::int32_t node;  // -1 for none
    // Through a core table: the core node where the way leaves the table for the target's
    // search (node is where it enters from the source's); -1 otherwise.
    std::int32_t exit = -1;
};

qcIndexMeeting qfIndexMeet(const qcHierarchy& h, qcShortestPathIndex::Workspace::Arrays& w, std::int32_t source,
                           std::int32_t target);

// How far an upward search goes into the core: through it, or only to the core nodes it enters
// by (which a search through the core from the other end meets).
enum class qcIndexCore { searched, entered };

// Every node an upward search from `from` settles and does not stall, with its distance: side 0
// along the arcs, side 1 against them.
void qfIndexUpwardSearch(const qcHierarchy& h, qcShortestPathIndex::Workspace::Arrays& w, int side,
                         std::int32_t from, qcIndexCore core, const std::function<void(std::int32_t, double)>& settled);

// Appends the nodes (graph indices, from the source) and links of the path that the last
// qfIndexMeet() found, shortcuts unpacked; returns its links' scores added from
// the source.
double qfIndexUnpack(const qcHierarchy& h, const qcShortestPathIndex::Workspace::Arrays& w,
                     const qcIndexMeeting& meeting, qcIndexArray& nodes, qcIndexArray& links);

#endif
