#include "index/qcCustomization.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "graph/qcIndex.h"
#include "qcAttention.h"
#include "qcException.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

qcCustomization::qcCustomization(qcChordalGraph chordal, const qcDirectedGraph& graph)
    : mChordal(std::move(chordal)), mArcOfLink(at(graph.numLinks()), -1), mWays(mChordal.up.size())
{
    const long n = graph.numNodes();
    std::vector<std::int32_t> rankOf(at(n));
    for (std::size_t r = 0; r < mChordal.nodeOfRank.size(); ++r)
        rankOf[at(mChordal.nodeOfRank[r])] = static_cast<std::int32_t>(r);
    for (long l = 0; l < graph.numLinks(); ++l) {
        const qcDirectedGraphLink& link = graph.link(l);
        if (!qfMayCount(link, n))
            continue;
        const std::int32_t from = rankOf[at(link.nodeA())], to = rankOf[at(link.nodeB())];
        const std::int32_t low = std::min(from, to);
        // The chordal graph holds every edge of these links.
        const auto first = mChordal.up.begin() + mChordal.upStart[at(low)];
        const auto e = std::lower_bound(first, mChordal.up.begin() + mChordal.upStart[at(low) + 1], std::max(from, to));
        mArcOfLink[at(l)] = static_cast<std::int32_t>(2 * (e - mChordal.up.begin())) + (from > to ? 1 : 0);
    }
}

std::size_t qcCustomization::memoryBytes() const
{
    return mChordal.memoryBytes() + mArcOfLink.size() * sizeof(std::int32_t) + mWays.size() * sizeof(Ways);
}

void qcCustomization::customize(const qcDirectedGraph& graph, double unreached, qcHierarchy& h)
{
    const std::size_t n = mChordal.nodeOfRank.size(), edges = mChordal.up.size();
    const std::vector<std::int32_t>& up = mChordal.up;
    const std::vector<std::uint32_t>& upStart = mChordal.upStart;
    std::fill(mWays.begin(), mWays.end(), Ways{infinity, infinity, 0, -1, 0, -1});
    for (std::size_t l = 0; l < mArcOfLink.size(); ++l) {
        const std::int32_t arc = mArcOfLink[l];
        if (arc < 0)
            continue;
        const double score = graph.link(static_cast<long>(l)).score();
        if (score < 0.0)
            throw qcInvariantFailure();
        Ways& w = mWays[at(arc / 2)];
        double& weight = arc % 2 == 0 ? w.up : w.down;
        if (score < weight) {
            weight = score;
            (arc % 2 == 0 ? w.upFirst : w.downFirst) = static_cast<std::int32_t>(l);
        }
    }
    // Rank by rank, each arc between two higher neighbours of the rank is offered the way
    // through it. The arcs of the rank's own edges are final by then: their lower triangles
    // have lower middle nodes.
    for (std::size_t v = 0; v < n; ++v) {
        if (v % 65536 == 0)
            qcAttention::check();
        const std::uint32_t end = upStart[v + 1];
        for (std::uint32_t e1 = upStart[v]; e1 < end; ++e1) {
            const Ways& w1 = mWays[e1];
            if (w1.up == infinity && w1.down == infinity)
                continue;
            const std::int32_t u = up[e1];
            auto e3 = up.begin() + upStart[at(u)];
            for (std::uint32_t e2 = e1 + 1; e2 < end; ++e2) {
                // Both are higher neighbours of v, so eliminating v joined them.
                e3 = std::lower_bound(e3, up.begin() + upStart[at(u) + 1], up[e2]);
                const Ways& w2 = mWays[e2];
                Ways& w3 = mWays[static_cast<std::size_t>(e3 - up.begin())];
                const double forth = w1.down + w2.up;  // u -> v -> w
                if (forth < w3.up) {
                    w3.up = forth;
                    w3.upFirst = static_cast<std::int32_t>(e1);
                    w3.upSecond = static_cast<std::int32_t>(e2);
                }
                const double back = w2.down + w1.up;  // w -> v -> u
                if (back < w3.down) {
                    w3.down = back;
                    w3.downFirst = static_cast<std::int32_t>(e2);
                    w3.downSecond = static_cast<std::int32_t>(e1);
                }
            }
        }
    }

    // Memory first, so that nothing after it throws and `h` is never left half made.
    std::size_t links = 0, arcs = 0, ups = 0;
    for (const Ways& w : mWays) {
        ups += w.up < unreached ? 1 : 0;
        arcs += (w.up < unreached ? 1 : 0) + (w.down < unreached ? 1 : 0);
        links += (w.up < unreached && w.upSecond < 0 ? 1 : 0) + (w.down < unreached && w.downSecond < 0 ? 1 : 0);
    }
    h.arcs.reserve(arcs);
    h.linkScores.reserve(links);
    h.up.reserve(ups);
    h.down.reserve(arcs - ups);
    h.nodeOfRank.reserve(n);
    h.rankOfNode.reserve(n);
    h.upStart.reserve(n + 1);
    h.downStart.reserve(n + 1);

    h.nodeOfRank = mChordal.nodeOfRank;
    h.rankOfNode.assign(n, -1);
    for (std::size_t r = 0; r < n; ++r)
        h.rankOfNode[at(h.nodeOfRank[r])] = static_cast<std::int32_t>(r);
    h.coreFrom = static_cast<std::int32_t>(n);
    h.coreTable = qcCoreTable();
    // The arcs kept, links first, then shortcuts after the arcs they stand for (those of lower
    // edges). Once an arc is laid out, its first field names it, which is all that the
    // shortcuts of higher edges need of it.
    h.arcs.clear();
    h.linkScores.clear();
    for (const bool linkPass : {true, false}) {
        std::int32_t low = 0;
        for (std::size_t e = 0; e < edges; ++e) {
            while (upStart[at(low) + 1] <= e)
                ++low;
            Ways& w = mWays[e];
            const struct { double weight; std::int32_t& first; std::int32_t second; std::int32_t from, to; } both[] = {
                {w.up, w.upFirst, w.upSecond, low, up[e]}, {w.down, w.downFirst, w.downSecond, up[e], low}};
            for (const auto& a : both) {
                if (!(a.weight < unreached) || (a.second < 0) != linkPass)
                    continue;
                if (linkPass) {
                    h.arcs.push_back(qcHierarchyArc{a.to, a.first, -1 - a.from});
                    h.linkScores.push_back(a.weight);
                } else {  // down the first edge, up the second
                    h.arcs.push_back(qcHierarchyArc{a.to, mWays[at(a.first)].downFirst, mWays[at(a.second)].upFirst});
                }
                a.first = static_cast<std::int32_t>(h.arcs.size() - 1);
            }
        }
    }
    h.up.clear();
    h.down.clear();
    h.upStart.assign(n + 1, 0);
    h.downStart.assign(n + 1, 0);
    for (std::size_t r = 0; r < n; ++r) {
        for (std::uint32_t e = upStart[r]; e < upStart[r + 1]; ++e) {
            const Ways& w = mWays[e];
            if (w.up < unreached)
                h.up.push_back(qcHierarchyStep{up[e], w.upFirst, w.up});
            if (w.down < unreached)
                h.down.push_back(qcHierarchyStep{up[e], w.downFirst, w.down});
        }
        h.upStart[r + 1] = static_cast<std::uint32_t>(h.up.size());
        h.downStart[r + 1] = static_cast<std::uint32_t>(h.down.size());
    }
}
