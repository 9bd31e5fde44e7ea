#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "search/qcChainRows.h"
#include "search/qcSearchArray.h"
#include "search/qcRadixQueue.h"
#include "search/qcSearchHeap.h"

namespace {

// The distance of a node of which no way is known yet; a way must cost strictly less.
constexpr double unreached = 1.0e12;

enum class NodeState : std::uint8_t { unvisited, queued, settled };

// What the search keeps per node besides its state. The states stay in an array of their own,
// small enough to stay in cache: a settled neighbour is then passed over without touching this.
// The states start zeroed (unvisited); an unvisited node's record is not read, its distance is
// `unreached`, so the records start unset.
struct NodeRecord {
    double distance;
    std::int32_t predecessorNode;
    std::int32_t predecessorLink;
};

// The search is bound by memory latency on large graphs: records it will soon need are fetched
// ahead. A hint only; it never changes a result. The fetches of the next node's chain or row
// alone take the search on the 1000x1000 grid from 103 ms to 92 ms.
inline void prefetch(const void* p)
{
#if defined(__GNUC__)
    __builtin_prefetch(p);
    // GCC holds a function whose only effect is a prefetch to have none, and drops the calls
    // (it did so with the fetches of the next node's chain and row below); a volatile statement
    // keeps them.
    __asm__ __volatile__("");
#else
    (void)p;
#endif
}

// The binary heap in the quick queue's terms: it holds every key and decides every order.
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

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                                   qcIndexArray& links) const
{
    nodes.clear();
    links.clear();
    const long n = numNodes();
    if (start < 0 || start >= n || end < 0 || end >= n)
        return;

    qcSearchArray<NodeRecord> record(at(n), qcArrayStart::unset);
    qcSearchArray<NodeState> state(at(n));

    // Walking a chain follows nextChild across the whole link array. Once the search has
    // settled a good share of the nodes it is likely to go on long, and laying all chains out
    // row by row (two passes over the arrays) pays: the rest of the search reads the rows.
    std::optional<qcChainRows> rows;
    const long rowsAfter = n / 16;

    // The top of the queue is most likely the next node to settle: fetch the head of its chain
    // while the current node's links are walked (its node record was fetched when it was
    // queued). A node's links stored one after another form a chain that runs backwards through
    // the array, so the line before the head is fetched as well.
    const auto prefetchChainOfTop = [this, &state](std::int32_t likelyNext) {
        if (likelyNext < 0 || state[at(likelyNext)] != NodeState::queued)
            return;
        const std::int32_t head = mNodes[at(likelyNext)].mFirstChild;
        if (head < 0 || head >= numLinks())
            return;
        prefetch(&mLinks[at(head)]);
        if (head >= 2)
            prefetch(&mLinks[at(head - 2)]);
    };

    // The rows are read only where they exist; a chain without a row is still walked.
    const auto prefetchRowOfTop = [&state, &rows](std::int32_t likelyNext) {
        if (likelyNext >= 0 && state[at(likelyNext)] == NodeState::queued)
            prefetch(rows->firstRead(likelyNext));
    };

    // One run of the search with the given queue. The abort check is left out for the passes
    // up to `quietUpTo`, which an earlier run has made already. Returns -1 when the run is
    // complete, or the pass at which the queue could not go on.
    const auto run = [&](auto& queue, long quietUpTo) -> long {
        long settledCount = 0;
        long queuedCount = 0;  // nodes ever queued; less the passes made, those queued now
        constexpr long rowsLater = 32;
        constexpr long fewQueued = 4096;
        std::int32_t recentlyQueued[rowsLater];
        std::fill(recentlyQueued, recentlyQueued + rowsLater, -1);
        record[at(start)] = NodeRecord{0.0, -1, -1};
        state[at(start)] = NodeState::queued;
        queue.push(0.0, start);
        const auto queued = [&state](std::int32_t node) { return state[at(node)] == NodeState::queued; };
        for (long pass = 0;; ++pass) {
            if (pass % 64 == 0 && pass > quietUpTo)
                qcAttention::check();

            // Lazy deletion: entries of nodes settled meanwhile are outdated. A node's entries
            // come out smallest key first, so the one taken holds its distance.
            double distance = 0.0;
            const std::int32_t current = queue.takeOut(queued, distance);
            if (current == -1)
                return -1;
            if (current == qcRadixQueue::undecided)
                return pass;

            state[at(current)] = NodeState::settled;
            if (current == end)
                return -1;

            if (!rows && ++settledCount > rowsAfter)
                rows.emplace(*this);

            bool pushed = true;
            const auto relax = [&](std::int32_t neighbour, std::int32_t id, double score) {
                if (state[at(neighbour)] == NodeState::settled)
                    return;
                NodeRecord& next = record[at(neighbour)];
                const bool unvisited = state[at(neighbour)] == NodeState::unvisited;
                const double known = unvisited ? unreached : next.distance;
                const double candidate = distance + score;
                // NaN and anything from 1.0e12 up never pass this test, so never enter the queue.
                if (candidate < known) {
                    next.distance = candidate;
                    state[at(neighbour)] = NodeState::queued;
                    next.predecessorNode = current;
                    next.predecessorLink = id;
                    pushed = queue.push(candidate, neighbour) && pushed;
                    queuedCount += unvisited ? 1 : 0;
                    // Read when it comes to the top; the quick queue cannot say which node
                    // that is, so its row is asked for ahead. Where the row lies is known once
                    // its rowStart entry is in, which takes a while, so the row itself is
                    // fetched `rowsLater` new nodes on. That pays only while few nodes are
                    // queued, so that the rows stay in cache until their nodes come out.
                    if (rows && unvisited) {
                        prefetch(rows->rowStart(neighbour));
                        std::int32_t& earlier = recentlyQueued[queuedCount % rowsLater];
                        if (earlier >= 0 && queuedCount - pass < fewQueued) {
                            prefetch(rows->begin(earlier));
                            prefetch(rows->firstRead(earlier));
                        }
                        earlier = neighbour;
                    } else if (!rows) {
                        prefetch(&mNodes[at(neighbour)]);
                    }
                }
            };
            if (rows && rows->hasRow(current)) {
                prefetchRowOfTop(queue.peek());
                // The neighbours' records lie anywhere in memory: ask for all of them first, so
                // that their fetches overlap instead of following one another.
                const qcChainStep* const rowBegin = rows->begin(current);
                const qcChainStep* const rowEnd = rows->end(current);
                for (const qcChainStep* step = rowBegin; step != rowEnd; ++step)
                    if (step->neighbour >= 0)
                        prefetch(&record[at(step->neighbour)]);
                for (const qcChainStep* step = rowEnd; step != rowBegin;) {
                    --step;  // newest link first, as the chain runs
                    if (step->neighbour >= 0)
                        relax(step->neighbour, step->id, step->score);
                }
            } else {
                prefetchChainOfTop(queue.peek());
                for (qcChainCursor c(*this, mNodes[at(current)].mFirstChild); c.valid(); c.next()) {
                    const qcDirectedGraphLink& l = c.link();
                    if (l.flags & 1u)
                        continue;
                    const std::int32_t neighbour = l.mNodeA == current ? l.mNodeB : l.mNodeA;
                    // Only a default slot reached through a broken chain has an end outside the graph.
                    if (neighbour >= 0 && neighbour < n)
                        relax(neighbour, l.mId, l.mScore);
                }
            }
            if (!pushed)
                return pass;
        }
    };

    // The quick queue serves until it meets two equal least keys or a falling key; the binary
    // heap then takes the whole search over from the start, which ends the same way it would
    // have from the beginning.
    const long stoppedAt = [&run] {
        qcRadixQueue quick;
        return run(quick, -1);
    }();
    if (stoppedAt != -1) {
        state.fill(NodeState::unvisited);
        ExactQueue exact;
        run(exact, stoppedAt);
    }

    if (state[at(end)] != NodeState::settled)
        return;
    std::int32_t k = end;
    nodes.push_back(k);
    while (k != start && record[at(k)].predecessorNode != -1) {
        links.push_back(record[at(k)].predecessorLink);
        k = record[at(k)].predecessorNode;
        nodes.push_back(k);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(links.begin(), links.end());
}

void qcDirectedGraph::shortestPath(std::int32_t link, qcIndexArray& nodes, qcIndexArray& links) const
{
    if (link < 0 || link >= numLinks()) {
        nodes.clear();
        links.clear();
        return;
    }
    const qcDirectedGraphLink& l = mLinks[at(link)];
    shortestPath(l.mNodeA, l.mNodeB, nodes, links);
}
