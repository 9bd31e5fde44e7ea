#include "qcDirectedGraph.h"

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qstdAssert.h"

qcDirectedGraph::qcDirectedGraph() = default;

bool qcDirectedGraph::operator==(const qcDirectedGraph& other) const
{
    return mNodes == other.mNodes && mLinks == other.mLinks;
}

long qcDirectedGraph::addNode(const qcDirectedGraphNode& n)
{
    const qcDirectedGraphNode record = n;  // n may be one of our own nodes; the array may move
    mNodes.emplace_back();
    const long i = numNodes() - 1;
    node(i, record);
    return i;
}

void qcDirectedGraph::node(long i, const qcDirectedGraphNode& n)
{
    if (i < 0 || i >= numNodes())
        throw qcInvariantFailure();
    qcDirectedGraphNode& stored = mNodes[at(i)];
    stored = n;
    stored.mId = toIndex(i);
}

long qcDirectedGraph::addLink(const qcDirectedGraphLink& l)
{
    const qcDirectedGraphLink record = l;  // l may be one of our own links; the array may move
    mLinks.emplace_back();
    const long i = numLinks() - 1;
    link(i, record);
    return i;
}

void qcDirectedGraph::addLinkFastUnsafe(long nodeA, long nodeB, double score)
{
    const bool goodA = nodeA >= 0 && nodeA < numNodes();
    const bool goodB = nodeB >= 0 && nodeB < numNodes();
    if (!goodA)
        qstd_assert_(566);
    if (!goodB)
        qstd_assert_(567);
    // A link with a bad end could not be chained, or would send every walk outside the node
    // array: store nothing.
    if (!goodA || !goodB)
        return;

    const auto i = static_cast<std::int32_t>(mLinks.size());
    qcDirectedGraphLink& stored = mLinks.emplace_back(nodeA, nodeB, score);
    qcDirectedGraphNode& source = mNodes[at(nodeA)];
    stored.mId = i;
    stored.mNextChild = source.mFirstChild;
    source.mFirstChild = i;
}

void qcDirectedGraph::reserveLinks(long links)
{
    if (links > numLinks())
        mLinks.reserve(static_cast<std::size_t>(links));
}

void qcDirectedGraph::link(long i, const qcDirectedGraphLink& l)
{
    if (i < 0 || i >= numLinks())
        throw qcInvariantFailure();
    if (l.mNodeA < 0 || l.mNodeA >= numNodes())
        throw qcInvariantFailure();
    if (l.mNodeB < 0 || l.mNodeB >= numNodes())
        throw qcInvariantFailure();

    const qcDirectedGraphLink old = mLinks[at(i)];
    if (old.mId != -1 && old.mId != i)
        qstd_assert_(597);

    qcDirectedGraphLink& stored = mLinks[at(i)];
    stored = l;
    stored.mId = toIndex(i);

    if (old.mId != -1 && old.mNodeA >= 0 && old.mNodeA < numNodes())
        unchain(old.mNodeA, old.mId, old.mNextChild);
    pushChainHead(toIndex(i));
}

void qcDirectedGraph::unchain(std::int32_t owner, std::int32_t oldId, std::int32_t oldNext)
{
    qcDirectedGraphNode& source = mNodes[at(owner)];
    if (source.mFirstChild == oldId) {
        source.mFirstChild = oldNext;
        return;
    }
    for (qcChainCursor c(*this, source.mFirstChild); c.valid(); c.next()) {
        if (c.link().mNextChild == oldId) {
            mLinks[at(c.index())].mNextChild = oldNext;
            return;
        }
    }
}

void qcDirectedGraph::pushChainHead(std::int32_t i)
{
    qcDirectedGraphLink& stored = mLinks[at(i)];
    qcDirectedGraphNode& source = mNodes[at(stored.mNodeA)];
    stored.mNextChild = source.mFirstChild;
    source.mFirstChild = i;
}
