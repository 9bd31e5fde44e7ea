#include "index/qcDissection.h"

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <limits>
#include <utility>

#include "graph/qcIndex.h"
#include "qcAttention.h"

namespace {

enum Role : std::int8_t { middle, source, sink };

class Dissection {
public:
    Dissection(const qcNeighbourRows& graph, const std::vector<double>& x, const std::vector<double>& y,
               double maxTriangles);
    std::vector<std::int32_t> order();

private:
    using Part = std::vector<std::int32_t>;
    // Orders a part or hands its pieces to `work`; false once the budget of triangles is spent.
    bool split(Part& part, std::vector<Part>& work);
    bool separate(const Part& part, std::vector<Part>& work);
    // The maximum flow from the sources to the sinks of the part, over edges of capacity one
    // each way, or `cap` once it gets there.
    int maxFlow(const Part& part, int cap);
    bool augment(std::int32_t from);
    // The nodes the sources reach over arcs left unsaturated.
    Part sourceSide(const Part& part);
    void place(std::int32_t v)
    {
        mNodeOfRank[--mFree] = v;
        mNode[at(v)].label = 0;
    }
    bool inPart(std::int32_t v) const { return mNode[at(v)].label == mPart; }

    // What the searches read of a node, in one place: they meet nodes at random.
    struct Node {
        std::uint32_t label = 0;  // the part the node is in, 0 once it has a rank
        std::uint32_t seen = 0;   // the phase its level is of
        std::int32_t level = 0;
        std::uint32_t cursor = 0;
        Role role = middle;
    };

    qcNeighbourRows mGraph;  // renumbered, so that near nodes lie near in memory
    std::vector<std::int32_t> mOriginal;  // of each node as renumbered
    std::vector<double> mX, mY;
    double mTrianglesLeft;
    std::vector<std::uint32_t> mReverse;  // per arc, the arc back
    std::vector<std::int8_t> mFlow;       // per arc: -1, 0 or 1, the opposite of its reverse's
    std::vector<Node> mNode;
    std::vector<std::int32_t> mSeeds, mQueue, mPath;
    std::vector<std::uint32_t> mPathArcs;
    std::uint32_t mPart = 0, mPhase = 0;
    std::vector<std::int32_t> mNodeOfRank;
    std::size_t mFree;
};

// The bits of a 16-bit number, each moved to twice its place.
std::uint32_t spread(std::uint32_t v)
{
    v = (v | (v << 8)) & 0x00ff00ffu;
    v = (v | (v << 4)) & 0x0f0f0f0fu;
    v = (v | (v << 2)) & 0x33333333u;
    return (v | (v << 1)) & 0x55555555u;
}

Dissection::Dissection(const qcNeighbourRows& graph, const std::vector<double>& x, const std::vector<double>& y,
                       double maxTriangles)
    : mOriginal(graph.numNodes()), mX(graph.numNodes()), mY(graph.numNodes()), mTrianglesLeft(maxTriangles),
      mNode(graph.numNodes()), mNodeOfRank(graph.numNodes(), -1), mFree(graph.numNodes())
{
    const std::size_t n = graph.numNodes();
    // Positions that are not finite would leave the nodes unordered.
    const auto finite = [](double c) { return std::isfinite(c) ? c : 0.0; };
    double low[2] = {0.0, 0.0}, high[2] = {0.0, 0.0};
    for (std::size_t v = 0; v < n; ++v) {
        const double c[2] = {finite(x[v]), finite(y[v])};
        for (int i = 0; i < 2; ++i) {
            low[i] = v == 0 ? c[i] : std::min(low[i], c[i]);
            high[i] = v == 0 ? c[i] : std::max(high[i], c[i]);
        }
    }
    // Renumbered along a Z-order curve over the positions.
    const auto cell = [&](double c, int i) {
        const double scale = high[i] - low[i] > 0.0 && std::isfinite(high[i] - low[i]) ? 65535.0 / (high[i] - low[i]) : 0.0;
        return static_cast<std::uint32_t>(std::min(65535.0, (c - low[i]) * scale));
    };
    std::vector<std::pair<std::uint32_t, std::int32_t>> curve(n);
    for (std::size_t v = 0; v < n; ++v)
        curve[v] = {spread(cell(finite(x[v]), 0)) | spread(cell(finite(y[v]), 1)) << 1, static_cast<std::int32_t>(v)};
    std::sort(curve.begin(), curve.end());
    std::vector<std::int32_t> renamed(n);
    for (std::size_t v = 0; v < n; ++v) {
        mOriginal[v] = curve[v].second;
        renamed[at(curve[v].second)] = static_cast<std::int32_t>(v);
        mX[v] = finite(x[at(curve[v].second)]);
        mY[v] = finite(y[at(curve[v].second)]);
    }
    mGraph.start.assign(n + 1, 0);
    mGraph.node.reserve(graph.node.size());
    for (std::size_t v = 0; v < n; ++v) {
        const std::int32_t u = mOriginal[v];
        for (std::uint32_t a = graph.start[at(u)]; a < graph.start[at(u) + 1]; ++a)
            mGraph.node.push_back(renamed[at(graph.node[a])]);
        std::sort(mGraph.node.begin() + mGraph.start[v], mGraph.node.end());
        mGraph.start[v + 1] = static_cast<std::uint32_t>(mGraph.node.size());
    }
    mReverse.resize(mGraph.node.size());
    mFlow.assign(mGraph.node.size(), 0);
    for (std::size_t v = 0; v < n; ++v) {
        for (std::uint32_t a = mGraph.start[v]; a < mGraph.start[v + 1]; ++a) {
            const std::int32_t w = mGraph.node[a];
            const auto first = mGraph.node.begin() + mGraph.start[at(w)];
            const auto last = mGraph.node.begin() + mGraph.start[at(w) + 1];
            mReverse[a] = static_cast<std::uint32_t>(std::lower_bound(first, last, static_cast<std::int32_t>(v)) -
                                                     mGraph.node.begin());
        }
    }
}

std::vector<std::int32_t> Dissection::order()
{
    std::vector<Part> work(1, Part(mGraph.numNodes()));
    for (std::size_t v = 0; v < mGraph.numNodes(); ++v)
        work[0][v] = static_cast<std::int32_t>(v);
    for (std::size_t done = 0; !work.empty(); ++done) {
        if (done % 64 == 0)
            qcAttention::check();
        Part part = std::move(work.back());
        work.pop_back();
        if (!split(part, work))
            return {};
    }
    for (std::int32_t& v : mNodeOfRank)
        v = mOriginal[at(v)];
    return std::move(mNodeOfRank);
}

bool Dissection::split(Part& part, std::vector<Part>& work)
{
    ++mPart;
    for (const std::int32_t v : part)
        mNode[at(v)].label = mPart;
    if (part.size() <= 2) {
        for (const std::int32_t v : part)
            place(v);
        return true;
    }
    // A part in pieces: the piece of its first node, and the rest, each on its own.
    mQueue.assign(1, part[0]);
    mNode[at(part[0])].label = 0;
    for (std::size_t i = 0; i < mQueue.size(); ++i) {
        const std::int32_t v = mQueue[i];
        for (std::uint32_t a = mGraph.start[at(v)]; a < mGraph.start[at(v) + 1]; ++a) {
            const std::int32_t w = mGraph.node[a];
            if (inPart(w)) {
                mNode[at(w)].label = 0;
                mQueue.push_back(w);
            }
        }
    }
    if (mQueue.size() < part.size()) {
        Part rest;
        for (const std::int32_t v : part)
            if (inPart(v))
                rest.push_back(v);
        work.push_back(std::move(rest));
        work.push_back(mQueue);
        return true;
    }
    for (const std::int32_t v : mQueue)
        mNode[at(v)].label = mPart;
    return separate(part, work);
}

bool Dissection::separate(const Part& part, std::vector<Part>& work)
{
    // A narrow middle of a fifth of the nodes: wider ones find cuts a little smaller, at a cost
    // that grows fast with the part.
    const std::size_t k = std::max<std::size_t>(1, part.size() * 2 / 5);
    std::vector<std::pair<double, std::int32_t>> keys(part.size());
    constexpr double direction[4][2] = {{1.0, 0.0}, {0.0, 1.0}, {1.0, 1.0}, {1.0, -1.0}};
    int best = std::numeric_limits<int>::max();
    Part side;
    for (const auto& d : direction) {
        for (std::size_t i = 0; i < part.size(); ++i) {
            const std::int32_t v = part[i];
            keys[i] = {d[0] * mX[at(v)] + d[1] * mY[at(v)], v};
        }
        std::nth_element(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(k - 1), keys.end());
        std::nth_element(keys.begin() + static_cast<std::ptrdiff_t>(k), keys.end() - static_cast<std::ptrdiff_t>(k),
                         keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i)
            mNode[at(keys[i].second)].role = i < k ? source : i >= keys.size() - k ? sink : middle;
        const int cut = maxFlow(part, best);
        if (cut < best) {
            best = cut;
            side = sourceSide(part);
        }
    }
    for (const std::int32_t v : part)
        mNode[at(v)].role = middle;

    // Of the edges cut, the ends on one side make a separator: the side with fewer of them.
    for (const std::int32_t v : side)
        mNode[at(v)].role = source;
    Part nearSide, farSide;
    for (const std::int32_t v : part) {
        bool acrossFound = false;
        for (std::uint32_t a = mGraph.start[at(v)]; a < mGraph.start[at(v) + 1] && !acrossFound; ++a) {
            const std::int32_t w = mGraph.node[a];
            acrossFound = inPart(w) && (mNode[at(w)].role == source) != (mNode[at(v)].role == source);
        }
        if (acrossFound)
            (mNode[at(v)].role == source ? nearSide : farSide).push_back(v);
    }
    const Part& separator = nearSide.size() <= farSide.size() ? nearSide : farSide;
    const double s = static_cast<double>(separator.size());
    const double triangles = s * (s - 1.0) * (s - 2.0) / 6.0;
    if (triangles > mTrianglesLeft)
        return false;
    mTrianglesLeft -= triangles;
    for (const std::int32_t v : separator)
        place(v);
    Part near, far;
    for (const std::int32_t v : part) {
        if (inPart(v))
            (mNode[at(v)].role == source ? near : far).push_back(v);
        mNode[at(v)].role = middle;
    }
    for (Part* p : {&near, &far})
        if (!p->empty())
            work.push_back(std::move(*p));
    return true;
}

int Dissection::maxFlow(const Part& part, int cap)
{
    mSeeds.clear();
    for (const std::int32_t v : part) {
        bool seed = false;
        for (std::uint32_t a = mGraph.start[at(v)]; a < mGraph.start[at(v) + 1]; ++a) {
            mFlow[a] = 0;
            const std::int32_t w = mGraph.node[a];
            seed = seed || (mNode[at(v)].role == source && inPart(w) && mNode[at(w)].role != source);
        }
        if (seed)
            mSeeds.push_back(v);
    }
    int value = 0;
    while (value < cap) {
        // Levels by breadth first from the sources, up to the first sinks met.
        ++mPhase;
        mQueue = mSeeds;
        for (const std::int32_t v : mQueue) {
            mNode[at(v)].seen = mPhase;
            mNode[at(v)].level = 0;
            mNode[at(v)].cursor = mGraph.start[at(v)];
        }
        int sinkLevel = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < mQueue.size() && mNode[at(mQueue[i])].level < sinkLevel; ++i) {
            const std::int32_t v = mQueue[i];
            for (std::uint32_t a = mGraph.start[at(v)]; a < mGraph.start[at(v) + 1]; ++a) {
                const std::int32_t w = mGraph.node[a];
                if (mFlow[a] == 1 || !inPart(w) || mNode[at(w)].role == source || mNode[at(w)].seen == mPhase)
                    continue;
                mNode[at(w)].seen = mPhase;
                mNode[at(w)].level = mNode[at(v)].level + 1;
                mNode[at(w)].cursor = mGraph.start[at(w)];
                if (mNode[at(w)].role == sink)
                    sinkLevel = mNode[at(w)].level;
                else
                    mQueue.push_back(w);
            }
        }
        if (sinkLevel == std::numeric_limits<int>::max())
            break;
        // Then as many paths along rising levels as there are.
        for (const std::int32_t s : mSeeds)
            while (value < cap && augment(s))
                ++value;
    }
    return value;
}

bool Dissection::augment(std::int32_t from)
{
    mPath.assign(1, from);
    mPathArcs.clear();
    while (!mPath.empty()) {
        const std::int32_t v = mPath.back();
        if (mNode[at(v)].role == sink) {
            for (const std::uint32_t a : mPathArcs) {
                ++mFlow[a];
                --mFlow[mReverse[a]];
            }
            return true;
        }
        std::uint32_t& a = mNode[at(v)].cursor;
        for (; a < mGraph.start[at(v) + 1]; ++a) {
            const std::int32_t w = mGraph.node[a];
            if (mFlow[a] < 1 && mNode[at(w)].seen == mPhase && mNode[at(w)].level == mNode[at(v)].level + 1 && inPart(w))
                break;
        }
        if (a < mGraph.start[at(v) + 1]) {
            mPath.push_back(mGraph.node[a]);
            mPathArcs.push_back(a);
        } else {
            mNode[at(v)].level = -1;  // leads nowhere in this phase
            mPath.pop_back();
            if (!mPathArcs.empty()) {
                mPathArcs.pop_back();
                ++mNode[at(mPath.back())].cursor;
            }
        }
    }
    return false;
}

Dissection::Part Dissection::sourceSide(const Part& part)
{
    ++mPhase;
    mQueue.clear();
    for (const std::int32_t v : part) {
        if (mNode[at(v)].role == source) {
            mNode[at(v)].seen = mPhase;
            mQueue.push_back(v);
        }
    }
    for (std::size_t i = 0; i < mQueue.size(); ++i) {
        const std::int32_t v = mQueue[i];
        for (std::uint32_t a = mGraph.start[at(v)]; a < mGraph.start[at(v) + 1]; ++a) {
            const std::int32_t w = mGraph.node[a];
            if (mFlow[a] < 1 && inPart(w) && mNode[at(w)].seen != mPhase) {
                mNode[at(w)].seen = mPhase;
                mQueue.push_back(w);
            }
        }
    }
    return mQueue;
}

}  // namespace

std::vector<std::int32_t> qfDissectionOrder(const qcNeighbourRows& graph, const std::vector<double>& x,
                                            const std::vector<double>& y, double maxTriangles)
{
    return Dissection(graph, x, y, maxTriangles).order();
}
