#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <limits>
#include <stdexcept>
#include <vector>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "qstdAssert.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// A walk taken and extended: where it ends and which walk it continues by one link. Other
// walks need no record: an open one lives in its queue item, and a listed one is put together
// from its node and its parent's record. Its length is kept beside it only when the search has
// length bounds: without them no length changes what is listed or continued.
struct WalkRecord {
    std::int32_t node;
    std::int32_t parent;  // -1 for the walk of the start node alone
};

// One step out of a node: a link of its chain whose score can give a walk that is taken one day
// (not NaN, not +infinity). rank is the link's place among those in chain order; last marks
// the last step of the node's sorted steps.
struct Step {
    double score;
    std::int32_t node;
    std::uint32_t rank : 31;
    std::uint32_t last : 1;
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

// The open continuations of one taking, the continued node's sorted steps from the step pool's
// entry `at` on, standing in the queue as its cheapest one (the head); a single item stands for
// that one step alone. The walk of the start node alone is a single item with parent -1.
//
// Continuations are created in taking order and, within one taking, in chain order; records are
// made in taking order too. So the creation order of two heads is that of their parents' records
// and, for one parent, that of their ranks.
struct OpenSteps {
    double cost;          // of the head
    double base;          // cost of the walk continued
    std::int32_t parent;  // record of the walk continued
    std::uint32_t at : 31;
    std::uint32_t single : 1;
};

// The state of one ranked search. Each taking is one pass; a pass lists the walk when it ends
// at the end node within the length bounds, and continues it along every link of its node while
// the node has been taken at most maxNumPaths times and the walk is shorter than maxLength.
// The continuations of a taking differ only in their link, so one queue item stands for all of
// them, in the order (cost, creation order) in which they would be taken.
class RankedWalkSearch {
public:
    RankedWalkSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                     std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength)
        : mGraph(graph), mStart(start), mEnd(end), mMaxNumPaths(maxNumPaths),
          mMinLength(minLength), mMaxLength(maxLength), mSelected(at(graph.numNodes()), 0),
          mSteps(at(graph.numNodes())),
          mBounded(minLength > 0 || maxLength < std::numeric_limits<std::int32_t>::max())
    {
        // Enough for every sound chain: each link stands in one.
        mStepPool.reserve(at(graph.numLinks()));
        push(OpenSteps{0.0, 0.0, -1, 0, 1});
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
        const OpenSteps walk = mOpen.front();
        advance();
        --mOpenWalks;
        ++mTaken;
        if (walk.parent < -1 || walk.parent >= static_cast<std::int64_t>(mRecords.size())) {
            qstd_assert_(693);
            return;
        }
        if (!(walk.cost < infinity))
            qstd_assert_(839);
        if (mOpenWalks + mTaken != mCreated)
            qstd_assert_(842);
        const std::int32_t u = walk.parent == -1 ? mStart : headOf(walk).node;
        if (u < 0 || u >= mGraph.numNodes()) {
            qstd_assert_(846);
            return;
        }

        // Unbounded, every walk counts as length 0.
        const std::int32_t length = walk.parent == -1 || !mBounded ? 0 : mLengths[at(walk.parent)] + 1;
        const std::int32_t selected = ++mSelected[at(u)];
        if (u == mEnd && mMinLength <= length && length <= mMaxLength) {
            paths.push_back(makePath(u, walk.parent, length));
            scores.push_back(walk.cost);
        }
        if (selected <= mMaxNumPaths && length < mMaxLength)
            extend(u, walk, length);
    }

    const Step& headOf(const OpenSteps& item) const
    {
        return mStepPool[item.at];
    }

    // Moves the top item on to its next continuation, or drops it after its last or where the
    // costs reach +infinity (sorted by score, the costs rise with the steps).
    void advance()
    {
        OpenSteps& item = mOpen.front();
        if (!item.single && !mStepPool[item.at].last) {
            const double cost = item.base + mStepPool[item.at + 1].score;
            if (cost < infinity) {
                item.cost = cost;
                ++item.at;
                siftDown(item);
                return;
            }
        }
        const OpenSteps last = mOpen.back();
        mOpen.pop_back();
        if (!mOpen.empty())
            siftDown(last);
    }

    void extend(std::int32_t u, const OpenSteps& walk, std::int32_t length)
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
        const double cost = walk.cost;
        // Where two different scores give one rounded cost, creation order and score order may
        // disagree: such a taking gets an item per continuation.
        std::int32_t last = 0;
        bool tied = false;
        for (; last < built.size && cost + steps[last].score < infinity; ++last)
            tied = tied || (last > 0 && steps[last - 1].score < steps[last].score &&
                            cost + steps[last - 1].score == cost + steps[last].score);
        if (last == 0)
            return;
        const auto record = static_cast<std::int32_t>(mRecords.size());
        if (record < 0)
            qstd_assert_(884);
        if (length + 1 > mMaxLength)
            qstd_assert_(886);
        mRecords.push_back(WalkRecord{u, walk.parent});
        if (mBounded)
            mLengths.push_back(length);
        for (std::int32_t first = 0; first < last; first = tied ? first + 1 : last)
            push(OpenSteps{cost + steps[first].score, cost, record, static_cast<std::uint32_t>(built.begin) + static_cast<std::uint32_t>(first), tied});
        mOpenWalks += last;
        mCreated += last;
    }

    // The head a scan of all open walks in creation order, keeping only strictly smaller costs,
    // would take first. Costs are never NaN here, so the order is total.
    bool takenBefore(const OpenSteps& a, const OpenSteps& b) const
    {
        if (a.cost < b.cost || b.cost < a.cost)
            return a.cost < b.cost;
        if (a.parent != b.parent)
            return a.parent < b.parent;
        return headOf(a).rank < headOf(b).rank;
    }

    // mOpen is a heap of four children a node (half the levels of a binary one, so fewer cache
    // misses) with the item to take first at the front.
    void push(const OpenSteps& item)
    {
        std::size_t i = mOpen.size();
        mOpen.push_back(item);
        for (; i > 0 && takenBefore(item, mOpen[(i - 1) / 4]); i = (i - 1) / 4)
            mOpen[i] = mOpen[(i - 1) / 4];
        mOpen[i] = item;
    }
    // Puts item at the front and lets it sink to its place.
    void siftDown(const OpenSteps item)
    {
        const std::size_t n = mOpen.size();
        std::size_t i = 0;
        for (std::size_t first = 1; first < n; first = 4 * i + 1) {
            std::size_t best = first;
            for (std::size_t c = first + 1; c < std::min(first + 4, n); ++c)
                if (takenBefore(mOpen[c], mOpen[best]))
                    best = c;
            if (!takenBefore(mOpen[best], item))
                break;
            mOpen[i] = mOpen[best];
            i = best;
        }
        mOpen[i] = item;
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
        std::uint32_t rank = 0;
        qcChainCursor c(mGraph, mGraph.node(u).firstChild());
        for (; c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            if (l.nodeA() != u)
                ++faults.foreign;
            if (l.score() < infinity)
                mStepPool.push_back(Step{l.score(), toIndex(l.nodeB()), rank++, 0});
        }
        // Queue items name steps by 31-bit pool positions. Only chains broken into one another
        // can hold that many steps, as each link stands in one sound chain.
        if (mStepPool.size() > 0x7fffffff)
            throw std::length_error("qcDirectedGraph::shortestPath: too many steps");
        faults.brokeOff = c.brokeOff();
        s.size = static_cast<std::int32_t>(rank);
        std::sort(mStepPool.begin() + static_cast<std::ptrdiff_t>(s.begin), mStepPool.end(),
                  [](const Step& a, const Step& b) { return a.score < b.score || (!(b.score < a.score) && a.rank < b.rank); });
        if (rank > 0)
            mStepPool.back().last = 1;
        if (faults.foreign > 0 || faults.brokeOff) {
            s.faults = static_cast<std::int32_t>(mFaults.size());
            mFaults.push_back(faults);
        }
        return s;
    }

    // The walk ending at u that continues the walk of record `parent`.
    qcDirectedGraphPath makePath(std::int32_t u, std::int32_t parent, std::int32_t length)
    {
        mSequence.assign(1, u);
        if (parent >= static_cast<std::int64_t>(mRecords.size())) {
            qstd_assert_(719);
            return qcDirectedGraphPath();
        }
        // Records are made after the records they continue, so the numbers fall strictly.
        for (std::int32_t r = parent, below = static_cast<std::int32_t>(mRecords.size()); r != -1;) {
            if (r < 0 || r >= below) {
                qstd_assert_(725);
                break;
            }
            mSequence.push_back(mRecords[at(r)].node);
            below = r;
            r = mRecords[at(r)].parent;
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
    const std::int32_t mStart;
    const std::int32_t mEnd;
    const std::int32_t mMaxNumPaths;
    const std::int32_t mMinLength;
    const std::int32_t mMaxLength;
    std::vector<std::int32_t> mSelected;  // takings per node
    std::vector<NodeSteps> mSteps;        // per node
    std::vector<Step> mStepPool;
    std::vector<ChainFaults> mFaults;
    std::deque<WalkRecord> mRecords;  // grows without copying: no peak of twice the need
    const bool mBounded;
    std::deque<std::int32_t> mLengths;  // by record, with length bounds only
    std::vector<OpenSteps> mOpen;
    // Walks that can be taken: created, still open, taken.
    std::int64_t mCreated = 1;
    std::int64_t mOpenWalks = 1;
    std::int64_t mTaken = 0;
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
