#include "index/qcCustomization.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "index/qcInTwo.h"
#include "qcAttention.h"
#include "qcException.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// The triangles of the edges of v: two of its higher neighbours u < w, and the edges v-u (e1),
// v-w (e2) and u-w (e3). Eliminating v joined its higher neighbours to each other, so e3 is in
// u's row, which is increasing, as v's is: each row is gone over once per edge of v.
template <class Each>
void forEachTriangle(const qcChordalGraph& chordal, std::size_t v, Each&& each)
{
    const std::vector<std::int32_t>& up = chordal.up;
    const std::uint32_t end = chordal.upStart[v + 1];
    for (std::uint32_t e1 = chordal.upStart[v]; e1 < end; ++e1) {
        std::uint32_t e3 = chordal.upStart[at(up[e1])];
        for (std::uint32_t e2 = e1 + 1; e2 < end; ++e2) {
            while (up[e3] < up[e2])
                ++e3;
            each(e1, e2, e3);
        }
    }
}

// Memory for `size` elements in `room`, unless `kept` has it: a reserve would copy what `kept`
// holds, which is of no more use.
template <class T>
void takeRoom(const std::vector<T>& kept, std::size_t size, std::vector<T>& room)
{
    if (kept.capacity() < size)
        room.reserve(size);
}

// Room for `size` elements, written to once so that the system gives the memory now.
template <class T>
void reserveTouched(std::vector<T>& v, std::size_t size)
{
    const std::size_t held = v.size();
    v.resize(std::max(size, held));
    v.resize(held);
}

template <class T>
void useRoom(std::vector<T>& kept, std::vector<T>& room)
{
    if (room.capacity() > 0)
        kept.swap(room);
}

}  // namespace

qcCustomization::qcCustomization(qcChordalGraph chordal, const qcDirectedGraph& graph)
    : mChordal(std::move(chordal)), mWeights(mChordal.up.size()), mVia(mChordal.up.size()),
      mKept(mChordal.up.size())
{
    const long n = graph.numNodes();
    std::vector<std::int32_t> rankOf(at(n));
    for (std::size_t r = 0; r < mChordal.nodeOfRank.size(); ++r)
        rankOf[at(mChordal.nodeOfRank[r])] = static_cast<std::int32_t>(r);
    for (long u = 0; u < n; ++u)
        for (qcChainCursor c(graph, graph.node(u).firstChild()); c.valid(); c.next()) {
            const qcDirectedGraphLink& link = c.link();
            if (!qfMayCount(link, n))
                continue;
            const long v = link.nodeA() == u ? link.nodeB() : link.nodeA();
            const std::int32_t from = rankOf[at(u)], to = rankOf[at(v)];
            const std::int32_t low = std::min(from, to);
            // The chordal graph holds every edge of these links.
            const auto first = mChordal.up.begin() + mChordal.upStart[at(low)];
            const auto e = std::lower_bound(first, mChordal.up.begin() + mChordal.upStart[at(low) + 1], std::max(from, to));
            const auto edge = static_cast<std::int32_t>(e - mChordal.up.begin());
            mLinkArcs.push_back(LinkArc{static_cast<std::int32_t>(c.index()), 2 * edge + (from > to ? 1 : 0)});
        }
    // In the order of the arcs, so that the weights are written in order; the links of one arc
    // keep the order the two-node search meets them in, which decides between equal scores.
    // Two halves, one for each thread, that share no arc.
    std::stable_sort(mLinkArcs.begin(), mLinkArcs.end(), [](const LinkArc& x, const LinkArc& y) { return x.arc < y.arc; });
    mLinkHalf = mLinkArcs.size() / 2;
    while (mLinkHalf > 0 && mLinkHalf < mLinkArcs.size() && mLinkArcs[mLinkHalf].arc == mLinkArcs[mLinkHalf - 1].arc)
        ++mLinkHalf;
    splitParts();
}

void qcCustomization::splitParts()
{
    const std::size_t n = mChordal.nodeOfRank.size();
    const std::vector<std::uint32_t>& upStart = mChordal.upStart;
    const auto parentOf = [this](std::size_t r) { return mChordal.upStart[r] < mChordal.upStart[r + 1] ? mChordal.up[mChordal.upStart[r]] : -1; };
    // Per rank, about twice the triangles of its subtree (its children are lower), and its
    // children, in a list through nextSibling.
    std::vector<double> triangles(n);
    std::vector<std::int32_t> roots, firstChild(n, -1), nextSibling(n, -1);
    for (std::size_t r = 0; r < n; ++r) {
        const double row = static_cast<double>(upStart[r + 1] - upStart[r]);
        triangles[r] += 1.0 + row * row;
        const std::int32_t p = parentOf(r);
        if (p < 0) {
            roots.push_back(static_cast<std::int32_t>(r));
            continue;
        }
        triangles[at(p)] += triangles[r];
        nextSibling[r] = firstChild[at(p)];
        firstChild[at(p)] = static_cast<std::int32_t>(r);
    }
    // The top: from the heaviest tree's root down, as long as one child holds most of the
    // triangles (a separator's line, and small pieces cut off from the rest). Its other
    // children, and the other trees, are the subtrees shared out.
    constexpr std::uint8_t unknown = 3;
    mPart.assign(n, unknown);
    mTop.clear();
    std::vector<std::int32_t> subtrees;
    const auto heavier = [&](std::int32_t x, std::int32_t y) { return triangles[at(x)] < triangles[at(y)]; };
    std::int32_t x = roots.empty() ? -1 : *std::max_element(roots.begin(), roots.end(), heavier);
    for (const std::int32_t root : roots)
        if (root != x)
            subtrees.push_back(root);
    while (x >= 0) {
        mPart[at(x)] = topPart;
        mTop.push_back(x);
        std::int32_t next = -1;
        for (std::int32_t c = firstChild[at(x)]; c >= 0; c = nextSibling[at(c)])
            if (next < 0 || heavier(next, c))
                next = c;
        if (next >= 0 && !(triangles[at(next)] > 0.55 * triangles[at(x)]))
            next = -1;
        for (std::int32_t c = firstChild[at(x)]; c >= 0; c = nextSibling[at(c)])
            if (c != next)
                subtrees.push_back(c);
        x = next;
    }
    std::reverse(mTop.begin(), mTop.end());  // increasing
    std::sort(subtrees.begin(), subtrees.end(), [&](std::int32_t a, std::int32_t b) { return heavier(b, a); });
    double weight[2] = {0.0, 0.0};
    for (const std::int32_t t : subtrees) {
        const std::uint8_t part = weight[1] < weight[0] ? 1 : 0;
        mPart[at(t)] = part;
        weight[part] += triangles[at(t)];
    }
    for (std::size_t r = n; r-- > 0;)
        if (mPart[r] == unknown)
            mPart[r] = mPart[at(parentOf(r))];
    mTopSpare.assign(1, 0);
    for (const std::int32_t t : mTop)
        mTopSpare.push_back(mTopSpare.back() + upStart[at(t) + 1] - upStart[at(t)]);
    mSpare.weights.resize(mTopSpare.back());
    mSpare.via.resize(mTopSpare.back());
}

std::uint32_t qcCustomization::spareOf(std::int32_t rank, std::uint32_t edge) const
{
    const std::size_t t = static_cast<std::size_t>(std::lower_bound(mTop.begin(), mTop.end(), rank) - mTop.begin());
    return mTopSpare[t] + edge - mChordal.upStart[at(rank)];
}

std::size_t qcCustomization::memoryBytes() const
{
    return mChordal.memoryBytes() + mLinkArcs.size() * sizeof(LinkArc) +
           (mWeights.size() + mSpare.weights.size()) * sizeof(Weights) + (mVia.size() + mSpare.via.size()) * sizeof(Via) +
           mKept.size() + mPart.size() + (mTop.size() + mTopSpare.size()) * 4;
}

// Each arc is offered the ways through its upper and intermediate triangles, ranks from the top
// down, which makes every weight the cheapest way between its ends. An arc that cost more than
// that way is left out: the cheapest path it was to stand for then climbs higher, over arcs
// that cost no more than their ways (climbing the other way round would take a cheaper arc
// apart), and that each stand for arcs of the same kind. The rest, whose weights only changed
// by rounding, are kept, and so are the arcs that kept arcs stand for.
void qcCustomization::prune()
{
    const std::size_t n = mChordal.nodeOfRank.size();
    // Both sums of a tie add up at most n scores each.
    const double close = 1.0 - 2.0 * static_cast<double>(n + 1) * std::numeric_limits<double>::epsilon();
    mKept.assign(mWeights.size(), 0);
    // The top first, then both parts: a rank's triangles reach only its ancestors' edges, and
    // what a kept arc stands for lies below it, in the same part.
    std::vector<Weights> before;
    for (auto t = mTop.rbegin(); t != mTop.rend(); ++t)
        pruneRank(at(*t), close, before);
    qfInTwo([&](int part) {
        std::vector<Weights> own;
        for (std::size_t v = n; v-- > 0;) {
            if (part == 0 && v % 65536 == 0)
                qcAttention::check();
            if (mPart[v] == part)
                pruneRank(v, close, own);
        }
    });
}

void qcCustomization::pruneRank(std::size_t v, double close, std::vector<Weights>& before)
{
    const std::uint32_t first = mChordal.upStart[v], end = mChordal.upStart[v + 1];
    before.assign(mWeights.begin() + first, mWeights.begin() + end);  // of the rank's edges
    forEachTriangle(mChordal, v, [this](std::uint32_t e1, std::uint32_t e2, std::uint32_t e3) {
        Weights& w1 = mWeights[e1];
        Weights& w2 = mWeights[e2];
        const Weights& w3 = mWeights[e3];  // final: its ends are higher
        w1.up = std::min(w1.up, w2.up + w3.down);        // v -> w -> u
        w1.down = std::min(w1.down, w3.up + w2.down);    // u -> w -> v
        w2.up = std::min(w2.up, w1.up + w3.up);          // v -> u -> w
        w2.down = std::min(w2.down, w3.down + w1.down);  // w -> u -> v
    });
    // The rank's edges are final now, and the arcs they stand for are of lower ranks. Kept
    // arcs take back their weights, those of what they stand for; either is the weight of
    // a way, which is all that the ranks below need.
    for (std::uint32_t e = first; e < end; ++e) {
        Weights& w = mWeights[e];
        const Weights& was = before[e - first];
        const Via& via = mVia[e];
        if (!(w.up < was.up * close))
            mKept[e] |= keptUp;
        if (!(w.down < was.down * close))
            mKept[e] |= keptDown;
        if (mKept[e] & keptUp)
            w.up = was.up;
        if (mKept[e] & keptDown)
            w.down = was.down;
        if ((mKept[e] & keptUp) && via.upSecond >= 0) {
            mKept[at(via.upFirst)] |= keptDown;
            mKept[at(via.upSecond)] |= keptUp;
        }
        if ((mKept[e] & keptDown) && via.downSecond >= 0) {
            mKept[at(via.downFirst)] |= keptDown;
            mKept[at(via.downSecond)] |= keptUp;
        }
    }
}

bool qcCustomization::weighLinks(const qcDirectedGraph& graph, std::size_t first, std::size_t last)
{
    constexpr std::size_t ahead = 16;
    for (std::size_t k = first; k < last; ++k) {
        // The links lie anywhere: asking for them well before they are needed lets the waits
        // for memory overlap.
        if (k + ahead < last)
            __builtin_prefetch(&graph.link(mLinkArcs[k + ahead].link));
        const auto [l, arc] = mLinkArcs[k];
        const double score = graph.link(l).score();
        if (score < 0.0)
            return false;
        const bool isUp = arc % 2 == 0;
        double& weight = isUp ? mWeights[at(arc / 2)].up : mWeights[at(arc / 2)].down;
        if (score < weight) {  // the first of equal links, as the two-node search meets them
            weight = score;
            (isUp ? mVia[at(arc / 2)].upFirst : mVia[at(arc / 2)].downFirst) = l;
        }
    }
    return true;
}

void qcCustomization::weighPart(std::uint8_t part, Offers* spare)
{
    const auto offer = [this, spare](std::uint32_t e1, std::uint32_t e2, std::uint32_t e3) {
        const Weights& w1 = mWeights[e1];
        const Weights& w2 = mWeights[e2];
        const std::int32_t u = mChordal.up[e1];  // e3's lower end
        const bool apart = spare && mPart[at(u)] == topPart;
        const std::uint32_t slot = apart ? spareOf(u, e3) : 0;
        Weights& w3 = apart ? spare->weights[slot] : mWeights[e3];
        Via& via3 = apart ? spare->via[slot] : mVia[e3];
        const double forth = w1.down + w2.up;  // u -> v -> w
        if (forth < w3.up) {
            w3.up = forth;
            via3.upFirst = static_cast<std::int32_t>(e1);
            via3.upSecond = static_cast<std::int32_t>(e2);
        }
        const double back = w2.down + w1.up;  // w -> v -> u
        if (back < w3.down) {
            w3.down = back;
            via3.downFirst = static_cast<std::int32_t>(e2);
            via3.downSecond = static_cast<std::int32_t>(e1);
        }
    };
    if (part == topPart) {
        for (const std::int32_t t : mTop)
            forEachTriangle(mChordal, at(t), offer);
        return;
    }
    for (std::size_t v = 0; v < mPart.size(); ++v) {
        if (part == 0 && v % 65536 == 0)
            qcAttention::check();
        if (mPart[v] == part)
            forEachTriangle(mChordal, v, offer);
    }
}

void qcCustomization::reserve(qcHierarchy& h) const
{
    const std::size_t edges = mChordal.up.size();
    reserveTouched(h.arcs, 2 * edges);
    reserveTouched(h.linkScores, std::min(2 * edges, mLinkArcs.size()));
    reserveTouched(h.up, edges);
    reserveTouched(h.down, edges);
}

void qcCustomization::customize(const qcDirectedGraph& graph, double unreached, qcHierarchy& h)
{
    const std::size_t n = mChordal.nodeOfRank.size(), edges = mChordal.up.size();
    const std::vector<std::int32_t>& up = mChordal.up;
    const std::vector<std::uint32_t>& upStart = mChordal.upStart;
    std::fill(mWeights.begin(), mWeights.end(), Weights{infinity, infinity});
    std::fill(mVia.begin(), mVia.end(), Via{0, -1, 0, -1});
    bool scoresFine[2] = {true, true};
    qfInTwo([&](int part) {
        scoresFine[part] = part == 0 ? weighLinks(graph, 0, mLinkHalf) : weighLinks(graph, mLinkHalf, mLinkArcs.size());
    });
    if (!scoresFine[0] || !scoresFine[1])
        throw qcInvariantFailure();
    // Rank by rank, each arc between two higher neighbours of the rank is offered the way
    // through it. The arcs of the rank's own edges are final by then: their lower triangles
    // have lower middle nodes, which are their descendants, of the same part. The top's arcs
    // are offered ways by both parts: part 1's offers are kept apart, and taken where they
    // are cheaper than part 0's (not on a tie, so that the index is the same on one thread).
    std::fill(mSpare.weights.begin(), mSpare.weights.end(), Weights{infinity, infinity});
    std::fill(mSpare.via.begin(), mSpare.via.end(), Via{0, -1, 0, -1});
    qfInTwo([&](int part) { weighPart(static_cast<std::uint8_t>(part), part == 0 ? nullptr : &mSpare); });
    for (std::size_t t = 0; t < mTop.size(); ++t) {
        const std::uint32_t first = upStart[at(mTop[t])];
        for (std::uint32_t e = first; e < upStart[at(mTop[t]) + 1]; ++e) {
            Weights& w = mWeights[e];
            Via& via = mVia[e];
            const Weights& offer = mSpare.weights[mTopSpare[t] + e - first];
            const Via& offerVia = mSpare.via[mTopSpare[t] + e - first];
            if (offer.up < w.up) {
                w.up = offer.up;
                via.upFirst = offerVia.upFirst;
                via.upSecond = offerVia.upSecond;
            }
            if (offer.down < w.down) {
                w.down = offer.down;
                via.downFirst = offerVia.downFirst;
                via.downSecond = offerVia.downSecond;
            }
        }
    }
    weighPart(topPart, nullptr);
    prune();

    // Memory first, so that nothing after it throws and `h` is never left half made.
    std::size_t links = 0, arcs = 0, ups = 0;
    for (std::size_t e = 0; e < edges; ++e) {
        const bool upKept = (mKept[e] & keptUp) && mWeights[e].up < unreached;
        const bool downKept = (mKept[e] & keptDown) && mWeights[e].down < unreached;
        ups += upKept ? 1 : 0;
        arcs += (upKept ? 1 : 0) + (downKept ? 1 : 0);
        links += (upKept && mVia[e].upSecond < 0 ? 1 : 0) + (downKept && mVia[e].downSecond < 0 ? 1 : 0);
    }
    std::vector<qcHierarchyArc> arcRoom;
    std::vector<double> scoreRoom;
    std::vector<qcHierarchyStep> upRoom, downRoom;
    takeRoom(h.arcs, arcs, arcRoom);
    takeRoom(h.linkScores, links, scoreRoom);
    takeRoom(h.up, ups, upRoom);
    takeRoom(h.down, arcs - ups, downRoom);
    h.nodeOfRank.reserve(n);
    h.rankOfNode.reserve(n);
    h.parent.reserve(n);
    h.upStart.reserve(n + 1);
    h.downStart.reserve(n + 1);
    useRoom(h.arcs, arcRoom);
    useRoom(h.linkScores, scoreRoom);
    useRoom(h.up, upRoom);
    useRoom(h.down, downRoom);

    h.nodeOfRank = mChordal.nodeOfRank;
    h.rankOfNode.assign(n, -1);
    for (std::size_t r = 0; r < n; ++r)
        h.rankOfNode[at(h.nodeOfRank[r])] = static_cast<std::int32_t>(r);
    h.coreFrom = static_cast<std::int32_t>(n);
    h.coreTable = qcCoreTable();
    h.parent.resize(n);
    for (std::size_t r = 0; r < n; ++r)
        h.parent[r] = upStart[r] < upStart[r + 1] ? up[upStart[r]] : -1;
    // The arcs kept, links first, then shortcuts after the arcs they stand for, which are of
    // lower edges. Once an arc is laid out, its first field names it, which is all that the
    // shortcuts of higher edges need of it.
    h.arcs.resize(arcs);
    h.linkScores.resize(links);
    std::int32_t nextLink = 0, nextShortcut = static_cast<std::int32_t>(links);
    const auto layOut = [&](double weight, std::int32_t& first, std::int32_t second, std::int32_t from, std::int32_t to) {
        if (second < 0) {
            h.arcs[at(nextLink)] = qcHierarchyArc{to, first, -1 - from};
            h.linkScores[at(nextLink)] = weight;
            first = nextLink++;
        } else {  // down the first edge, up the second
            h.arcs[at(nextShortcut)] = qcHierarchyArc{to, mVia[at(first)].downFirst, mVia[at(second)].upFirst};
            first = nextShortcut++;
        }
        return first;
    };
    h.up.clear();
    h.down.clear();
    h.upStart.assign(n + 1, 0);
    h.downStart.assign(n + 1, 0);
    for (std::size_t r = 0; r < n; ++r) {
        const std::int32_t low = static_cast<std::int32_t>(r);
        for (std::uint32_t e = upStart[r]; e < upStart[r + 1]; ++e) {
            const Weights& w = mWeights[e];
            Via& via = mVia[e];
            if ((mKept[e] & keptUp) && w.up < unreached)
                h.up.push_back(qcHierarchyStep{up[e], layOut(w.up, via.upFirst, via.upSecond, low, up[e]), w.up});
            if ((mKept[e] & keptDown) && w.down < unreached)
                h.down.push_back(qcHierarchyStep{up[e], layOut(w.down, via.downFirst, via.downSecond, up[e], low), w.down});
        }
        h.upStart[r + 1] = static_cast<std::uint32_t>(h.up.size());
        h.downStart[r + 1] = static_cast<std::uint32_t>(h.down.size());
    }
}
