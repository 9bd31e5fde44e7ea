#include "search/qcWalkSteps.h"

#include <stdexcept>

#include "qstdAssert.h"

void qcWalkSteps::built(std::int32_t u, std::size_t begin, const ChainFaults& faults)
{
    // Steps are named by 31-bit numbers. Only chains broken into one another can hold that
    // many, as each link stands in one sound chain.
    if (mNumSteps > 0x7fffffff)
        throw std::length_error("qcDirectedGraph::shortestPath: too many steps");
    const bool faulty = faults.foreign > 0 || faults.brokeOff;
    mNodes[at(u)] = NodeSteps{static_cast<std::uint32_t>(begin), faulty, static_cast<std::int32_t>(mNumSteps - begin)};
    if (faulty)
        mFaults.emplace(u, faults);
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
