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

void reach(Arrays::Side& s, std::uint32_t now, std::int32_t node, double d, std::int32_t arc)
{
    s.stamp[at(node)] = now;
    s.distance[at(node)] = d;
    s.arc[at(node)] = arc;
    s.heap.emplace_back(d, node);
    std::push_heap(s.heap.begin(), s.heap.end(), std::greater<>());
}

bool reached(const Arrays::Side& s, std::uint32_t now, std::int32_t node) { return s.stamp[at(node)] == now; }

// Takes the side's next node off its heap, -1 when none is left.
std::int32_t settleNext(Arrays::Side& s, double& d)
{
    while (!s.heap.empty()) {
        std::pop_heap(s.heap.begin(), s.heap.end(), std::greater<>());
        const auto [key, node] = s.heap.back();
        s.heap.pop_back();
        if (key == s.distance[at(node)]) {
            d = key;
            return node;
        }
    }
    return -1;
}

// Whether a dearer way than another that comes down to `node` from above reached it: then no
// cheapest up-down path climbs through it, and it is not continued from (stall on demand).
bool stalled(const qcHierarchy& h, const Arrays::Side& s, std::uint32_t now, int side, std::int32_t node, double d)
{
    const std::vector<std::uint32_t>& start = startsOf(h, 1 - side);
    const std::vector<qcHierarchyStep>& steps = stepsOf(h, 1 - side);
    for (std::uint32_t k = start[at(node)]; k < start[at(node) + 1]; ++k)
        if (reached(s, now, steps[k].head) && s.distance[at(steps[k].head)] + steps[k].weight < d)
            return true;
    return false;
}

void climb(const qcHierarchy& h, Arrays::Side& s, std::uint32_t now, int side, std::int32_t node, double d)
{
    const std::vector<std::uint32_t>& start = startsOf(h, side);
    const std::vector<qcHierarchyStep>& steps = stepsOf(h, side);
    for (std::uint32_t k = start[at(node)]; k < start[at(node) + 1]; ++k) {
        const qcHierarchyStep& step = steps[k];
        const double candidate = d + step.weight;
        if (!reached(s, now, step.head) || candidate < s.distance[at(step.head)])
            reach(s, now, step.head, candidate, step.arc);
    }
}

}  // namespace

void Arrays::begin(std::size_t n)
{
    for (Side& s : side) {
        if (s.stamp.size() != n) {
            s.distance.assign(n, 0.0);
            s.arc.assign(n, -1);
            s.stamp.assign(n, 0);
            now = 0;
        }
        s.heap.clear();
    }
    if (++now == 0) {  // the stamps wrapped round
        for (Side& s : side)
            std::fill(s.stamp.begin(), s.stamp.end(), 0);
        now = 1;
    }
}

double qfIndexMeet(const qcHierarchy& h, Arrays& w, std::int32_t source, std::int32_t target, std::int32_t& meet)
{
    w.begin(h.numNodes());
    reach(w.side[0], w.now, source, 0.0, -1);
    reach(w.side[1], w.now, target, 0.0, -1);
    double best = infinity;
    meet = -1;
    for (;;) {
        // The side whose next key is lower goes on; a side stops once its keys reach the best.
        int side = -1;
        double least = best;
        for (int s = 0; s < 2; ++s)
            if (!w.side[s].heap.empty() && w.side[s].heap.front().first < least) {
                least = w.side[s].heap.front().first;
                side = s;
            }
        if (side == -1)
            break;
        Arrays::Side& s = w.side[side];
        double d = 0.0;
        const std::int32_t node = settleNext(s, d);
        if (node == -1)
            continue;
        const Arrays::Side& other = w.side[1 - side];
        if (reached(other, w.now, node) && d + other.distance[at(node)] < best) {
            best = d + other.distance[at(node)];
            meet = node;
        }
        if (!stalled(h, s, w.now, side, node, d))
            climb(h, s, w.now, side, node, d);
    }
    return best;
}

void qfIndexUpwardSearch(const qcHierarchy& h, Arrays& w, int side, std::int32_t from,
                         const std::function<void(std::int32_t, double)>& settled)
{
    w.begin(h.numNodes());
    Arrays::Side& s = w.side[side];
    reach(s, w.now, from, 0.0, -1);
    double d = 0.0;
    for (std::int32_t node = settleNext(s, d); node != -1; node = settleNext(s, d)) {
        if (stalled(h, s, w.now, side, node, d))
            continue;
        settled(node, d);
        climb(h, s, w.now, side, node, d);
    }
}

double qfIndexUnpack(const qcHierarchy& h, const Arrays& w, std::int32_t meet, qcIndexArray& nodes, qcIndexArray& links)
{
    double score = 0.0;
    std::vector<std::int32_t> arcs;  // from source to target
    for (std::int32_t v = meet, a; (a = w.side[0].arc[at(v)]) != -1; v = h.arcs[at(a)].from)
        arcs.push_back(a);
    std::reverse(arcs.begin(), arcs.end());
    for (std::int32_t v = meet, a; (a = w.side[1].arc[at(v)]) != -1; v = h.arcs[at(a)].to)
        arcs.push_back(a);

    std::int32_t first = meet;
    if (!arcs.empty())
        first = h.arcs[at(arcs.front())].from;
    nodes.push_back(h.nodeOfRank[at(first)]);
    std::vector<std::int32_t> pending;
    for (const std::int32_t top : arcs) {
        pending.push_back(top);
        while (!pending.empty()) {
            const qcHierarchyArc& arc = h.arcs[at(pending.back())];
            pending.pop_back();
            if (arc.second >= 0) {  // a shortcut: its first arc comes first
                pending.push_back(arc.second);
                pending.push_back(arc.first);
                continue;
            }
            links.push_back(arc.first);
            nodes.push_back(h.nodeOfRank[at(arc.to)]);
            score += arc.weight;  // the link's own score, added from the source as a search would
        }
    }
    return score;
}
