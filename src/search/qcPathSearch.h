#ifndef QC_PATH_SEARCH_H
#define QC_PATH_SEARCH_H

#include <cstdint>
#include <memory>
#include <optional>

#include "graph/qcIndex.h"
#include "qcDirectedGraph.h"
#include "qcSearchRows.h"
#include "search/qcChainRows.h"
#include "search/qcSearchArray.h"

// Dijkstra's search from one start node over a graph's chains, as the two-node search defines
// it: links with flags bit 0 passed over, strict improvements only, totals of 1.0e12 or more
// never reached, a settled node never reopened, the abort check before every 64th pass. Both
// the two-node search (stopping at its end) and the search to every node run it, so the two
// agree on every node's distance and predecessor.
//
// The order among nodes of equal distance is the binary heap's (qcSearchHeap). A radix queue,
// which is quicker but knows no such order, serves first; at the first tie between two least
// keys, or at a key that falls (a negative score), the search starts over with the heap and
// makes no abort check twice.
class qcPathSearch {
public:
    enum class NodeState : std::uint8_t { unvisited, queued, settled };
    struct NodeRecord {
        double distance;
        std::int32_t predecessorNode;
        std::int32_t predecessorLink;
    };

    // start must be a node of graph; the graph must outlive the search and stay unchanged. With
    // `shared`, the search takes its rows from there, and lays them out there for later searches.
    qcPathSearch(const qcDirectedGraph& graph, std::int32_t start, qcSearchRows* shared = nullptr);

    // Settles nodes until `end` is settled or, with end -1, until none is left.
    void run(std::int32_t end);

    bool settled(std::int32_t node) const { return mState[at(node)] == NodeState::settled; }
    // Valid for a settled node.
    const NodeRecord& record(std::int32_t node) const { return mRecord[at(node)]; }

private:
    // One run with the given queue, the abort checks of passes up to quietUpTo left out (an
    // earlier run made them). -1 when the run is complete, else the pass at which the queue
    // could not go on.
    template <class Queue>
    long runWith(Queue& queue, long quietUpTo);
    // Offers `neighbour` the way over link `id` from the node being settled. False when the
    // queue cannot hold the new key.
    template <class Queue>
    bool relax(Queue& queue, std::int32_t current, std::int32_t neighbour, std::int32_t id, double candidate);
    template <class Queue>
    bool relaxRow(Queue& queue, std::int32_t current, double distance);
    template <class Queue>
    bool relaxChain(Queue& queue, std::int32_t current, double distance);
    // Fetch-ahead hints; they never change a result.
    void fetchChainOf(std::int32_t likelyNext) const;
    void fetchRowOf(std::int32_t likelyNext) const;
    void fetchForImproved(std::int32_t node, bool newlyQueued);
    void layRows();

    const qcDirectedGraph& mGraph;
    const std::int32_t mStart;
    const long mNodes;
    std::int32_t mEnd = -1;
    qcSearchArray<NodeRecord> mRecord;  // read only for nodes that are not unvisited
    qcSearchArray<NodeState> mState;  // apart from the records, small enough to stay in cache

    // The chains laid out row by row, once the search has settled a good share of the nodes
    // (or from the start, when `shared` holds them): its own or shared ones.
    qcSearchRows* const mShared;
    std::shared_ptr<const qcChainRows> mSharedRows;
    std::optional<qcChainRows> mOwnRows;
    const qcChainRows* mRows = nullptr;

    // Per run.
    long mSettledCount = 0;
    long mPass = 0;
    long mQueuedCount = 0;  // nodes ever queued; less the passes made, those queued now
    static constexpr long rowsLater = 32;
    std::int32_t mRecentlyQueued[rowsLater] = {};
};

#endif
