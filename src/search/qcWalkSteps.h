#ifndef QC_WALK_STEPS_H
#define QC_WALK_STEPS_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"

// What one taking of the ranked walk search takes: the walk's cost, the record of the walk it
// continues (-1 for the walk of the start node alone) and the node it ends at.
struct qcTaking {
    double cost;
    std::int32_t parent;
    std::int32_t node;
};

// The steps out of the nodes of a ranked walk search: the links of a node's chain whose score
// can give a walk that is taken one day (not NaN, not +infinity), in chain order, numbered in one
// pool. A node's steps are built on its first extension, so a search that stays near its start
// never walks the rest of the graph. Two steps of one node compare by number as by chain order.
class qcWalkSteps {
public:
    explicit qcWalkSteps(const qcDirectedGraph& graph);

    // Builds the steps of u unless built before; true when this call built them.
    bool build(std::int32_t u);
    // Reports the faults of u's chain, as on every extension of u: 878 per link of another node,
    // 876 when the chain breaks off (its steps stand, as if the chain ended there).
    void reportFaults(std::int32_t u) const;

    std::uint32_t begin(std::int32_t u) const { return mNodes[at(u)].begin; }
    std::uint32_t end(std::int32_t u) const { return begin(u) + static_cast<std::uint32_t>(mNodes[at(u)].size); }
    std::size_t size() const { return mScores.size(); }
    double score(std::uint32_t step) const { return mScores[step]; }
    std::int32_t target(std::uint32_t step) const { return mTargets[step]; }

private:
    // Where a node's steps stand in the pool; 8 bytes, as a large graph has millions of nodes.
    struct NodeSteps {
        std::uint32_t begin : 31;
        std::uint32_t faulty : 1;  // its faults are in mFaults
        std::int32_t size;         // -1: not built yet
    };
    struct ChainFaults {
        long foreign;
        bool brokeOff;
    };

    const qcDirectedGraph& mGraph;
    std::vector<NodeSteps> mNodes;
    std::vector<double> mScores;
    std::vector<std::int32_t> mTargets;
    std::unordered_map<std::int32_t, ChainFaults> mFaults;  // only sound chains in a sound graph
};

#endif
