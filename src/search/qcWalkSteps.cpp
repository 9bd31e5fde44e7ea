#include "search/qcWalkSteps.h"

#include <limits>
#include <stdexcept>

#include "graph/qcChainCursor.h"
#include "qstdAssert.h"

qcWalkSteps::qcWalkSteps(const qcDirectedGraph& graph)
    : mGraph(graph), mNodes(at(graph.numNodes()), NodeSteps{0, 0, -1})
{
    // Enough for every sound chain: each link stands in one. Only pages written are taken.
    mScores.reserve(at(graph.numLinks()));
    mTargets.reserve(at(graph.numLinks()));
}

bool qcWalkSteps::build(std::int32_t u)
{
    NodeSteps& s = mNodes[at(u)];
    if (s.size != -1)
        return false;
    const std::size_t begin = mScores.size();
    ChainFaults faults{0, false};
    qcChainCursor c(mGraph, mGraph.node(u).firstChild());
    for (; c.valid(); c.next()) {
        const qcDirectedGraphLink& l = c.link();
        if (l.nodeA() != u)
            ++faults.foreign;
        if (l.score() < std::numeric_limits<double>::infinity()) {
            mScores.push_back(l.score());
            mTargets.push_back(toIndex(l.nodeB()));
        }
    }
    // Steps are named by 31-bit numbers. Only chains broken into one another can hold that
    // many, as each link stands in one sound chain.
    if (mScores.size() > 0x7fffffff)
        throw std::length_error("qcDirectedGraph::shortestPath: too many steps");
    faults.brokeOff = c.brokeOff();
    const bool faulty = faults.foreign > 0 || faults.brokeOff;
    s = NodeSteps{static_cast<std::uint32_t>(begin), faulty, static_cast<std::int32_t>(mScores.size() - begin)};
    if (faulty)
        mFaults.emplace(u, faults);
    return true;
}

void qcWalkSteps::reportFaults(std::int32_t u) const
{
    if (!mNodes[at(u)].faulty)
        return;
    const ChainFaults& f = mFaults.at(u);
    for (long i = 0; i < f.foreign; ++i)
        qstd_assert_(878);
    if (f.brokeOff)
        qstd_assert_(876);
}
