#ifndef QC_WALK_STEPS_H
#define QC_WALK_STEPS_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"

// What one taking of the ranked walk search takes: the walk's cost, the record of the walk it
// continues (-1 for the walk of the start node alone) and the node it ends at.
struct qcTaking {
    double cost;
    std::int32_t parent;
    std::int32_t node;
};

// Where the steps out of the nodes of a ranked walk search stand: the links of a node's chain
// whose score can give a walk that is taken one day (not NaN, not +infinity), numbered in chain
// order in one pool, which the queue keeps in the form it needs. A node's steps are made on its
// first extension, so a search that stays near its start never walks the rest of the graph.
class qcWalkSteps {
public:
    explicit qcWalkSteps(const qcDirectedGraph& graph) : mGraph(graph), mNodes(at(graph.numNodes()), NodeSteps{0, 0, -1}) {}

    // Makes the steps of u unless made before, calling add(score, target) for each in chain
    // order; true when this call made them.
    template <class Add>
    bool build(std::int32_t u, Add add)
    {
        if (mNodes[at(u)].size != -1)
            return false;
        const std::size_t begin = mNumSteps;
        long foreign = 0;
        qcChainCursor c(mGraph, mGraph.node(u).firstChild());
        for (; c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            foreign += l.nodeA() != u;
            if (l.score() < std::numeric_limits<double>::infinity()) {
                add(l.score(), toIndex(l.nodeB()));
                ++mNumSteps;
            }
        }
        built(u, begin, ChainFaults{foreign, c.brokeOff()});
        return true;
    }

    // Reports the faults of u's chain, as on every extension of u: 878 per link of another node,
    // 876 when the chain breaks off (its steps stand, as if the chain ended there).
    void reportFaults(std::int32_t u) const;

    std::uint32_t begin(std::int32_t u) const { return mNodes[at(u)].begin; }
    std::uint32_t end(std::int32_t u) const { return begin(u) + static_cast<std::uint32_t>(mNodes[at(u)].size); }

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

    void built(std::int32_t u, std::size_t begin, const ChainFaults& faults);

    const qcDirectedGraph& mGraph;
    std::vector<NodeSteps> mNodes;
    std::size_t mNumSteps = 0;
    std::unordered_map<std::int32_t, ChainFaults> mFaults;  // empty in a sound graph
};

#endif
