#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <queue>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "qstdAssert.h"

namespace {

// A partial walk, kept for as long as the search runs: where it ends and which walk it
// continues by one link. Its cost and length are needed only until it is taken, so they travel
// in the open queue instead.
struct WalkEntry {
    std::int32_t node;
    std::int32_t parent;  // -1 for the walk of the start node alone
};

// A walk not taken yet.
struct OpenWalk {
    double cost;
    std::int32_t entry;
    std::int32_t length;
};

// Orders the queue so that its top is the cheapest open walk, ties to the one created first:
// the walk a scan of all open walks in creation order, keeping only strictly smaller costs,
// would take. Costs in the queue are never NaN, so the order is total.
struct TakenLater {
    bool operator()(const OpenWalk& a, const OpenWalk& b) const
    {
        return b.cost < a.cost || (!(a.cost < b.cost) && b.entry < a.entry);
    }
};

// The state of one ranked search: every walk created, the open ones, and the takings per node.
// Each taking is one pass; a pass lists the walk when it ends at the end node within the length
// bounds, and continues it along every link of its node while the node has been taken at most
// maxNumPaths times and the walk is shorter than maxLength.
class RankedWalkSearch {
public:
    RankedWalkSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                     std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength)
        : mGraph(graph), mEnd(end), mMaxNumPaths(maxNumPaths), mMinLength(minLength),
          mMaxLength(maxLength), mSelected(at(graph.numNodes()), 0)
    {
        mEntries.push_back(WalkEntry{start, -1});
        mOpen.push(OpenWalk{0.0, 0, 0});
        // The one-node walk at the end is then taken first without using up the count.
        if (start == end && minLength != 0)
            mSelected[at(end)] = -1;
    }

    void run(std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
    {
        for (long pass = 0; !mOpen.empty() && mSelected[at(mEnd)] < mMaxNumPaths; ++pass) {
            if (pass % 64 == 0)
                qcAttention::check();
            take(paths, scores);
        }
    }

private:
    void take(std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
    {
        if (mOpen.size() > mEntries.size() - mTaken)
            qstd_assert_(687);
        const OpenWalk walk = mOpen.top();
        mOpen.pop();
        ++mTaken;
        if (walk.entry < 0 || at(walk.entry) >= mEntries.size()) {
            qstd_assert_(693);
            return;
        }
        if (!(walk.cost < std::numeric_limits<double>::infinity()))
            qstd_assert_(839);
        if (mOpen.size() + mTaken != mEntries.size())
            qstd_assert_(842);
        const std::int32_t u = mEntries[at(walk.entry)].node;
        if (u < 0 || u >= mGraph.numNodes()) {
            qstd_assert_(846);
            return;
        }

        const std::int32_t selected = ++mSelected[at(u)];
        if (u == mEnd && mMinLength <= walk.length && walk.length <= mMaxLength) {
            paths.push_back(makePath(walk));
            scores.push_back(walk.cost);
        }
        if (selected <= mMaxNumPaths && walk.length < mMaxLength)
            extend(u, walk);
    }

    void extend(std::int32_t u, const OpenWalk& walk)
    {
        qcChainCursor c(mGraph, mGraph.node(u).firstChild());
        for (; c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            if (l.nodeA() != u)
                qstd_assert_(878);
            const double cost = walk.cost + l.score();
            // A walk of NaN or infinite cost would never be taken: do not keep it.
            if (!(cost < std::numeric_limits<double>::infinity()))
                continue;
            const auto number = static_cast<std::int32_t>(mEntries.size());
            if (at(number) < mOpen.size())
                qstd_assert_(884);
            const std::int32_t length = walk.length + 1;
            if (length > mMaxLength)
                qstd_assert_(886);
            mEntries.push_back(WalkEntry{toIndex(l.nodeB()), walk.entry});
            mOpen.push(OpenWalk{cost, number, length});
        }
        // The continuations made so far stand, as if the chain ended here.
        if (c.brokeOff())
            qstd_assert_(876);
    }

    qcDirectedGraphPath makePath(const OpenWalk& walk)
    {
        mSequence.clear();
        if (walk.entry < 0 || at(walk.entry) >= mEntries.size()) {
            qstd_assert_(719);
            return qcDirectedGraphPath();
        }
        // Parents are created before their continuations, so the numbers fall strictly.
        for (std::int32_t e = walk.entry;;) {
            mSequence.push_back(mEntries[at(e)].node);
            const std::int32_t parent = mEntries[at(e)].parent;
            if (parent == -1)
                break;
            if (parent < 0 || parent >= e) {
                qstd_assert_(725);
                break;
            }
            e = parent;
        }
        if (mSequence.size() != at(walk.length) + 1)
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
    std::vector<WalkEntry> mEntries;      // every walk created, by creation number
    std::priority_queue<OpenWalk, std::vector<OpenWalk>, TakenLater> mOpen;
    std::size_t mTaken = 0;
    qcIndexArray mSequence;  // scratch for the nodes of a listed walk
};

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

    RankedWalkSearch search(*this, start, end, maxNumPaths, minLength, maxLength);
    paths.clear();
    scores.clear();
    search.run(paths, scores);
}
