#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "qstdAssert.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// A walk taken and then extended or listed: where it ends and which walk it continues by one
// link. Walks never taken need no record: they live in the open queue until then.
struct WalkRecord {
    std::int32_t node;
    std::int32_t parent;  // -1 for the walk of the start node alone
};

// One step out of a node: a link of its chain whose score can give a walk that is taken one day
// (not NaN, not +infinity). rank is the link's place among those in chain order, so the
// continuations of one taking are numbered block start + rank.
struct Step {
    double score;
    std::int32_t node;
    std::int32_t rank;
};

// Where a node's steps stand in the step pool, sorted by (score, rank); built on the node's
// first extension. faults indexes mFaults, -1 when the chain is sound.
struct NodeSteps {
    std::size_t begin = 0;
    std::int32_t size = -1;  // -1: not built yet
    std::int32_t faults = -1;
};

// What a node's chain reports on every extension: links of another node, and a break.
struct ChainFaults {
    long foreign;
    bool brokeOff;
};

// The open continuations of one taking, steps [next, last) of the continued node's sorted
// steps, standing in the queue as its cheapest one (the head): cost base + score, number
// block start + rank. The walk of the start node alone is an item with parent -1.
struct OpenSteps {
    double cost;          // of the head
    std::int64_t number;  // of the head: the order of creation, for ties
    double base;          // cost of the walk continued
    std::int32_t parent;  // record of the walk continued
    std::int32_t next;
    std::int32_t last;
    std::int32_t length;  // of the walks this item stands for
};

// The head a scan of all open walks in creation order, keeping only strictly smaller costs,
// would take first. Costs are never NaN here, so the order is total.
bool takenBefore(const OpenSteps& a, const OpenSteps& b)
{
    return a.cost < b.cost || (!(b.cost < a.cost) && a.number < b.number);
}

// A binary heap of items with the item to take first on top.
class OpenQueue {
public:
    bool empty() const { return mItems.empty(); }
    std::size_t size() const { return mItems.size(); }
    const OpenSteps& top() const { return mItems.front(); }
    OpenSteps& top() { return mItems.front(); }

    void push(const OpenSteps& item)
    {
        std::size_t i = mItems.size();
        mItems.push_back(item);
        while (i > 0 && takenBefore(item, mItems[(i - 1) / 2])) {
            mItems[i] = mItems[(i - 1) / 2];
            i = (i - 1) / 2;
        }
        mItems[i] = item;
    }

    // After the top item has changed (only ever to a later head) or to drop it.
    void settleTop() { siftDown(mItems.front()); }
    void popTop()
    {
        const OpenSteps last = mItems.back();
        mItems.pop_back();
        if (!mItems.empty())
            siftDown(last);
    }

private:
    void siftDown(const OpenSteps item)
    {
        const std::size_t n = mItems.size();
        std::size_t i = 0;
        for (std::size_t child = 1; child < n; child = 2 * i + 1) {
            if (child + 1 < n && takenBefore(mItems[child + 1], mItems[child]))
                ++child;
            if (!takenBefore(mItems[child], item))
                break;
            mItems[i] = mItems[child];
            i = child;
        }
        mItems[i] = item;
    }

    std::vector<OpenSteps> mItems;
};

// The state of one ranked search. Each taking is one pass; a pass lists the walk when it ends
// at the end node within the length bounds, and continues it along every link of its node while
// the node has been taken at most maxNumPaths times and the walk is shorter than maxLength.
// The continuations of a taking differ only in their link, so one queue item stands for all of
// them, in the order (cost, creation number) in which they would be taken.
class RankedWalkSearch {
public:
    RankedWalkSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                     std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength)
        : mGraph(graph), mStart(start), mEnd(end), mMaxNumPaths(maxNumPaths),
          mMinLength(minLength), mMaxLength(maxLength), mSelected(at(graph.numNodes()), 0),
          mSteps(at(graph.numNodes()))
    {
        mOpen.push(OpenSteps{0.0, 0, 0.0, -1, 0, 1, 0});
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
        if (static_cast<std::int64_t>(mOpen.size()) > mOpenWalks)
            qstd_assert_(687);
        const OpenSteps walk = mOpen.top();
        advance();
        --mOpenWalks;
        ++mTaken;
        if (walk.number < 0 || walk.number >= mNextNumber || walk.parent < -1 ||
            walk.parent >= static_cast<std::int64_t>(mRecords.size())) {
            qstd_assert_(693);
            return;
        }
        if (!(walk.cost < infinity))
            qstd_assert_(839);
        if (mOpenWalks + mTaken != mCreated)
            qstd_assert_(842);
        const std::int32_t u = walk.parent == -1 ? mStart : stepsOf(mRecords[at(walk.parent)].node)[walk.next].node;
        if (u < 0 || u >= mGraph.numNodes()) {
            qstd_assert_(846);
            return;
        }

        const std::int32_t selected = ++mSelected[at(u)];
        if (u == mEnd && mMinLength <= walk.length && walk.length <= mMaxLength) {
            paths.push_back(makePath(u, walk));
            scores.push_back(walk.cost);
        }
        if (selected <= mMaxNumPaths && walk.length < mMaxLength)
            extend(u, walk);
    }

    // Moves the top item on to its next continuation, or drops it after its last.
    void advance()
    {
        OpenSteps& item = mOpen.top();
        if (item.next + 1 >= item.last) {
            mOpen.popTop();
            return;
        }
        const Step* steps = stepsOf(mRecords[at(item.parent)].node);
        const Step& now = steps[item.next];
        const Step& then = steps[++item.next];
        item.cost = item.base + then.score;
        item.number += then.rank - now.rank;
        mOpen.settleTop();
    }

    void extend(std::int32_t u, const OpenSteps& walk)
    {
        const NodeSteps& built = buildSteps(u);
        if (built.faults != -1) {
            const ChainFaults& f = mFaults[at(built.faults)];
            for (long i = 0; i < f.foreign; ++i)
                qstd_assert_(878);
            // The continuations stand, as if the chain ended at the break.
            if (f.brokeOff)
                qstd_assert_(876);
        }
        const Step* steps = stepsOf(u);
        // Sorted by score, the costs rise with the steps; past the first that is not below
        // +infinity none is. Where two different scores give one rounded cost, creation order
        // and score order may disagree: such a taking gets an item per continuation.
        std::int32_t last = 0;
        bool tied = false;
        for (; last < built.size && walk.cost + steps[last].score < infinity; ++last)
            tied = tied || (last > 0 && steps[last - 1].score < steps[last].score &&
                            walk.cost + steps[last - 1].score == walk.cost + steps[last].score);
        const std::int64_t block = mNextNumber;
        if (block < mOpenWalks)
            qstd_assert_(884);
        mNextNumber += built.size;
        if (last == 0)
            return;
        const std::int32_t length = walk.length + 1;
        if (length > mMaxLength)
            qstd_assert_(886);
        const auto parent = static_cast<std::int32_t>(mRecords.size());
        mRecords.push_back(WalkRecord{u, walk.parent});
        for (std::int32_t first = 0; first < last; first = tied ? first + 1 : last)
            mOpen.push(OpenSteps{walk.cost + steps[first].score, block + steps[first].rank, walk.cost,
                                 parent, first, tied ? first + 1 : last, length});
        mOpenWalks += last;
        mCreated += last;
    }

    const Step* stepsOf(std::int32_t u) const { return mStepPool.data() + mSteps[at(u)].begin; }

    // The node's chain walked once: its usable links sorted by (score, rank), and its faults.
    const NodeSteps& buildSteps(std::int32_t u)
    {
        NodeSteps& s = mSteps[at(u)];
        if (s.size != -1)
            return s;
        s.begin = mStepPool.size();
        ChainFaults faults{0, false};
        std::int32_t rank = 0;
        qcChainCursor c(mGraph, mGraph.node(u).firstChild());
        for (; c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            if (l.nodeA() != u)
                ++faults.foreign;
            if (l.score() < infinity)
                mStepPool.push_back(Step{l.score(), toIndex(l.nodeB()), rank++});
        }
        faults.brokeOff = c.brokeOff();
        s.size = rank;
        std::sort(mStepPool.begin() + static_cast<std::ptrdiff_t>(s.begin), mStepPool.end(),
                  [](const Step& a, const Step& b) { return a.score < b.score || (!(b.score < a.score) && a.rank < b.rank); });
        if (faults.foreign > 0 || faults.brokeOff) {
            s.faults = static_cast<std::int32_t>(mFaults.size());
            mFaults.push_back(faults);
        }
        return s;
    }

    // The walk ending at u that continues the walk of record `walk.parent`.
    qcDirectedGraphPath makePath(std::int32_t u, const OpenSteps& walk)
    {
        mSequence.assign(1, u);
        if (walk.parent >= static_cast<std::int64_t>(mRecords.size())) {
            qstd_assert_(719);
            return qcDirectedGraphPath();
        }
        // Records are made after the records they continue, so the numbers fall strictly.
        for (std::int32_t r = walk.parent, below = static_cast<std::int32_t>(mRecords.size()); r != -1;) {
            if (r < 0 || r >= below) {
                qstd_assert_(725);
                break;
            }
            mSequence.push_back(mRecords[at(r)].node);
            below = r;
            r = mRecords[at(r)].parent;
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
    const std::int32_t mStart;
    const std::int32_t mEnd;
    const std::int32_t mMaxNumPaths;
    const std::int32_t mMinLength;
    const std::int32_t mMaxLength;
    std::vector<std::int32_t> mSelected;  // takings per node
    std::vector<NodeSteps> mSteps;        // per node
    std::vector<Step> mStepPool;
    std::vector<ChainFaults> mFaults;
    std::vector<WalkRecord> mRecords;
    OpenQueue mOpen;
    // Walks that can be taken: created, still open, taken; and numbers handed out.
    std::int64_t mCreated = 1;
    std::int64_t mOpenWalks = 1;
    std::int64_t mTaken = 0;
    std::int64_t mNextNumber = 1;
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
