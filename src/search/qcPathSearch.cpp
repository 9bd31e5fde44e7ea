#include "search/qcPathSearch.h"

#include <algorithm>

#include "graph/qcChainCursor.h"
#include "qcAttention.h"
#include "search/qcRadixQueue.h"
#include "search/qcSearchHeap.h"

namespace {

// The distance of a node of which no way is known yet; a way must cost strictly less.
constexpr double unreached = 1.0e12;

// The search is bound by memory latency on large graphs: records it will soon need are fetched
// ahead. A hint only; it never changes a result. The fetches of the next node's chain or row
// alone take the search on the 1000x1000 grid from 103 ms to 92 ms.
inline void prefetch(const void* p)
{
#if defined(__GNUC__)
    __builtin_prefetch(p);
    // GCC holds a function whose only effect is a prefetch to have none, and drops the calls
    // (it did so with the fetches of the next node's chain and row); a volatile statement
    // keeps them.
    __asm__ __volatile__("");
#else
    (void)p;
#endif
}

// The binary heap in the radix queue's terms: it holds every key and decides every order.
class ExactQueue {
public:
    bool push(double key, std::int32_t node)
    {
        mHeap.push(key, node);
        return true;
    }
    template <class Wanted>
    std::int32_t takeOut(Wanted wanted, double& key)
    {
        std::int32_t node = -1;
        do {
            key = mHeap.empty() ? 0.0 : mHeap.topKey();
            node = mHeap.takeOut();
        } while (node != -1 && !wanted(node));
        return node;
    }
    std::int32_t peek() const { return mHeap.peek(); }

private:
    qcSearchHeap mHeap;
};

}  // namespace

qcPathSearch::qcPathSearch(const qcDirectedGraph& graph, std::int32_t start, qcSearchRows* shared)
    : mGraph(graph), mStart(start), mNodes(graph.numNodes()), mRecord(at(mNodes), qcArrayStart::unset),
      mState(at(mNodes)), mShared(shared)
{
    if (mShared) {
        mSharedRows = mShared->keptRowsOf(graph);
        mRows = mSharedRows.get();
    }
}

void qcPathSearch::layRows()
{
    if (mShared) {
        mSharedRows = mShared->rowsOf(mGraph);
        mRows = mSharedRows.get();
    } else {
        mRows = &mOwnRows.emplace(mGraph);
    }
}

void qcPathSearch::run(std::int32_t end)
{
    mEnd = end;
    const long stoppedAt = [this] {
        qcRadixQueue quick;
        return runWith(quick, -1);
    }();
    if (stoppedAt != -1) {
        // From the start again: the heap's run ends as it would have from the beginning.
        mState.fill(NodeState::unvisited);
        ExactQueue exact;
        runWith(exact, stoppedAt);
    }
}

template <class Queue>
long qcPathSearch::runWith(Queue& queue, long quietUpTo)
{
    mSettledCount = 0;
    mQueuedCount = 0;
    std::fill(mRecentlyQueued, mRecentlyQueued + rowsLater, -1);
    // Walking a chain follows nextChild across the whole link array. Once the search has
    // settled a good share of the nodes it is likely to go on long, and laying all chains out
    // row by row (two passes over the arrays) pays: the rest of the search reads the rows.
    const long rowsAfter = mNodes / 16;
    mRecord[at(mStart)] = NodeRecord{0.0, -1, -1};
    mState[at(mStart)] = NodeState::queued;
    queue.push(0.0, mStart);
    const auto queued = [this](std::int32_t node) { return mState[at(node)] == NodeState::queued; };
    for (long pass = 0;; ++pass) {
        mPass = pass;
        if (pass % 64 == 0 && pass > quietUpTo)
            qcAttention::check();

        // Lazy deletion: entries of nodes settled meanwhile are outdated. A node's entries come
        // out smallest key first, so the one taken holds its distance.
        double distance = 0.0;
        const std::int32_t current = queue.takeOut(queued, distance);
        if (current == -1)
            return -1;
        if (current == qcRadixQueue::undecided)
            return pass;

        mState[at(current)] = NodeState::settled;
        if (current == mEnd)
            return -1;
        if (!mRows && ++mSettledCount > rowsAfter)
            layRows();

        const bool pushed = mRows && mRows->hasRow(current) ? relaxRow(queue, current, distance)
                                                            : relaxChain(queue, current, distance);
        if (!pushed)
            return pass;
    }
}

template <class Queue>
bool qcPathSearch::relaxRow(Queue& queue, std::int32_t current, double distance)
{
    fetchRowOf(queue.peek());
    // The neighbours' records lie anywhere in memory: ask for all of them first, so that their
    // fetches overlap instead of following one another.
    const qcChainStep* const rowBegin = mRows->begin(current);
    const qcChainStep* const rowEnd = mRows->end(current);
    for (const qcChainStep* step = rowBegin; step != rowEnd; ++step)
        if (step->neighbour >= 0)
            prefetch(&mRecord[at(step->neighbour)]);
    bool pushed = true;
    for (const qcChainStep* step = rowEnd; step != rowBegin;) {
        --step;  // newest link first, as the chain runs
        if (step->neighbour >= 0)
            pushed = relax(queue, current, step->neighbour, step->id, distance + step->score) && pushed;
    }
    return pushed;
}

template <class Queue>
bool qcPathSearch::relaxChain(Queue& queue, std::int32_t current, double distance)
{
    fetchChainOf(queue.peek());
    bool pushed = true;
    for (qcChainCursor c(mGraph, mGraph.mNodes[at(current)].firstChild()); c.valid(); c.next()) {
        const qcDirectedGraphLink& l = c.link();
        if (l.flags & 1u)
            continue;
        const long neighbour = l.nodeA() == current ? l.nodeB() : l.nodeA();
        // Only a default slot reached through a broken chain has an end outside the graph.
        if (neighbour >= 0 && neighbour < mNodes)
            pushed = relax(queue, current, static_cast<std::int32_t>(neighbour), toIndex(l.id()), distance + l.score()) && pushed;
    }
    return pushed;
}

template <class Queue>
bool qcPathSearch::relax(Queue& queue, std::int32_t current, std::int32_t neighbour, std::int32_t id,
                         double candidate)
{
    NodeState& state = mState[at(neighbour)];
    if (state == NodeState::settled)
        return true;
    NodeRecord& next = mRecord[at(neighbour)];
    const bool unvisited = state == NodeState::unvisited;
    // NaN and anything from 1.0e12 up never pass this test, so never enter the queue; an equal
    // candidate keeps the predecessor that first gave the distance.
    if (!(candidate < (unvisited ? unreached : next.distance)))
        return true;
    next = NodeRecord{candidate, current, id};
    state = NodeState::queued;
    const bool pushed = queue.push(candidate, neighbour);
    mQueuedCount += unvisited ? 1 : 0;
    fetchForImproved(neighbour, unvisited);
    return pushed;
}

void qcPathSearch::fetchChainOf(std::int32_t likelyNext) const
{
    // The top of the queue is most likely the next node to settle: the head of its chain is
    // fetched while the current node's links are walked (its node record was fetched when it
    // was queued). A node's links stored one after another form a chain that runs backwards
    // through the array, so the line before the head is fetched as well.
    if (likelyNext < 0 || mState[at(likelyNext)] != NodeState::queued)
        return;
    const long head = mGraph.mNodes[at(likelyNext)].firstChild();
    if (head < 0 || head >= mGraph.numLinks())
        return;
    prefetch(&mGraph.mLinks[at(head)]);
    if (head >= 2)
        prefetch(&mGraph.mLinks[at(head - 2)]);
}

void qcPathSearch::fetchRowOf(std::int32_t likelyNext) const
{
    if (likelyNext >= 0 && mState[at(likelyNext)] == NodeState::queued)
        prefetch(mRows->firstRead(likelyNext));
}

void qcPathSearch::fetchForImproved(std::int32_t node, bool newlyQueued)
{
    if (!mRows) {
        prefetch(&mGraph.mNodes[at(node)]);
        return;
    }
    if (!newlyQueued)
        return;
    // Read when it comes to the top; the radix queue cannot say which node that is, so its row
    // is asked for ahead. Where the row lies is known once its rowStart entry is in, which takes
    // a while, so the row itself is fetched `rowsLater` new nodes on. That pays only while few
    // nodes are queued, so that the rows stay in cache until their nodes come out.
    constexpr long fewQueued = 4096;
    prefetch(mRows->rowStart(node));
    std::int32_t& earlier = mRecentlyQueued[mQueuedCount % rowsLater];
    if (earlier >= 0 && mQueuedCount - mPass < fewQueued) {
        prefetch(mRows->begin(earlier));
        prefetch(mRows->firstRead(earlier));
    }
    earlier = node;
}
