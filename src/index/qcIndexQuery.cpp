#include <algorithm>
#include <functional>
#include <limits>

#include "graph/qcIndex.h"
#include "index/qcIndexData.h"
#include "index/qcIndexQuery.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

using Arrays = qcShortestPathIndex::Workspace::Arrays;

// The rows a side climbs by: the source's side the arcs up from a node, the target's side the
// arcs down into it; the other side's rows are the ones a stall test looks at.
const std::vector<std::uint32_t>& startsOf(const qcHierarchy& h, int side) { return side == 0 ? h.upStart : h.downStart; }
const std::vector<qcHierarchyStep>& stepsOf(const qcHierarchy& h, int side) { return side == 0 ? h.up : h.down; }

// One search of a query: its side of the nodes' states, and its heaps. Nodes of rank coreFrom
// and up wait in a heap of their own until enterCore().
class Search {
public:
    Search(Arrays& w, int side, std::int32_t coreFrom)
        : mNodes(w.nodes), mHeap(w.heap[side]), mCoreHeap(w.coreHeap[side]), mNow(w.now), mSide(side),
          mCoreFrom(coreFrom)
    {
    }

    bool reached(std::int32_t node) const { return mNodes[at(node)].side[mSide].stamp == mNow; }
    double distance(std::int32_t node) const { return mNodes[at(node)].side[mSide].distance; }
    // The other search's distance of node, or +infinity.
    double otherDistance(std::int32_t node) const
    {
        const Arrays::Reached& r = mNodes[at(node)].side[1 - mSide];
        return r.stamp == mNow ? r.distance : infinity;
    }
    bool empty() const { return mHeap.empty(); }
    // The core nodes reached below the core at less than `bound`, each once, with their distances.
    template <class Each>
    void forEachCoreEntry(double bound, Each&& each) const
    {
        for (const auto& [key, node] : mCoreHeap)
            if (key < bound && key == distance(node))
                each(node, key);
    }
    double leastKey() const { return mHeap.front().first; }

    void reach(std::int32_t node, double d, std::int32_t from)
    {
        mNodes[at(node)].side[mSide] = Arrays::Reached{d, from, mNow};
        auto& heap = node < mCoreFrom ? mHeap : mCoreHeap;
        heap.emplace_back(d, node);
        std::push_heap(heap.begin(), heap.end(), std::greater<>());
    }
    // From here on the nodes queued for the core are the ones settled.
    void enterCore()
    {
        mHeap.swap(mCoreHeap);
        mCoreFrom = std::numeric_limits<std::int32_t>::max();
    }
    // Takes the next node off the heap, -1 when none is left.
    std::int32_t settleNext(double& d)
    {
        while (!mHeap.empty()) {
            std::pop_heap(mHeap.begin(), mHeap.end(), std::greater<>());
            const auto [key, node] = mHeap.back();
            mHeap.pop_back();
            if (key == distance(node)) {
                d = key;
                return node;
            }
        }
        return -1;
    }

    // Asks for the rows of the node likely settled next, so that they come in while this one's
    // are read.
    void prefetchNext(const qcHierarchy& h) const
    {
        if (mHeap.empty())
            return;
        const std::int32_t next = mHeap.front().second;
        __builtin_prefetch(h.up.data() + h.upStart[at(next)]);
        __builtin_prefetch(h.down.data() + h.downStart[at(next)]);
    }

    // Whether a dearer way than another that comes down to `node` from above reached it: then
    // no cheapest up-down path climbs through it, and it is not continued from (stall on demand).
    bool stalled(const qcHierarchy& h, std::int32_t node, double d) const
    {
        const std::vector<std::uint32_t>& start = startsOf(h, 1 - mSide);
        const std::vector<qcHierarchyStep>& steps = stepsOf(h, 1 - mSide);
        for (std::uint32_t k = start[at(node)]; k < start[at(node) + 1]; ++k)
            if (reached(steps[k].head) && distance(steps[k].head) + steps[k].weight < d)
                return true;
        return false;
    }
    void climb(const qcHierarchy& h, std::int32_t node, double d)
    {
        const std::vector<std::uint32_t>& start = startsOf(h, mSide);
        const std::vector<qcHierarchyStep>& steps = stepsOf(h, mSide);
        for (std::uint32_t k = start[at(node)]; k < start[at(node) + 1]; ++k) {
            const qcHierarchyStep& step = steps[k];
            const double candidate = d + step.weight;
            if (!reached(step.head) || candidate < distance(step.head)) {
                // Where the head's rows start is asked for now, so it is known when the head
                // is settled: its rows are the next reads then.
                __builtin_prefetch(&h.upStart[at(step.head)]);
                __builtin_prefetch(&h.downStart[at(step.head)]);
                reach(step.head, candidate, node);
            }
        }
    }

private:
    std::vector<Arrays::Node>& mNodes;
    std::vector<std::pair<double, std::int32_t>>& mHeap;
    std::vector<std::pair<double, std::int32_t>>& mCoreHeap;
    const std::uint32_t mNow;
    const int mSide;
    std::int32_t mCoreFrom;
};

using CoreEnds = std::vector<std::pair<double, std::int32_t>>;  // distance, core node

// Leaves out the ends that a cheaper one reaches through the core for less (forward: from the
// source's side, else toward the target's): no cheapest way needs them.
void keepUndominated(const qcCoreTable& table, CoreEnds& ends, bool forward)
{
    std::sort(ends.begin(), ends.end());
    std::size_t kept = 0;
    for (const auto& [d, node] : ends) {
        bool dominated = false;
        for (std::size_t k = 0; k < kept && !dominated; ++k) {
            const auto& [otherD, other] = ends[k];
            dominated = otherD + (forward ? table.way(other, node) : table.way(node, other)) < d;
        }
        if (!dominated)
            ends[kept++] = {d, node};
    }
    ends.resize(kept);
}

// Every way in by a node the source's search entered the core by and out by one the target's
// entered it by, as the core table gives it.
void throughCoreTable(const qcHierarchy& h, const Search (&searches)[2], qcIndexMeeting& best)
{
    const qcCoreTable& table = h.coreTable;
    CoreEnds ends[2];
    for (int side = 0; side < 2; ++side) {
        searches[side].forEachCoreEntry(best.distance, [&](std::int32_t node, double d) { ends[side].emplace_back(d, node); });
        keepUndominated(table, ends[side], side == 0);
    }
    for (const auto& [d, entry] : ends[0])
        for (const auto& [rest, exit] : ends[1]) {
            const double through = d + table.way(entry, exit) + rest;
            if (through < best.distance)
                best = qcIndexMeeting{through, entry, exit};
        }
}

}  // namespace

void Arrays::begin(std::size_t n)
{
    if (nodes.size() != n) {
        nodes.assign(n, Node{});
        now = 0;
    }
    for (int side = 0; side < 2; ++side) {
        heap[side].clear();
        coreHeap[side].clear();
    }
    if (++now == 0) {  // the stamps wrapped round
        nodes.assign(n, Node{});
        now = 1;
    }
}

namespace {

// On a hierarchy of a chordal graph, the nodes a search climbs to are ancestors of its start in
// the elimination tree, lower ones first: so each side goes up that line, each node final when
// come to, with no queue, and the two meet on the source's line.
qcIndexMeeting eliminationTreeMeet(const qcHierarchy& h, Arrays& w, std::int32_t source, std::int32_t target)
{
    w.begin(h.numNodes());
    const std::int32_t starts[2] = {source, target};
    for (int side = 0; side < 2; ++side) {
        const std::vector<std::uint32_t>& start = startsOf(h, side);
        const std::vector<qcHierarchyStep>& steps = stepsOf(h, side);
        w.nodes[at(starts[side])].side[side] = Arrays::Reached{0.0, -1, w.now};
        for (std::int32_t v = starts[side]; v != -1; v = h.parent[at(v)]) {
            const Arrays::Reached& from = w.nodes[at(v)].side[side];
            if (from.stamp != w.now)
                continue;
            for (std::uint32_t k = start[at(v)]; k < start[at(v) + 1]; ++k) {
                Arrays::Reached& to = w.nodes[at(steps[k].head)].side[side];
                const double candidate = from.distance + steps[k].weight;
                if (to.stamp != w.now || candidate < to.distance)
                    to = Arrays::Reached{candidate, v, w.now};
            }
        }
    }
    qcIndexMeeting best{infinity, -1};
    for (std::int32_t v = source; v != -1; v = h.parent[at(v)]) {
        const Arrays::Node& node = w.nodes[at(v)];
        if (node.side[0].stamp == w.now && node.side[1].stamp == w.now &&
            node.side[0].distance + node.side[1].distance < best.distance)
            best = qcIndexMeeting{node.side[0].distance + node.side[1].distance, v};
    }
    return best;
}

}  // namespace

qcIndexMeeting qfIndexMeet(const qcHierarchy& h, Arrays& w, std::int32_t source, std::int32_t target)
{
    if (!h.parent.empty())
        return eliminationTreeMeet(h, w, source, target);
    w.begin(h.numNodes());
    qcIndexMeeting best{infinity, -1};
    Search searches[2] = {Search(w, 0, h.coreFrom), Search(w, 1, h.coreFrom)};
    const auto meet = [&best](const Search& s, std::int32_t node, double d) {
        if (d + s.otherDistance(node) < best.distance)
            best = qcIndexMeeting{d + s.otherDistance(node), node};
    };
    searches[0].reach(source, 0.0, -1);
    searches[1].reach(target, 0.0, -1);
    // Below the core, each search climbs until its keys reach the best meeting.
    for (;;) {
        // The search whose next key is lower goes on; a search stops once its keys reach the best.
        int side = -1;
        double least = best.distance;
        for (int s = 0; s < 2; ++s)
            if (!searches[s].empty() && searches[s].leastKey() < least) {
                least = searches[s].leastKey();
                side = s;
            }
        if (side == -1)
            break;
        Search& s = searches[side];
        double d = 0.0;
        const std::int32_t node = s.settleNext(d);
        if (node == -1)
            continue;
        meet(s, node, d);
        s.prefetchNext(h);
        if (!s.stalled(h, node, d))
            s.climb(h, node, d);
    }
    if (h.coreTable.size > 0) {
        throughCoreTable(h, searches, best);
        return best;
    }
    // The core's rows hold its arcs both ways, so the searches through it, from the nodes each
    // entered it by, are a search from each end over one graph: done once their least keys
    // add up to the best meeting. Meeting where nodes are settled is enough: of two nodes
    // joined on a cheapest way, one settled by each search, the later to settle finds the
    // other search's way to it.
    for (Search& s : searches)
        s.enterCore();
    while (!searches[0].empty() && !searches[1].empty() &&
           searches[0].leastKey() + searches[1].leastKey() < best.distance) {
        Search& s = searches[searches[0].leastKey() <= searches[1].leastKey() ? 0 : 1];
        double d = 0.0;
        const std::int32_t node = s.settleNext(d);
        if (node == -1)
            continue;
        meet(s, node, d);
        s.climb(h, node, d);
    }
    return best;
}

void qfIndexUpwardSearch(const qcHierarchy& h, Arrays& w, int side, std::int32_t from, qcIndexCore core,
                         const std::function<void(std::int32_t, double)>& settled)
{
    w.begin(h.numNodes());
    Search s(w, side, static_cast<std::int32_t>(h.numNodes()));
    s.reach(from, 0.0, -1);
    double d = 0.0;
    for (std::int32_t node = s.settleNext(d); node != -1; node = s.settleNext(d)) {
        if (s.stalled(h, node, d))
            continue;
        settled(node, d);
        if (core == qcIndexCore::searched || node < h.coreFrom)
            s.climb(h, node, d);
    }
}

namespace {

// Appends the link arcs that the arcs `tops` stand for, in order. The arcs are taken apart level
// by level, each level's arcs read while the next level's are asked for, so that the waits for
// memory overlap instead of following one another down each shortcut; then the tree of pieces,
// now in cache, is read in order.
void appendLinks(const qcHierarchy& h, const std::vector<std::int32_t>& tops, std::vector<std::int32_t>& route)
{
    const auto numLinks = static_cast<std::int32_t>(h.linkScores.size());  // the link arcs come first
    struct Piece {
        std::int32_t arc;
        std::int32_t firstPart;  // where the pieces of a shortcut start, -1 for a link
    };
    std::vector<Piece> pieces;
    pieces.reserve(4 * tops.size());
    for (const std::int32_t a : tops)
        pieces.push_back(Piece{a, -1});
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].arc < numLinks)
            continue;
        const qcHierarchyArc& arc = h.arcs[at(pieces[i].arc)];
        pieces[i].firstPart = static_cast<std::int32_t>(pieces.size());
        for (const std::int32_t part : {arc.first, arc.second}) {
            __builtin_prefetch(&h.arcs[at(part)]);
            pieces.push_back(Piece{part, -1});
        }
    }
    std::vector<std::int32_t> pending;
    for (std::size_t k = tops.size(); k-- > 0;)
        pending.push_back(static_cast<std::int32_t>(k));
    while (!pending.empty()) {
        const Piece& piece = pieces[at(pending.back())];
        pending.pop_back();
        if (piece.firstPart == -1) {
            route.push_back(piece.arc);
            continue;
        }
        pending.push_back(piece.firstPart + 1);
        pending.push_back(piece.firstPart);
    }
}

// Where arc a starts: where its first link does.
std::int32_t startOf(const qcHierarchy& h, std::int32_t a)
{
    while (!h.arcs[at(a)].isLink())
        a = h.arcs[at(a)].first;
    return -1 - h.arcs[at(a)].second;
}

// The arc by which a side's search reached `node` from `from`: the step to it in from's row (a
// row holds one arc to each node at most).
std::int32_t arcInto(const qcHierarchy& h, int side, std::int32_t from, std::int32_t node)
{
    const std::vector<std::uint32_t>& start = startsOf(h, side);
    const std::vector<qcHierarchyStep>& steps = stepsOf(h, side);
    std::uint32_t k = start[at(from)];
    while (steps[k].head != node)
        ++k;
    return steps[k].arc;
}

}  // namespace

double qfIndexUnpack(const qcHierarchy& h, const Arrays& w, const qcIndexMeeting& meeting, qcIndexArray& nodes,
                     qcIndexArray& links)
{
    // The path's arcs first, from the target back to the source, then all their links at once.
    std::vector<std::int32_t> arcs;
    const std::int32_t down = meeting.exit != -1 ? meeting.exit : meeting.node;  // where the target's search takes over
    for (std::int32_t v = down, from; (from = w.nodes[at(v)].side[1].from) != -1; v = from)
        arcs.push_back(arcInto(h, 1, from, v));
    std::reverse(arcs.begin(), arcs.end());
    if (meeting.exit != -1) {  // the core's arcs, from the table's exit back to its entry
        const qcCoreTable& table = h.coreTable;
        for (std::int32_t v = down, a; (a = table.lastArc[table.at(meeting.node, v)]) != -1; v = startOf(h, a))
            arcs.push_back(a);
    }
    std::int32_t first = meeting.node;  // where the route starts
    for (std::int32_t from; (from = w.nodes[at(first)].side[0].from) != -1; first = from)
        arcs.push_back(arcInto(h, 0, from, first));
    std::reverse(arcs.begin(), arcs.end());
    std::vector<std::int32_t> route;  // link arcs
    appendLinks(h, arcs, route);

    double score = 0.0;
    nodes.push_back(h.nodeOfRank[at(first)]);
    for (std::size_t i = 0; i < route.size(); ++i) {
        // The nodes' names by rank are read in no order: asked for a few links ahead.
        if (i + 16 < route.size())
            __builtin_prefetch(&h.nodeOfRank[at(h.arcs[at(route[i + 16])].to)]);
        const std::int32_t a = route[i];
        links.push_back(h.arcs[at(a)].first);
        nodes.push_back(h.nodeOfRank[at(h.arcs[at(a)].to)]);
        score += h.linkScores[at(a)];  // the link's own score, added from the source as a search would
    }
    return score;
}
