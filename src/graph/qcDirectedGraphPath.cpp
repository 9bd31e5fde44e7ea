#include "qcDirectedGraph.h"

#include <algorithm>

qcDirectedGraphPath::qcDirectedGraphPath() = default;

qcDirectedGraphPath::qcDirectedGraphPath(const qcIndexArray& nodes, const qcIndexArray& links)
    : mNodes(nodes), mLinks(links)
{
    verifySize();
}

bool qcDirectedGraphPath::sizeValid() const
{
    return (mNodes.empty() && mLinks.empty()) || mNodes.size() == mLinks.size() + 1;
}

void qcDirectedGraphPath::verifySize() const
{
    if (!sizeValid())
        throw qcInvariantFailure();
}

bool qcDirectedGraphPath::isEmpty() const
{
    verifySize();
    return mNodes.empty();
}

bool qcDirectedGraphPath::isSingleton() const
{
    verifySize();
    return mNodes.size() == 1;
}

bool qcDirectedGraphPath::isLoop() const
{
    verifySize();
    return !mLinks.empty() && mNodes.front() == mNodes.back();
}

bool qcDirectedGraphPath::hasCycle() const
{
    if (mNodes.size() < 2)
        return false;
    qcIndexArray sorted = mNodes;
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

bool qcDirectedGraphPath::operator==(const qcDirectedGraphPath& other) const
{
    return mNodes == other.mNodes && mLinks == other.mLinks;
}

bool qcDirectedGraphPath::operator!=(const qcDirectedGraphPath& other) const
{
    return !(*this == other);
}
