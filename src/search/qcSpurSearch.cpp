#include "search/qcSpurSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "qcAttention.h"
#include "search/qcSearchHeap.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

qcSpurSearch::qcSpurSearch(const qcPathSteps& steps, std::int32_t end)
    : mSteps(steps), mEnd(end), mSumsExact(sumsExact(steps)),
      // A sum of n + 1 terms of one sign rounds by at most n + 1 units of 2^-53 of it.
      mShrink(1.0 - (static_cast<double>(steps.numNodes()) + 2.0) * std::numeric_limits<double>::epsilon()),
      mToEnd(at(steps.numNodes()), infinity), mSeen(mToEnd.size(), 0), mBlocked(mToEnd.size(), 0),
      mCost(mToEnd.size()), mFrom(mToEnd.size()), mLink(mToEnd.size()), mTaken(mToEnd.size())
{
    qcSearchHeap heap;
    mToEnd[at(end)] = 0.0;
    heap.push(0.0, end);
    for (long pass = 0; !heap.empty(); ++pass) {
        if (pass % 64 == 0)
            qcAttention::check();
        const double d = heap.topKey();
        const std::int32_t v = heap.takeOut();
        if (d != mToEnd[at(v)])
            continue;  // an outdated entry
        for (const qcPathStep* s = steps.inBegin(v); s != steps.inEnd(v); ++s) {
            const double via = s->score + d;
            if (via < mToEnd[at(s->node)]) {
                mToEnd[at(s->node)] = via;
                heap.push(via, s->node);
            }
        }
    }
    clearBlocks();
}

bool qcSpurSearch::sumsExact(const qcPathSteps& steps)
{
    double total = 0.0;
    for (std::int32_t u = 0; u < steps.numNodes(); ++u)
        for (const qcPathStep* s = steps.outBegin(u); s != steps.outEnd(u); ++s) {
            if (s->score != std::floor(s->score))
                return false;
            total += s->score;
        }
    return total <= 0x1p52;
}

void qcSpurSearch::stampAnew(std::vector<std::uint32_t>& stamps, std::uint32_t& stamp)
{
    if (++stamp == 0) {
        std::fill(stamps.begin(), stamps.end(), 0);
        stamp = 1;
    }
}

void qcSpurSearch::clearBlocks() { stampAnew(mBlocked, mBlockStamp); }

// Whether reaching s.node from u at cost c beats the way to it found so far.
bool qcSpurSearch::improves(std::int32_t u, const qcPathStep& s, qcPathCost c) const
{
    const std::size_t w = at(s.node);
    if (mSeen[w] != mSeenStamp || c < mCost[w])
        return true;
    return c == mCost[w] && u < mFrom[w];
}

bool qcSpurSearch::run(std::int32_t from, qcPathCost cost, const qcIndexArray& firstBanned, double bound,
                       qcPathCost& found, qcIndexArray& nodes, qcIndexArray& links)
{
    stampAnew(mSeen, mSeenStamp);
    mOpen.clear();
    mSeen[at(from)] = mSeenStamp;
    mCost[at(from)] = cost;
    mTaken[at(from)] = 0;
    mOpen.push_back({cost.score + mToEnd[at(from)], cost, from});
    bool reached = false;
    for (long pass = 0; !mOpen.empty(); ++pass) {
        if (pass % 64 == 0)
            qcAttention::check();
        // A tree score, added from the end, may round above what the same links cost added from
        // the start: past the first way to the end, what may still come in at its cost is searched.
        if (reached && !(lowered(mOpen.front().guess) <= mCost[at(mEnd)].score))
            break;
        std::pop_heap(mOpen.begin(), mOpen.end());
        const Open top = mOpen.back();
        mOpen.pop_back();
        const std::int32_t u = top.node;
        if (!(top.cost == mCost[at(u)]) || mTaken[at(u)])
            continue;
        if (u == mEnd) {
            reached = true;
            if (mSumsExact)
                break;
            continue;
        }
        mTaken[at(u)] = 1;
        for (const qcPathStep* s = mSteps.outBegin(u); s != mSteps.outEnd(u); ++s) {
            const double guess = top.cost.score + s->score + mToEnd[at(s->node)];
            if (blocked(s->node) || !(guess < infinity) || !(lowered(guess) <= bound))
                continue;
            if (u == from && std::find(firstBanned.begin(), firstBanned.end(), s->node) != firstBanned.end())
                continue;
            const qcPathCost c{top.cost.score + s->score, top.cost.length + 1};
            if (!improves(u, *s, c))
                continue;
            const std::size_t w = at(s->node);
            // A cheaper way reopens a taken node; another predecessor alone changes no later step.
            const bool cheaper = mSeen[w] != mSeenStamp || c < mCost[w];
            mSeen[w] = mSeenStamp;
            mFrom[w] = u;
            mLink[w] = s->link;
            if (cheaper) {
                mCost[w] = c;
                mTaken[w] = 0;
                mOpen.push_back({guess, c, s->node});
                std::push_heap(mOpen.begin(), mOpen.end());
            }
        }
    }
    if (!reached)
        return false;
    found = mCost[at(mEnd)];
    nodes.clear();
    links.clear();
    for (std::int32_t v = mEnd; v != from; v = mFrom[at(v)]) {
        nodes.push_back(v);
        links.push_back(mLink[at(v)]);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(links.begin(), links.end());
    return true;
}
