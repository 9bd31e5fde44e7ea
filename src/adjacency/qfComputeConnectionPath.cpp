#include "qfAdjacencyLists.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

#include "adjacency/NodeIndex.h"
#include "adjacency/PassQueue.h"
#include "qstdAssert.h"

namespace {

constexpr Index noCost = std::numeric_limits<Index>::max();

// The lists flattened, with ids renumbered densely (the order of ids never matters, only their
// identity), for every id the nodes that name it, each node once, and for every node the number
// of distinct ids in its group (nodes joined through shared ids).
struct IdIndex {
    std::vector<std::size_t> listStart;  // list i: ids[listStart[i] .. listStart[i + 1])
    std::vector<Index> ids;
    std::vector<std::size_t> holderStart;  // id e: holders[holderStart[e] .. holderStart[e + 1])
    std::vector<Index> holders;
    std::vector<Index> groupIds;

    std::size_t numNodes() const { return listStart.size() - 1; }
    std::size_t numIds() const { return holderStart.size() - 1; }
};

// Representative of node's group, halving the path on the way.
Index groupOf(std::vector<Index>& parent, Index node)
{
    while (parent[at(node)] != node) {
        Index& up = parent[at(node)];
        up = parent[at(up)];
        node = up;
    }
    return node;
}

void countGroupIds(IdIndex& x)
{
    const std::size_t n = x.numNodes();
    std::vector<Index> parent(n);
    for (std::size_t i = 0; i < n; ++i)
        parent[i] = static_cast<Index>(i);
    for (std::size_t e = 0; e < x.numIds(); ++e) {
        const Index first = groupOf(parent, x.holders[x.holderStart[e]]);
        for (std::size_t h = x.holderStart[e] + 1; h < x.holderStart[e + 1]; ++h)
            parent[at(groupOf(parent, x.holders[h]))] = first;
    }
    std::vector<Index> count(n, 0);
    for (std::size_t e = 0; e < x.numIds(); ++e)
        ++count[at(groupOf(parent, x.holders[x.holderStart[e]]))];
    x.groupIds.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        x.groupIds[i] = count[at(groupOf(parent, static_cast<Index>(i)))];
}

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
            const auto e =
                at(std::lower_bound(distinct.begin(), distinct.end(), k) - distinct.begin());
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
            const auto e = at(x.ids[p]);
            if (lastHolder[e] != static_cast<Index>(i)) {
                lastHolder[e] = static_cast<Index>(i);
                x.holders[fill[e]++] = static_cast<Index>(i);
            }
        }
    countGroupIds(x);
    return x;
}

// Working tables of one root's evaluation, kept across roots; an evaluation resets only the
// slots it touched.
class ConnectionWorkspace {
public:
    explicit ConnectionWorkspace(const IdIndex& index)
        : mIndex(index),
          mDepth(index.numNodes(), unseen),
          mOwnerDepth(index.numNodes(), unseen),
          mOwner(index.numIds(), -1),
          mPass(index.numNodes())
    {
    }

    // The cost of root, or noCost when it reaches bound (the root can no longer win) or the
    // root's list is empty.
    Index computeConnectionPathFrom(Index root, Index bound);

private:
    // A node's depth is unseen until its visit. Its owner depth is unseen while no id of its
    // list is owned, then the least depth among its owners so far: its depth less one when its
    // visit comes. (One packed array for both measured no faster.)
    static constexpr Index unseen = -1;

    void claim(std::size_t id, Index claimer, Index passFrom);
    Index finish(Index cost);

    const IdIndex& mIndex;
    std::vector<Index> mDepth;
    std::vector<Index> mOwnerDepth;
    std::vector<Index> mOwner;
    std::vector<Index> mTouchedNodes;
    std::vector<Index> mTouchedIds;
    PassQueue mPass;
    std::vector<Index> mNextPass;
};

// A pass visits nodes in increasing index, so a holder above the claimer still sees the claim
// in this pass, one below it only in the next; the root claims before the first pass, so every
// holder of its ids is due in the first (passFrom -1).
void ConnectionWorkspace::claim(std::size_t id, Index claimer, Index passFrom)
{
    mOwner[id] = claimer;
    mTouchedIds.push_back(static_cast<Index>(id));
    const Index claimerDepth = mDepth[at(claimer)];
    for (std::size_t h = mIndex.holderStart[id]; h < mIndex.holderStart[id + 1]; ++h) {
        const Index j = mIndex.holders[h];
        if (mDepth[at(j)] != unseen)
            continue;
        Index& ownerDepth = mOwnerDepth[at(j)];
        if (ownerDepth != unseen) {
            ownerDepth = std::min(ownerDepth, claimerDepth);
            continue;
        }
        ownerDepth = claimerDepth;
        mTouchedNodes.push_back(j);
        if (j > passFrom)
            mPass.insert(j);
        else
            mNextPass.push_back(j);
    }
}

Index ConnectionWorkspace::computeConnectionPathFrom(Index root, Index bound)
{
    if (root < 0 || at(root) >= mIndex.numNodes()) {
        qstd_assert_(33);
        return noCost;
    }
    const auto r = at(root);
    if (mIndex.listStart[r] == mIndex.listStart[r + 1])
        return noCost;

    mDepth[r] = 0;
    mTouchedNodes.push_back(root);
    // Every id of the root's group gets claimed in the end, each adding at least 1, so
    // floor = cost + unclaimed ids bounds the final cost from below and equals it at the end.
    std::int64_t unclaimed = mIndex.groupIds[r];
    for (std::size_t p = mIndex.listStart[r]; p < mIndex.listStart[r + 1]; ++p) {
        const auto id = at(mIndex.ids[p]);
        if (mOwner[id] < 0) {
            claim(id, root, -1);
            --unclaimed;
        }
    }
    std::int64_t floor = unclaimed;
    while (unclaimed > 0 && floor < bound) {
        if (mPass.empty()) {
            mPass.restart();
            for (const Index j : mNextPass)
                mPass.insert(j);
            mNextPass.clear();
            if (mPass.empty())
                break;  // cannot happen while ids of the group are unclaimed; never read past it
        }
        const Index node = mPass.takeSmallest();
        const auto i = at(node);
        const Index depth = mOwnerDepth[i] + 1;
        mDepth[i] = depth;
        for (std::size_t p = mIndex.listStart[i]; p < mIndex.listStart[i + 1]; ++p) {
            const auto id = at(mIndex.ids[p]);
            if (mOwner[id] < 0) {
                claim(id, node, node);
                --unclaimed;
                floor += depth - 1;
            }
        }
    }
    return finish(floor < bound ? static_cast<Index>(floor) : noCost);
}

Index ConnectionWorkspace::finish(Index cost)
{
    for (const Index j : mTouchedNodes) {
        mDepth[at(j)] = unseen;
        mOwnerDepth[at(j)] = unseen;
    }
    for (const Index e : mTouchedIds)
        mOwner[at(e)] = -1;
    mPass.clear(mTouchedNodes);
    mTouchedNodes.clear();
    mTouchedIds.clear();
    mNextPass.clear();
    return cost;
}

}  // namespace

void qfComputeConnectionPath(const qcAdjacencyLists& lists,
                             std::vector<qcConnectionRecord>& records)
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
        const auto& list = lists[at(winner)];
        best.reserve(list.size() - 1);
        for (std::size_t k = 1; k < list.size(); ++k)
            best.push_back({winner, qcPair<long>(list.front(), list[k])});
    }
    records = std::move(best);
}
