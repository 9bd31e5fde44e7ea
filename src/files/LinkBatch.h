#ifndef QCGRAPH_FILES_LINK_BATCH_H
#define QCGRAPH_FILES_LINK_BATCH_H

#include <cstddef>

#include "qcDirectedGraph.h"

// Links read from a file, stored in batches: the node a link leaves (whose chain head it
// changes) is fetched into the cache when the link is read and written some links later, so
// that on a large graph the cache misses of random ends overlap instead of following each
// other, which makes a load about twice as fast. The ends must be nodes of the graph when a
// link is added; call flush() after the last.
class LinkBatch {
public:
    explicit LinkBatch(qcDirectedGraph& graph) : mGraph(graph) {}

    void add(long from, long to, double score)
    {
        __builtin_prefetch(&mGraph.node(from), 1);
        mLinks[mCount++] = {from, to, score};
        if (mCount == batchSize)
            flush();
    }
    void flush()
    {
        for (std::size_t i = 0; i < mCount; ++i)
            mGraph.addLinkFastUnsafe(mLinks[i].from, mLinks[i].to, mLinks[i].score);
        mCount = 0;
    }

private:
    static constexpr std::size_t batchSize = 32;
    struct Link {
        long from, to;
        double score;
    };
    qcDirectedGraph& mGraph;
    Link mLinks[batchSize];
    std::size_t mCount = 0;
};

#endif
