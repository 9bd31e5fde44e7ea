#include "index/qcContraction.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <limits>
#include <memory>
#include <queue>
#include <stdexcept>
#include <utility>

#include "graph/qcIndex.h"
#include "index/qcInTwo.h"
#include "qcAttention.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// An arc of the graph being contracted, as seen from one of its ends.
struct Edge {
    std::int32_t node;  // the other end
    std::int32_t arc;
    double weight;
};

// A search from one node over the nodes not contracted yet, avoiding one, that stops once every
// target is settled or after a number of settled nodes; nodes past a bound are never queued.
class WitnessSearch {
public:
    explicit WitnessSearch(std::size_t n) : mState(n) {}

    void markTarget(std::int32_t node)
    {
        if (mState[at(node)].target != mNow + 1) {
            mState[at(node)].target = mNow + 1;
            ++mTargetsLeft;
        }
    }
    // After the targets are marked.
    void run(const std::vector<std::vector<Edge>>& out, std::int32_t source, std::int32_t avoid, double bound,
             std::size_t settleLimit)
    {
        if (mNow > std::numeric_limits<std::uint32_t>::max() - 4) {  // the stamps would wrap round
            std::fill(mState.begin(), mState.end(), State{});
            mNow = 1;
        }
        ++mNow;
        mHeap.clear();
        reach(source, 0.0);
        std::size_t settled = 0;
        while (!mHeap.empty() && mTargetsLeft > 0 && settled < settleLimit) {
            const auto [d, u] = takeOut();
            State& su = mState[at(u)];
            if (d > su.distance)
                continue;  // outdated
            ++settled;
            if (su.target == mNow) {
                su.target = 0;
                --mTargetsLeft;
            }
            // The next node's arcs are on their way while this one's are gone over.
            if (!mHeap.empty())
                prefetch(out[at(mHeap.front().second)].data());
            for (const Edge& e : out[at(u)]) {
                const double via = d + e.weight;
                // A node further than the bound can tell no target anything.
                if (e.node == avoid || via > bound)
                    continue;
                State& s = mState[at(e.node)];
                if (s.stamp != mNow || via < s.distance)
                    reach(e.node, via);
            }
        }
        mTargetsLeft = 0;
        ++mNow;  // every mark of this run is now stale
    }
    // The distance found by the last run, or infinity. Valid until the next markTarget().
    double distance(std::int32_t node) const
    {
        const State& s = mState[at(node)];
        return s.stamp == mNow - 1 ? s.distance : infinity;
    }

private:
    struct State {
        double distance = 0.0;
        std::uint32_t stamp = 0;
        std::uint32_t target = 0;  // mNow + 1 while a target of the coming run
    };
    static void prefetch(const void* p) { __builtin_prefetch(p); }
    void reach(std::int32_t node, double d)
    {
        mState[at(node)].stamp = mNow;
        mState[at(node)].distance = d;
        push(Entry{d, node});
    }

    // The queue is a 4-ary min-heap of (distance, node): half as deep as a binary one, so a
    // take-out, which most runs do a few hundred times over thousands of entries, waits for
    // fewer lines. Any min-heap takes the entries out in the same order.
    using Entry = std::pair<double, std::int32_t>;
    void push(Entry e)
    {
        std::size_t i = mHeap.size();
        mHeap.push_back(e);
        while (i > 0 && e < mHeap[(i - 1) / 4]) {
            mHeap[i] = mHeap[(i - 1) / 4];
            i = (i - 1) / 4;
        }
        mHeap[i] = e;
    }
    Entry takeOut()
    {
        const Entry top = mHeap.front(), last = mHeap.back();
        mHeap.pop_back();
        const std::size_t n = mHeap.size();
        if (n == 0)
            return top;
        std::size_t i = 0;
        for (std::size_t child = 1; child < n; child = 4 * i + 1) {
            std::size_t least = child;
            for (std::size_t k = child + 1; k < std::min(child + 4, n); ++k)
                if (mHeap[k] < mHeap[least])
                    least = k;
            if (!(mHeap[least] < last))
                break;
            mHeap[i] = mHeap[least];
            i = least;
        }
        mHeap[i] = last;
        return top;
    }

    std::vector<State> mState;
    std::uint32_t mNow = 1;
    std::size_t mTargetsLeft = 0;
    std::vector<Entry> mHeap;
};

class Contraction {
public:
    Contraction(std::size_t n, const std::vector<qcGraphArc>& arcs, const qcContractionLimits& limits)
        : mOut(n), mIn(n), mWitness(n), mLimits(limits), mLevel(n, 0.0), mUp(n), mDown(n)
    {
        mArcs.reserve(arcs.size());
        for (const qcGraphArc& a : arcs) {
            const auto index = static_cast<std::int32_t>(mArcs.size());
            mArcs.push_back(qcArcRecord{a.from, a.to, a.link, -1, a.weight});
            mLinksOf.push_back(1.0);
            mOut[at(a.from)].push_back(Edge{a.to, index, a.weight});
            mIn[at(a.to)].push_back(Edge{a.from, index, a.weight});
        }
    }

    // The shortcuts that contracting v would make, in the order of its arcs in and then out.
    const std::vector<qcArcRecord>& shortcutsOf(std::int32_t v, std::size_t settleLimit)
    {
        mShortcuts.clear();
        const std::size_t ins = mIn[at(v)].size();
        // When the searches take long, a second thread does those from the second half of the
        // arcs in, whose shortcuts then follow the first half's.
        if (ins < 2 || ins * mOut[at(v)].size() * settleLimit < mLimits.twoThreads) {
            shortcutsFrom(v, 0, ins, settleLimit, mWitness, mShortcuts);
            return mShortcuts;
        }
        if (!mSecondWitness)
            mSecondWitness = std::make_unique<WitnessSearch>(mOut.size());
        mSecondShortcuts.clear();
        qfInTwo([&](int part) {
            if (part == 0)
                shortcutsFrom(v, 0, ins / 2, settleLimit, mWitness, mShortcuts);
            else
                shortcutsFrom(v, ins / 2, ins, settleLimit, *mSecondWitness, mSecondShortcuts);
        });
        mShortcuts.insert(mShortcuts.end(), mSecondShortcuts.begin(), mSecondShortcuts.end());
        return mShortcuts;
    }

    double priorityOf(std::int32_t v, std::size_t settleLimit) { return priorityWith(v, shortcutsOf(v, settleLimit)); }

    // The priorities of all nodes, before any is contracted, on two threads, each node's
    // searches on one; calls qcAttention::check() every 64 nodes.
    std::vector<double> firstPriorities(std::size_t settleLimit)
    {
        const std::size_t n = mOut.size(), half = n / 2;
        std::vector<double> priority(n);
        if (!mSecondWitness)
            mSecondWitness = std::make_unique<WitnessSearch>(n);
        std::atomic<bool> stop{false};  // once the first thread's check threw
        qfInTwo([&](int part) {
            WitnessSearch& witness = part == 0 ? mWitness : *mSecondWitness;
            std::vector<qcArcRecord>& shortcuts = part == 0 ? mShortcuts : mSecondShortcuts;
            for (std::size_t v = part == 0 ? 0 : half; v < (part == 0 ? half : n); ++v) {
                if (v % 64 == 0 && part == 1 && stop)
                    return;
                if (v % 64 == 0 && part == 0) {
                    try {
                        qcAttention::check();
                    } catch (...) {
                        stop = true;
                        throw;
                    }
                }
                const auto node = static_cast<std::int32_t>(v);
                shortcuts.clear();
                shortcutsFrom(node, 0, mIn[v].size(), settleLimit, witness, shortcuts);
                priority[v] = priorityWith(node, shortcuts);
            }
        });
        return priority;
    }

    // Contracts v with the shortcuts just computed for it.
    void contract(std::int32_t v)
    {
        for (const qcArcRecord& s : mShortcuts)
            addShortcut(s);
        for (const Edge& in : mIn[at(v)])
            dropEdge(mOut[at(in.node)], v);
        for (const Edge& out : mOut[at(v)])
            dropEdge(mIn[at(out.node)], v);
        mUp[at(v)].swap(mOut[at(v)]);
        mDown[at(v)].swap(mIn[at(v)]);
        if (mArcs.size() > mLimits.maxArcs)
            throw std::length_error("qcShortestPathIndex: the index would outgrow its memory bound");
    }

    // Puts the neighbours of v, just contracted, above it in the hierarchy built so far.
    void raiseNeighbours(std::int32_t v)
    {
        for (const std::vector<Edge>* edges : {&mUp[at(v)], &mDown[at(v)]})
            for (const Edge& e : *edges)
                mLevel[at(e.node)] = std::max(mLevel[at(e.node)], mLevel[at(v)] + 1.0);
    }

    std::size_t pairsOf(std::int32_t v) const { return mIn[at(v)].size() * mOut[at(v)].size(); }

    // The nodes from rank coreFrom up are left as they are, with all their arcs.
    qcHierarchy finish(const std::vector<std::int32_t>& nodeOfRank, std::size_t coreFrom);

private:
    double priorityWith(std::int32_t v, const std::vector<qcArcRecord>& shortcuts) const
    {
        const double added = static_cast<double>(shortcuts.size());
        const double removed = static_cast<double>(mIn[at(v)].size() + mOut[at(v)].size());
        double addedLinks = 0.0, removedLinks = 0.0;
        for (const qcArcRecord& sc : shortcuts)
            addedLinks += mLinksOf[at(sc.first)] + mLinksOf[at(sc.second)];
        for (const Edge& e : mIn[at(v)])
            removedLinks += mLinksOf[at(e.arc)];
        for (const Edge& e : mOut[at(v)])
            removedLinks += mLinksOf[at(e.arc)];
        // Few shortcuts per arc removed, standing for few links, and low in the hierarchy built
        // so far: contracting such nodes first keeps the shortcuts and the searches' climbs small.
        return added / std::max(removed, 1.0) + 2.0 * addedLinks / std::max(removedLinks, 1.0) + mLevel[at(v)];
    }

    // The shortcuts for v's arcs in from first to last, appended to `shortcuts`: reads the
    // lists only, so that two threads can run it at once.
    void shortcutsFrom(std::int32_t v, std::size_t first, std::size_t last, std::size_t settleLimit,
                       WitnessSearch& witness, std::vector<qcArcRecord>& shortcuts) const
    {
        const std::vector<Edge>& outs = mOut[at(v)];
        for (std::size_t k = first; k < last; ++k) {
            const Edge& in = mIn[at(v)][k];
            double bound = -infinity;
            for (const Edge& out : outs)
                if (out.node != in.node) {
                    bound = std::max(bound, in.weight + out.weight);
                    witness.markTarget(out.node);
                }
            if (bound == -infinity)
                continue;
            witness.run(mOut, in.node, v, bound, settleLimit);
            for (const Edge& out : outs) {
                const double via = in.weight + out.weight;
                if (out.node != in.node && !(witness.distance(out.node) <= via))
                    shortcuts.push_back(qcArcRecord{in.node, out.node, in.arc, out.arc, via});
            }
        }
    }
    void addShortcut(const qcArcRecord& s)
    {
        std::vector<Edge>& out = mOut[at(s.from)];
        const auto known = std::find_if(out.begin(), out.end(), [&s](const Edge& e) { return e.node == s.to; });
        if (known != out.end() && known->weight <= s.weight)
            return;
        const auto index = static_cast<std::int32_t>(mArcs.size());
        mArcs.push_back(s);
        mLinksOf.push_back(mLinksOf[at(s.first)] + mLinksOf[at(s.second)]);
        const Edge forward{s.to, index, s.weight};
        const Edge backward{s.from, index, s.weight};
        std::vector<Edge>& in = mIn[at(s.to)];
        if (known == out.end()) {
            out.push_back(forward);
            in.push_back(backward);
            return;
        }
        // A dearer arc between the same two nodes gives way; nothing refers to it, as neither
        // end is contracted yet.
        *known = forward;
        *std::find_if(in.begin(), in.end(), [&s](const Edge& e) { return e.node == s.from; }) = backward;
    }
    static void dropEdge(std::vector<Edge>& edges, std::int32_t node)
    {
        edges.erase(std::remove_if(edges.begin(), edges.end(), [node](const Edge& e) { return e.node == node; }),
                    edges.end());
    }

    std::vector<std::vector<Edge>> mOut;
    std::vector<std::vector<Edge>> mIn;
    WitnessSearch mWitness;
    std::unique_ptr<WitnessSearch> mSecondWitness;  // of the second thread, made when first needed
    std::vector<qcArcRecord> mSecondShortcuts;
    const qcContractionLimits& mLimits;
    std::vector<double> mLevel;  // 1 + the highest level of a contracted neighbour
    std::vector<qcArcRecord> mArcs;  // the links first
    std::vector<double> mLinksOf;  // of each arc, the links it stands for
    std::vector<qcArcRecord> mShortcuts;
    std::vector<std::vector<Edge>> mUp;    // of a contracted node: its arcs to nodes contracted later
    std::vector<std::vector<Edge>> mDown;  // and from them
};

// Keeps the arcs that the hierarchy uses, in their order (so a shortcut still follows the arcs
// it stands for), names the nodes by rank and lays the rows out.
qcHierarchy Contraction::finish(const std::vector<std::int32_t>& nodeOfRank, std::size_t coreFrom)
{
    const std::size_t n = nodeOfRank.size();
    for (std::size_t r = coreFrom; r < n; ++r) {
        mUp[at(nodeOfRank[r])].swap(mOut[at(nodeOfRank[r])]);
        mDown[at(nodeOfRank[r])].swap(mIn[at(nodeOfRank[r])]);
    }
    qcHierarchy h;
    h.coreFrom = static_cast<std::int32_t>(coreFrom);
    h.nodeOfRank = nodeOfRank;
    h.rankOfNode.assign(n, -1);
    for (std::size_t r = 0; r < n; ++r)
        h.rankOfNode[at(nodeOfRank[r])] = static_cast<std::int32_t>(r);

    // Every arc of the hierarchy lies in the row of its lower end, and so does each arc a
    // shortcut stands for: the arcs a walk from the rows meets are the used ones; the others
    // are those that a cheaper shortcut replaced. They are renamed in the order of that walk,
    // depth first, the links first and each shortcut after its pieces: a shortcut's pieces
    // then lie together, and its links in path order, so that unpacking it reads few lines.
    std::vector<std::int32_t> renamed(mArcs.size(), -1);
    std::int32_t links = 0, shortcuts = 0;
    std::vector<std::pair<std::int32_t, bool>> walk;  // arc, its pieces named
    const auto name = [&](std::int32_t top) {
        walk.emplace_back(top, false);
        while (!walk.empty()) {
            const auto [a, piecesNamed] = walk.back();
            walk.pop_back();
            const qcArcRecord& arc = mArcs[at(a)];
            if (renamed[at(a)] != -1)
                continue;
            if (arc.second == -1)
                renamed[at(a)] = links++;
            else if (piecesNamed)
                renamed[at(a)] = shortcuts++;
            else
                walk.insert(walk.end(), {{a, true}, {arc.second, false}, {arc.first, false}});
        }
    };
    // From the top down, so that the longest shortcuts name their links before the rows of the
    // links' own ends do.
    for (std::size_t r = n; r-- > 0;) {
        for (const Edge& e : mUp[at(nodeOfRank[r])])
            name(e.arc);
        for (const Edge& e : mDown[at(nodeOfRank[r])])
            name(e.arc);
    }
    std::vector<qcArcRecord> records(at(links) + at(shortcuts));
    for (std::size_t a = 0; a < mArcs.size(); ++a) {
        if (renamed[a] == -1)
            continue;
        qcArcRecord arc = mArcs[a];
        arc.from = h.rankOfNode[at(arc.from)];
        arc.to = h.rankOfNode[at(arc.to)];
        if (arc.second >= 0) {
            renamed[a] += links;
            arc.first = renamed[at(arc.first)];
            arc.second = renamed[at(arc.second)];
        }
        records[at(renamed[a])] = arc;
    }
    std::vector<qcArcRecord>().swap(mArcs);
    h.setArcs(records);
    std::vector<qcArcRecord>().swap(records);

    const auto rows = [&](std::vector<std::vector<Edge>>& lists, std::vector<std::uint32_t>& start,
                          std::vector<qcHierarchyStep>& steps) {
        start.assign(n + 1, 0);
        std::size_t total = 0;  // so the rows take no more memory than they hold
        for (const std::vector<Edge>& edges : lists)
            total += edges.size();
        steps.reserve(total);
        for (std::size_t r = 0; r < n; ++r) {
            start[r] = static_cast<std::uint32_t>(steps.size());
            // Moved out of the lists, so that each list's memory goes once it is laid out.
            const std::vector<Edge> edges = std::move(lists[at(nodeOfRank[r])]);
            for (const Edge& e : edges)
                steps.push_back(qcHierarchyStep{h.rankOfNode[at(e.node)], renamed[at(e.arc)], e.weight});
        }
        start[n] = static_cast<std::uint32_t>(steps.size());
    };
    rows(mUp, h.upStart, h.up);
    rows(mDown, h.downStart, h.down);
    return h;
}

}  // namespace

qcHierarchy qfContract(std::size_t numNodes, const std::vector<qcGraphArc>& arcs,
                       const std::vector<std::int32_t>& nodeOfRank, std::int32_t coreFrom,
                       const qcContractionLimits& limits)
{
    // Searches for witnesses give up after this many nodes: a larger bound finds more of them
    // (fewer shortcuts) at a higher cost. Priorities are guessed with a smaller one.
    constexpr std::size_t settleLimit = 200;
    constexpr std::size_t guessLimit = 20;
    Contraction c(numNodes, arcs, limits);
    if (limits.progress)
        limits.progress(0.0);
    const auto report = [&limits, numNodes](std::size_t done) {
        if (done % 64 == 0) {
            qcAttention::check();
            if (limits.progress && done % 65536 == 0 && done > 0)
                limits.progress(static_cast<double>(done) / static_cast<double>(numNodes));
        }
    };
    if (!nodeOfRank.empty()) {
        for (std::size_t r = 0; r < at(coreFrom); ++r) {
            report(r);
            if (c.pairsOf(nodeOfRank[r]) > limits.maxPairs)
                throw std::length_error("qcShortestPathIndex: the kept order no longer suits the scores");
            c.shortcutsOf(nodeOfRank[r], settleLimit);
            c.contract(nodeOfRank[r]);
        }
        return c.finish(nodeOfRank, at(coreFrom));
    }

    std::vector<double> priority = c.firstPriorities(guessLimit);
    using Entry = std::pair<double, std::int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (std::size_t v = 0; v < numNodes; ++v)
        queue.emplace(priority[v], static_cast<std::int32_t>(v));
    std::vector<std::int32_t> order;
    order.reserve(numNodes);
    while (!queue.empty()) {
        const auto [p, v] = queue.top();
        queue.pop();
        if (p != priority[at(v)])
            continue;  // outdated, or contracted (+infinity)
        // Lazy update: a node whose priority has grown waits its turn again.
        const double now = c.priorityOf(v, guessLimit);
        if (!queue.empty() && now > queue.top().first) {
            priority[at(v)] = now;
            queue.emplace(now, v);
            continue;
        }
        const std::size_t pairs = c.pairsOf(v), left = numNodes - order.size();
        if (pairs > limits.maxPairs || (left <= limits.tableNodes && pairs > limits.maxPairs / 2)) {
            // v and every node not contracted yet are the core.
            const std::size_t core = order.size();
            order.push_back(v);
            for (std::size_t x = 0; x < numNodes; ++x)
                if (priority[x] != infinity && static_cast<std::int32_t>(x) != v)
                    order.push_back(static_cast<std::int32_t>(x));
            return c.finish(order, core);
        }
        report(order.size());
        c.shortcutsOf(v, settleLimit);
        c.contract(v);
        priority[at(v)] = infinity;
        order.push_back(v);
        // The neighbours' priorities are brought up to date when they come to the top.
        c.raiseNeighbours(v);
    }
    return c.finish(order, order.size());
}
