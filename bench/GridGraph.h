#ifndef QCGRAPH_BENCH_GRID_GRAPH_H
#define QCGRAPH_BENCH_GRID_GRAPH_H

#include "qcDirectedGraph.h"

// A side x side grid: node r * side + c at (c, r), links both ways between 4-neighbours, stored
// node by node (right, left, up, down), each scored by a call of score().
template <class Score>
qcDirectedGraph gridGraph(long side, Score&& score)
{
    qcDirectedGraph g;
    qcDirectedGraphNode node;
    for (long r = 0; r < side; ++r)
        for (long c = 0; c < side; ++c) {
            node.position(qcVector<2>(static_cast<double>(c), static_cast<double>(r)));
            g.addNode(node);
        }
    g.reserveLinks(4 * side * (side - 1));
    for (long r = 0; r < side; ++r)
        for (long c = 0; c < side; ++c) {
            const long v = r * side + c;
            if (c + 1 < side) g.addLinkFastUnsafe(v, v + 1, score());
            if (c > 0) g.addLinkFastUnsafe(v, v - 1, score());
            if (r + 1 < side) g.addLinkFastUnsafe(v, v + side, score());
            if (r > 0) g.addLinkFastUnsafe(v, v - side, score());
        }
    return g;
}

#endif
