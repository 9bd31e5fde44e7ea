#include "qfAdjacencyLists.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <limits>

#include "qstdAssert.h"

namespace {

using Index = std::int32_t;
constexpr Index noCost = std::numeric_limits<Index>::max();

// Node indices are 32-bit, so more lists than that cannot be named.
void requireNameableNodes(const qcAdjacencyLists& lists)
{
    if (lists.size() > static_cast<std::size_t>(std::numeric_limits<Index>::max()))
        throw qcInvariantFailure();
}

// ---- Cliques -------------------------------------------------------------------------------

// For every node x, the nodes i that name x, in increasing i and once per entry. With the lists
// themselves this gives each node's neighbours in both directions without building a second,
// symmetric copy: incoming from below, own entries, incoming from above.
struct IncomingLists {
    // Entries of x: sources[begin(x) .. end[x]).
    std::vector<std::size_t> end;
    std::vector<Index> sources;

    std::size_t begin(std::size_t x) const { return x == 0 ? 0 : end[x - 1]; }
};

// Validates every id (0..n-1) while counting, so nothing is built for bad input.
IncomingLists buildIncoming(const qcAdjacencyLists& lists)
{
    const std::size_t n = lists.size();
    IncomingLists in;
    in.end.assign(n + 1, 0);
    for (const auto& list : lists)
        for (const Index k : list) {
            if (k < 0 || static_cast<std::size_t>(k) >= n)
                throw qcInvariantFailure();
            ++in.end[static_cast<std::size_t>(k) + 1];
        }
    for (std::size_t x = 1; x <= n; ++x)
        in.end[x] += in.end[x - 1];
    in.sources.resize(in.end[n]);
    // end[x] starts as begin(x) and is advanced past each source placed; afterwards it is x's end.
    for (std::size_t i = 0; i < n; ++i)
        for (const Index k : lists[i])
            in.sources[in.end[static_cast<std::size_t>(k)]++] = static_cast<Index>(i);
    return in;
}

}  // namespace

void qfComputeCliques(const qcAdjacencyLists& lists, qcCliques& result)
{
    requireNameableNodes(lists);
    const IncomingLists in = buildIncoming(lists);
    result.clear();

    const std::size_t n = lists.size();
    // All cliques back to back in reach order; the reach queue of the clique being grown is its
    // own tail, so no recursion and no second copy.
    std::vector<Index> order(n);
    std::vector<std::size_t> cliqueEnds;
    std::vector<unsigned char> held(n, 0);
    std::size_t placed = 0;
    auto reach = [&](Index y) {
        if (!held[static_cast<std::size_t>(y)]) {
            held[static_cast<std::size_t>(y)] = 1;
            order[placed++] = y;
        }
    };

    // Nodes below the seed cursor are all held, so it only moves forward.
    std::size_t seed = 0;
    while (placed < n) {
        while (seed < n && held[seed])
            ++seed;
        if (seed == n) {
            qstd_assert_(29);
            break;
        }
        reach(static_cast<Index>(seed));
        for (std::size_t cursor = placed - 1; cursor < placed; ++cursor) {
            const Index x = order[cursor];
            const std::size_t ux = static_cast<std::size_t>(x);
            std::size_t s = in.begin(ux);
            const std::size_t e = in.end[ux];
            for (; s < e && in.sources[s] < x; ++s)
                reach(in.sources[s]);
            for (const Index k : lists[ux])
                reach(k);
            for (; s < e; ++s)
                reach(in.sources[s]);
        }
        cliqueEnds.push_back(placed);
    }

    result.reserve(cliqueEnds.size());
    std::size_t first = 0;
    for (const std::size_t last : cliqueEnds) {
        result.emplace_back(order.begin() + static_cast<std::ptrdiff_t>(first),
                            order.begin() + static_cast<std::ptrdiff_t>(last));
        first = last;
    }
}

// ---- Connection path -----------------------------------------------------------------------

namespace {

// The lists flattened, with ids renumbered densely (the order of ids never matters, only their
// identity), and for every id the nodes that name it, each node once.
struct IdIndex {
    std::vector<std::size_t> listStart;  // list i: ids[listStart[i] .. listStart[i + 1])
    std::vector<Index> ids;
    std::vector<std::size_t> holderStart;  // id e: holders[holderStart[e] .. holderStart[e + 1])
    std::vector<Index> holders;

    std::size_t numIds() const { return holderStart.size() - 1; }
};

// Validates every entry (>= 0) before anything is built.
IdIndex buildIdIndex(const qcAdjacencyLists& lists)
{
    const std::size_t n = lists.size();
    IdIndex x;
    x.listStart.assign(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        for (const Index k : lists[i])
            if (k < 0)
                throw qcInvariantFailure();
        x.listStart[i + 1] = x.listStart[i] + lists[i].size();
    }

    std::vector<Index> distinct;
    distinct.reserve(x.listStart[n]);
    for (const auto& list : lists)
        distinct.insert(distinct.end(), list.begin(), list.end());
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());

    x.ids.reserve(x.listStart[n]);
    x.holderStart.assign(distinct.size() + 1, 0);
    std::vector<Index> lastHolder(distinct.size(), -1);
    for (std::size_t i = 0; i < n; ++i)
        for (const Index k : lists[i]) {
            const auto e = static_cast<std::size_t>(
                std::lower_bound(distinct.begin(), distinct.end(), k) - distinct.begin());
            x.ids.push_back(static_cast<Index>(e));
            if (lastHolder[e] != static_cast<Index>(i)) {
                lastHolder[e] = static_cast<Index>(i);
                ++x.holderStart[e + 1];
            }
        }
    for (std::size_t e = 1; e < x.holderStart.size(); ++e)
        x.holderStart[e] += x.holderStart[e - 1];
    x.holders.resize(x.holderStart.back());
    std::vector<std::size_t> fill(x.holderStart.begin(), x.holderStart.end() - 1);
    std::fill(lastHolder.begin(), lastHolder.end(), -1);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t p = x.listStart[i]; p < x.listStart[i + 1]; ++p) {
            const auto e = static_cast<std::size_t>(x.ids[p]);
            if (lastHolder[e] != static_cast<Index>(i)) {
                lastHolder[e] = static_cast<Index>(i);
                x.holders[fill[e]++] = static_cast<Index>(i);
            }
        }
    return x;
}

// Working tables of one root's evaluation, kept across roots; an evaluation resets only the
// slots it touched.
class ConnectionWorkspace {
public:
    explicit ConnectionWorkspace(const IdIndex& index)
        : mIndex(index), mState(index.listStart.size() - 1, unseen), mOwner(index.numIds(), -1)
    {
    }

    // The cost of root, or noCost when it reaches bound (the root can no longer win: costs only
    // grow) or the root's list is empty.
    Index computeConnectionPathFrom(Index root, Index bound);

private:
    // mState of a node: its depth (>= 0), or one of these.
    static constexpr Index unseen = -1;  // no owned id in its list yet
    static constexpr Index queued = -2;  // waits for its visit in this pass or the next

    void queueHoldersOf(std::size_t id, Index claimer);
    Index leastOwnerDepth(Index node) const;
    void reset();

    const IdIndex& mIndex;
    std::vector<Index> mState;
    std::vector<Index> mOwner;
    std::vector<Index> mTouchedNodes;
    std::vector<Index> mTouchedIds;
    std::vector<Index> mPass;  // min-heap of the nodes still to visit in this pass
    std::vector<Index> mNextPass;
};

// A pass visits nodes in increasing index, so a node above the claimer still sees the claim in
// this pass, one below it only in the next.
void ConnectionWorkspace::queueHoldersOf(std::size_t id, Index claimer)
{
    for (std::size_t h = mIndex.holderStart[id]; h < mIndex.holderStart[id + 1]; ++h) {
        const Index j = mIndex.holders[h];
        Index& state = mState[static_cast<std::size_t>(j)];
        if (state != unseen)
            continue;
        state = queued;
        mTouchedNodes.push_back(j);
        if (j > claimer) {
            mPass.push_back(j);
            std::push_heap(mPass.begin(), mPass.end(), std::greater<Index>());
        } else {
            mNextPass.push_back(j);
        }
    }
}

Index ConnectionWorkspace::leastOwnerDepth(Index node) const
{
    const auto i = static_cast<std::size_t>(node);
    Index least = noCost;
    for (std::size_t p = mIndex.listStart[i]; p < mIndex.listStart[i + 1]; ++p) {
        const Index owner = mOwner[static_cast<std::size_t>(mIndex.ids[p])];
        if (owner >= 0)
            least = std::min(least, mState[static_cast<std::size_t>(owner)]);
    }
    return least;
}

Index ConnectionWorkspace::computeConnectionPathFrom(Index root, Index bound)
{
    const std::size_t n = mState.size();
    if (root < 0 || static_cast<std::size_t>(root) >= n) {
        qstd_assert_(33);
        return noCost;
    }
    const auto r = static_cast<std::size_t>(root);
    if (mIndex.listStart[r] == mIndex.listStart[r + 1] || bound <= 0)
        return noCost;

    mState[r] = 0;
    mTouchedNodes.push_back(root);
    for (std::size_t p = mIndex.listStart[r]; p < mIndex.listStart[r + 1]; ++p) {
        const auto id = static_cast<std::size_t>(mIndex.ids[p]);
        if (mOwner[id] < 0) {
            mOwner[id] = root;
            mTouchedIds.push_back(static_cast<Index>(id));
            // Every node naming a root id is due in the first pass, whatever its index.
            queueHoldersOf(id, std::numeric_limits<Index>::min());
        }
    }

    // cost < bound <= noCost throughout, so it never overflows.
    Index cost = 0;
    while (!mPass.empty()) {
        while (!mPass.empty()) {
            std::pop_heap(mPass.begin(), mPass.end(), std::greater<Index>());
            const Index node = mPass.back();
            mPass.pop_back();
            const auto i = static_cast<std::size_t>(node);
            const Index depth = leastOwnerDepth(node) + 1;
            mState[i] = depth;
            for (std::size_t p = mIndex.listStart[i]; p < mIndex.listStart[i + 1]; ++p) {
                const auto id = static_cast<std::size_t>(mIndex.ids[p]);
                if (mOwner[id] >= 0)
                    continue;
                mOwner[id] = node;
                mTouchedIds.push_back(static_cast<Index>(id));
                if (depth >= bound - cost) {
                    reset();
                    return noCost;
                }
                cost += depth;
                queueHoldersOf(id, node);
            }
        }
        mPass.swap(mNextPass);
        std::make_heap(mPass.begin(), mPass.end(), std::greater<Index>());
    }
    reset();
    return cost;
}

void ConnectionWorkspace::reset()
{
    for (const Index j : mTouchedNodes)
        mState[static_cast<std::size_t>(j)] = unseen;
    for (const Index e : mTouchedIds)
        mOwner[static_cast<std::size_t>(e)] = -1;
    mTouchedNodes.clear();
    mTouchedIds.clear();
    mPass.clear();
    mNextPass.clear();
}

}  // namespace

void qfComputeConnectionPath(const qcAdjacencyLists& lists, std::vector<qcConnectionRecord>& records)
{
    requireNameableNodes(lists);
    const IdIndex index = buildIdIndex(lists);
    ConnectionWorkspace workspace(index);

    const auto n = static_cast<Index>(lists.size());
    Index leastCost = noCost;
    Index winner = -1;
    for (Index root = 0; root < n; ++root) {
        const Index cost = workspace.computeConnectionPathFrom(root, leastCost);
        // Strictly less: the lowest index wins among roots of equal cost.
        if (cost < leastCost) {
            leastCost = cost;
            winner = root;
        }
    }

    std::vector<qcConnectionRecord> best;
    if (winner >= 0) {
        const auto& list = lists[static_cast<std::size_t>(winner)];
        best.reserve(list.size() - 1);
        for (std::size_t k = 1; k < list.size(); ++k)
            best.push_back({winner, qcPair<long>(list.front(), list[k])});
    }
    records = std::move(best);
}
