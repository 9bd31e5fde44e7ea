#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"

qcDirectedGraphLink::qcDirectedGraphLink(long nodeA, long nodeB, double score)
    : mNodeA(qfToIndex(nodeA)), mNodeB(qfToIndex(nodeB)), mScore(score)
{
}

void qcDirectedGraphLink::nodeA(long a) { mNodeA = qfToIndex(a); }
void qcDirectedGraphLink::nodeB(long b) { mNodeB = qfToIndex(b); }
void qcDirectedGraphLink::nextChild(long next) { mNextChild = qfToIndex(next); }

bool qcDirectedGraphLink::operator==(const qcDirectedGraphLink& other) const
{
    return flags == other.flags && mNodeA == other.mNodeA && mNodeB == other.mNodeB &&
           mId == other.mId && mScore == other.mScore && mNextChild == other.mNextChild;
}
