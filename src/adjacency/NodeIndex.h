#ifndef QC_NODE_INDEX_H
#define QC_NODE_INDEX_H

#include <cstdint>
#include <limits>

#include "graph/qcIndex.h"
#include "qfAdjacencyLists.h"

// What both adjacency functions share: node indices and ids are 32-bit.
using Index = std::int32_t;

// More lists than that could not be named by 32-bit node indices.
inline void requireNameableNodes(const qcAdjacencyLists& lists)
{
    if (lists.size() > at(std::numeric_limits<Index>::max()))
        throw qcInvariantFailure();
}

#endif
