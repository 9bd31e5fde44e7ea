#include "qcDirectedGraph.h"

qcDirectedGraphNode::qcDirectedGraphNode() = default;

bool qcDirectedGraphNode::operator==(const qcDirectedGraphNode& other) const
{
    return mFirstChild == other.mFirstChild && mPosition == other.mPosition &&
           mReserved == other.mReserved && mId == other.mId;
}
