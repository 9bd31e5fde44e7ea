#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"

qcDirectedGraphLink::qcDirectedGraphLink(long nodeA, long nodeB, double score)
    : mNodeA(toIndex(nodeA)), mNodeB(toIndex(nodeB)), mScore(score)
{
}

void qcDirectedGraphLink::nodeA(long a) { mNodeA = toIndex(a); }
void qcDirectedGraphLink::nodeB(long b) { mNodeB = toIndex(b); }
void qcDirectedGraphLink::nextChild(long next) { mNextChild = toIndex(next); }

bool qcDirectedGraphLink::operator==(const qcDirectedGraphLink& other) const
{
    return flags == other.flags && mNodeA == other.mNodeA && mNodeB == other.mNodeB &&
           mId == other.mId && mScore == other.mScore && mNextChild == other.mNextChild;
}
