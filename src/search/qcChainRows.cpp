#include "search/qcChainRows.h"

#include <cstddef>

namespace {

qcChainStep stepOf(const qcDirectedGraphLink& l, long n)
{
    const bool used = !(l.flags & 1u) && l.nodeB() >= 0 && l.nodeB() < n;
    return qcChainStep{used ? toIndex(l.nodeB()) : -1, toIndex(l.id()), l.score()};
}

}  // namespace

qcChainRows::qcChainRows(const qcDirectedGraph& graph)
    : mRowStart(at(graph.numNodes()) + 1), mSteps(at(graph.numLinks()), qcArrayStart::unset)
{
    if (copyLinks(graph))
        return;
    mRowStart.fill(0);
    sortLinks(graph);
}

bool qcChainRows::copyLinks(const qcDirectedGraph& graph)
{
    // A graph built node by node holds each node's links one after another, the nodes in
    // order, each link chained to the one before it: the link array is then laid out in rows
    // already, and one pass copies it. False, having copied part of it, when the links of the
    // nodes do not come so.
    const long n = graph.numNodes();
    const std::vector<qcDirectedGraphLink>& links = graph.mLinks;
    long node = -1;  // whose links are being copied
    for (std::size_t j = 0; j < links.size(); ++j) {
        const qcDirectedGraphLink& l = links[j];
        if (l.nodeA() < node || l.nodeA() < 0 || l.nodeA() >= n)
            return false;
        const bool rowBegins = l.nodeA() != node;
        if (rowBegins) {
            for (long u = node + 1; u <= l.nodeA(); ++u)
                mRowStart[at(u)] = static_cast<std::uint32_t>(j);
            node = l.nodeA();
        }
        const long chainedTo = rowBegins ? -1 : static_cast<long>(j) - 1;
        if (l.nextChild() != chainedTo)
            giveNoRow(at(node));
        mSteps[j] = stepOf(l, n);
    }
    for (long u = node + 1; u <= n; ++u)
        mRowStart[at(u)] = static_cast<std::uint32_t>(links.size());
    // A row's links are the graph's own, so its last is the newest.
    checkHeads(graph, [this](std::size_t u) {
        const std::uint32_t begin = mRowStart[u] & ~walkChain;
        const std::uint32_t end = mRowStart[u + 1] & ~walkChain;
        return begin == end ? -1L : static_cast<long>(end) - 1;
    });
    return true;
}

void qcChainRows::sortLinks(const qcDirectedGraph& graph)
{
    // Row sizes, then where each row starts.
    const long n = graph.numNodes();
    const std::vector<qcDirectedGraphLink>& links = graph.mLinks;
    for (const qcDirectedGraphLink& l : links)
        if (l.nodeA() >= 0 && l.nodeA() < n)
            ++mRowStart[at(l.nodeA()) + 1];
    for (std::size_t u = 0; u < at(n); ++u)
        mRowStart[u + 1] += mRowStart[u];

    // Filled with the links in index order. On the way, each link of a row must point to the
    // one filled before it (the older one); the oldest to -1.
    qcSearchArray<std::uint32_t> fill(at(n), qcArrayStart::unset);
    for (std::size_t u = 0; u < at(n); ++u)
        fill[u] = mRowStart[u];
    qcSearchArray<std::int32_t> older(at(n), qcArrayStart::unset);
    older.fill(-1);
    for (std::size_t j = 0; j < links.size(); ++j) {
        const qcDirectedGraphLink& l = links[j];
        if (l.nodeA() < 0 || l.nodeA() >= n)
            continue;
        const std::size_t u = at(l.nodeA());
        if (l.nextChild() != older[u])
            giveNoRow(u);
        older[u] = static_cast<std::int32_t>(j);
        mSteps[at(fill[u]++)] = stepOf(l, n);
    }
    checkHeads(graph, [&older](std::size_t u) { return static_cast<long>(older[u]); });
}

template <class Newest>
void qcChainRows::checkHeads(const qcDirectedGraph& graph, Newest newest)
{
    for (std::size_t u = 0; u < at(graph.numNodes()); ++u)
        if (graph.mNodes[u].firstChild() != newest(u))
            giveNoRow(u);
}
