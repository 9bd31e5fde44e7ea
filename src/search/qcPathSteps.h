#ifndef QC_PATH_STEPS_H
#define QC_PATH_STEPS_H

#include <cstdint>
#include <vector>

#include "qcDirectedGraph.h"

// One step a loopless path may take: to `node` over link `link` of score `score`.
struct qcPathStep {
    std::int32_t node;
    std::int32_t link;
    double score;
};

// The steps a loopless path may take, copied out of the chains once, row by row: leaving each
// node (out) and entering it (in). A self-link, a link passed over (flags bit 0), and a link of
// NaN or +infinite score make no step; of parallel links from a to b only the cheapest does,
// the first in a's chain on a tie. Rows list their steps in the order of the chains.
class qcPathSteps {
public:
    // Throws qcInvariantFailure when a link that makes a step, or that loses to a parallel
    // one, has a negative score.
    explicit qcPathSteps(const qcDirectedGraph& graph);

    std::int32_t numNodes() const { return static_cast<std::int32_t>(mOutStart.size()) - 1; }
    const qcPathStep* outBegin(std::int32_t u) const { return mOut.data() + mOutStart[at(u)]; }
    const qcPathStep* outEnd(std::int32_t u) const { return mOut.data() + mOutStart[at(u) + 1]; }
    // Entering steps name the node they come from.
    const qcPathStep* inBegin(std::int32_t v) const { return mIn.data() + mInStart[at(v)]; }
    const qcPathStep* inEnd(std::int32_t v) const { return mIn.data() + mInStart[at(v) + 1]; }

private:
    static std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

    std::vector<std::uint32_t> mOutStart;
    std::vector<qcPathStep> mOut;
    std::vector<std::uint32_t> mInStart;
    std::vector<qcPathStep> mIn;
};

#endif
