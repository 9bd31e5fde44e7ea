#include "search/qcChainRows.h"

#include <cstddef>

namespace {

std::size_t countSteps(const qcDirectedGraph& graph, qcSearchArray<std::int32_t>& rowStart)
{
    // Row sizes, then where each row ends.
    const long n = graph.numNodes();
    for (long j = 0; j < graph.numLinks(); ++j) {
        const long a = graph.link(j).nodeA();
        if (a >= 0 && a < n)
            ++rowStart[at(a) + 1];
    }
    for (std::size_t u = 0; u < at(n); ++u)
        rowStart[u + 1] += rowStart[u];
    return at(rowStart[at(n)]);
}

}  // namespace

qcChainRows::qcChainRows(const qcDirectedGraph& graph)
    : mRowStart(at(graph.numNodes()) + 1), mWalkChain(at(graph.numNodes())),
      mSteps(countSteps(graph, mRowStart), qcArrayStart::unset)
{
    const std::int32_t n = toIndex(graph.numNodes());
    const std::vector<qcDirectedGraphLink>& links = graph.mLinks;

    // Filled from the back of each row with the links in index order, so every row runs newest
    // first. On the way, each link of a row must point to the one filled before it (the older
    // one); the oldest to -1.
    qcSearchArray<std::int32_t> fill(at(n), qcArrayStart::unset);
    for (std::size_t u = 0; u < at(n); ++u)
        fill[u] = mRowStart[u + 1];
    qcSearchArray<std::int32_t> older(at(n), qcArrayStart::unset);
    older.fill(-1);
    for (std::size_t j = 0; j < links.size(); ++j) {
        const qcDirectedGraphLink& l = links[j];
        if (l.nodeA() < 0 || l.nodeA() >= n)
            continue;
        const std::size_t u = at(l.nodeA());
        if (l.nextChild() != older[u])
            mWalkChain[u] = 1;
        older[u] = static_cast<std::int32_t>(j);
        const bool used = !(l.flags & 1u) && l.nodeB() >= 0 && l.nodeB() < n;
        mSteps[at(--fill[u])] = qcChainStep{used ? toIndex(l.nodeB()) : -1, toIndex(l.id()), l.score()};
    }
    // The newest link must head the chain.
    for (std::size_t u = 0; u < at(n); ++u)
        if (graph.mNodes[u].firstChild() != older[u])
            mWalkChain[u] = 1;
}
