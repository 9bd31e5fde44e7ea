#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "qstdAssert.h"
#include "search/qcStepQueue.h"
#include "search/qcTakingQueue.h"
#include "search/qcWalkSteps.h"

namespace {

// The state of one ranked search. Each taking is one pass; a pass lists the walk when it ends
// at the end node within the length bounds, and continues it along every link of its node while
// the node has been taken at most maxNumPaths times and the walk is shorter than maxLength.
// Queue keeps the open walks and the records of the extended ones (qcStepQueue when no score is
// negative, else qcTakingQueue). A record is kept only for a walk taken and extended: an open
// walk lives in the queue, and a listed one is put together from its node and its parent's
// record. Lengths are kept only when the search has length bounds: without them no length
// changes what is listed or continued.
template <class Queue>
class RankedWalkSearch {
public:
    template <class... QueueArgs>
    RankedWalkSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                     std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength,
                     QueueArgs... queueArgs)
        : mGraph(graph), mEnd(end), mMaxNumPaths(maxNumPaths),
          mMinLength(minLength), mMaxLength(maxLength), mSelected(at(graph.numNodes()), 0),
          mBounded(minLength > 0 || maxLength < std::numeric_limits<std::int32_t>::max()),
          mSteps(graph), mQueue(mSteps, queueArgs..., start, mBounded)
    {
        // The one-node walk at the end is then taken first without using up the count.
        if (start == end && minLength != 0)
            mSelected[at(end)] = -1;
    }

    void run(std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
    {
        for (long pass = 0; !mQueue.empty() && mSelected[at(mEnd)] < mMaxNumPaths; ++pass) {
            if (pass % 64 == 0)
                qcAttention::check();
            take(paths, scores);
        }
    }

private:
    void take(std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
    {
        if (static_cast<std::int64_t>(mQueue.size()) > mOpenWalks)
            qstd_assert_(687);
        const qcTaking walk = mQueue.takeFront();
        --mOpenWalks;
        ++mTaken;
        if (!mQueue.holds(walk.parent)) {
            qstd_assert_(693);
            return;
        }
        if (!(walk.cost < std::numeric_limits<double>::infinity()))
            qstd_assert_(839);
        if (mOpenWalks + mTaken != mCreated)
            qstd_assert_(842);
        const std::int32_t u = walk.node;
        if (u < 0 || u >= mGraph.numNodes()) {
            qstd_assert_(846);
            return;
        }

        // Unbounded, every walk counts as length 0.
        const std::int32_t length = walk.parent == -1 || !mBounded ? 0 : mQueue.length(walk.parent) + 1;
        const std::int32_t selected = ++mSelected[at(u)];
        if (u == mEnd && mMinLength <= length && length <= mMaxLength) {
            paths.push_back(makePath(u, walk.parent, length));
            scores.push_back(walk.cost);
        }
        if (selected <= mMaxNumPaths && length < mMaxLength)
            extend(u, walk, length);
    }

    void extend(std::int32_t u, const qcTaking& walk, std::int32_t length)
    {
        if (mSteps.build(u, [this](double score, std::int32_t target) { mQueue.addStep(score, target); }))
            mQueue.addedSteps(u);
        mSteps.reportFaults(u);
        const std::int32_t n = mQueue.continuations(u, walk.cost);
        if (n == 0)
            return;
        if (mQueue.numRecords() < 0)
            qstd_assert_(884);
        if (length + 1 > mMaxLength)
            qstd_assert_(886);
        mQueue.extend(u, walk, length, n);
        mOpenWalks += n;
        mCreated += n;
    }

    // The walk ending at u that continues the walk of record `parent`.
    qcDirectedGraphPath makePath(std::int32_t u, std::int32_t parent, std::int32_t length)
    {
        mSequence.assign(1, u);
        if (!mQueue.holds(parent)) {
            qstd_assert_(719);
            return qcDirectedGraphPath();
        }
        // Records are made after the records they continue, so their order falls strictly.
        for (std::int32_t r = parent, below = mQueue.numRecords(); r != -1;) {
            if (r < 0 || !mQueue.holds(r) || mQueue.order(r) >= below) {
                qstd_assert_(725);
                break;
            }
            mSequence.push_back(mQueue.node(r));
            below = mQueue.order(r);
            r = mQueue.parent(r);
        }
        if (mBounded && mSequence.size() != at(length) + 1)
            qstd_assert_(718);
        std::reverse(mSequence.begin(), mSequence.end());
        return pathOf(mSequence);
    }

    // The walk over the sequence, naming for each step the first link of the chain that makes
    // it (parallel links all give the same path).
    qcDirectedGraphPath pathOf(const qcIndexArray& sequence) const
    {
        if (sequence.empty())
            qstd_assert_(740);
        qcIndexArray links;
        links.reserve(sequence.size());
        const long n = mGraph.numNodes();
        for (std::size_t i = 1; i < sequence.size(); ++i) {
            const std::int32_t a = sequence[i - 1];
            const std::int32_t b = sequence[i];
            std::int32_t found = -1;
            if (a < 0 || a >= n || b < 0 || b >= n) {
                qstd_assert_(748);
            } else {
                qcChainCursor c(mGraph, mGraph.node(a).firstChild());
                for (; c.valid(); c.next()) {
                    if (c.link().nodeA() != a)
                        qstd_assert_(763);
                    if (c.link().nodeB() == b) {
                        found = c.index();
                        break;
                    }
                }
                if (found == -1 && c.brokeOff())
                    qstd_assert_(761);
            }
            if (found == -1)
                qstd_assert_(771);
            // Kept even when missing, so that the path still keeps its size rule.
            links.push_back(found);
        }
        if (links.size() + 1 != sequence.size())
            qstd_assert_(774);
        return qcDirectedGraphPath(sequence, links);
    }

    const qcDirectedGraph& mGraph;
    const std::int32_t mEnd;
    const std::int32_t mMaxNumPaths;
    const std::int32_t mMinLength;
    const std::int32_t mMaxLength;
    std::vector<std::int32_t> mSelected;  // takings per node
    const bool mBounded;
    qcWalkSteps mSteps;
    Queue mQueue;
    // Walks that can be taken: created, still open, taken.
    std::int64_t mCreated = 1;
    std::int64_t mOpenWalks = 1;
    std::int64_t mTaken = 0;
    qcIndexArray mSequence;  // scratch for the nodes of a listed walk
};

template <class Queue, class... QueueArgs>
void search(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, std::int32_t maxNumPaths,
            std::int32_t minLength, std::int32_t maxLength, std::vector<qcDirectedGraphPath>& paths,
            std::vector<double>& scores, QueueArgs... queueArgs)
{
    RankedWalkSearch<Queue> search(graph, start, end, maxNumPaths, minLength, maxLength, queueArgs...);
    paths.clear();
    scores.clear();
    search.run(paths, scores);
}

bool isStoredNode(const qcDirectedGraph& graph, std::int32_t i)
{
    return i >= 0 && i < graph.numNodes() && graph.node(i).id() == i;
}

}  // namespace

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, std::int32_t maxNumPaths,
                                   std::int32_t minLength, std::int32_t maxLength,
                                   std::vector<qcDirectedGraphPath>& paths,
                                   std::vector<double>& scores) const
{
    if (!isStoredNode(*this, start) || !isStoredNode(*this, end))
        throw qcInvariantFailure();
    if (minLength >= 0 && maxLength >= 0 && minLength > maxLength)
        throw qcInvariantFailure();
    if (maxNumPaths <= 0)
        throw qcInvariantFailure();

    paths.clear();
    paths.reserve(at(maxNumPaths));
    minLength = std::max(minLength, 0);
    if (maxLength < 0)
        maxLength = std::numeric_limits<std::int32_t>::max();
    if (!(maxNumPaths > 0 && start < numNodes() && end < numNodes() && minLength <= maxLength))
        qstd_assert_(793);

    // Without negative scores no walk costs less than one it continues: the search can then keep
    // one queue item per step instead of one per taking.
    bool negative = false;
    for (long j = 0; j < numLinks() && !negative; ++j)
        negative = link(j).score() < 0;
    if (negative)
        search<qcTakingQueue>(*this, start, end, maxNumPaths, minLength, maxLength, paths, scores, numLinks());
    else
        search<qcStepQueue>(*this, start, end, maxNumPaths, minLength, maxLength, paths, scores, at(numNodes()), at(numLinks()), maxNumPaths);
}
