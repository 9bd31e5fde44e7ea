#include "search/qcSimplePathSearch.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "qcAttention.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

// Equal costs mean equal lengths, so the node sequences line up from the end.
bool qcSimplePathSearch::Candidate::operator<(const Candidate& o) const
{
    if (!(cost == o.cost))
        return cost < o.cost;
    return std::lexicographical_compare(nodes.rbegin(), nodes.rend(), o.nodes.rbegin(), o.nodes.rend());
}

qcSimplePathSearch::qcSimplePathSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                                       std::int32_t limit)
    : mSteps(graph), mSpur(mSteps, end), mLeft(limit)
{
    mTree.push_back({start, -1, -1, -1, -1, {0.0, 0}});
    if (start == end) {
        // Any other path would come back to its start.
        mCandidates.insert({{0.0, 0}, -1, {start}, {}});
        return;
    }
    blockPrefix(0);
    queueClass(0);
}

bool qcSimplePathSearch::next(qcDirectedGraphPath& path, double& score)
{
    if (mLeft == 0)
        return false;
    for (;;) {
        if (mRounds++ % 64 == 0)
            qcAttention::check();
        // A class whose bound ties the best candidate may still hold a path that comes first.
        if (!mClasses.empty() &&
            (mCandidates.empty() || mClasses.top().bound <= mCandidates.begin()->cost.score)) {
            const Bounded b = mClasses.top();
            if (b.bound <= bound())
                searchClass(b.prefix);  // on an abort the class stays queued
            mClasses.pop();
            continue;
        }
        if (mCandidates.empty())
            return false;
        const Candidate c = std::move(mCandidates.extract(mCandidates.begin()).value());
        --mLeft;
        trim();
        list(c);
        path = qcDirectedGraphPath(c.nodes, c.links);
        score = c.cost.score;
        return true;
    }
}

// The score the last path still to be listed cannot exceed, once enough candidates are known.
double qcSimplePathSearch::bound() const
{
    return mLeft > 0 && mCandidates.size() >= static_cast<std::size_t>(mLeft) ? std::prev(mCandidates.end())->cost.score
                                                                               : infinity;
}

void qcSimplePathSearch::trim()
{
    while (mCandidates.size() > static_cast<std::size_t>(mLeft))
        mCandidates.erase(std::prev(mCandidates.end()));
}

void qcSimplePathSearch::blockPrefix(std::int32_t prefix)
{
    mSpur.clearBlocks();
    for (std::int32_t p = prefix; p != -1; p = mTree[static_cast<std::size_t>(p)].parent)
        mSpur.block(mTree[static_cast<std::size_t>(p)].node);
}

void qcSimplePathSearch::queueClass(std::int32_t prefix)
{
    const Prefix& p = mTree[static_cast<std::size_t>(prefix)];
    double cheapest = infinity;
    for (const qcPathStep* s = mSteps.outBegin(p.node); s != mSteps.outEnd(p.node); ++s) {
        if (mSpur.blocked(s->node) || !(s->score + mSpur.toEnd(s->node) < cheapest))
            continue;
        bool listed = false;
        for (std::int32_t c = p.firstChild; c != -1 && !listed; c = mTree[static_cast<std::size_t>(c)].nextSibling)
            listed = mTree[static_cast<std::size_t>(c)].node == s->node;
        if (!listed)
            cheapest = s->score + mSpur.toEnd(s->node);
    }
    const double least = mSpur.lowered(p.cost.score + cheapest);
    if (least < infinity && least <= bound())
        mClasses.push({least, prefix});
}

void qcSimplePathSearch::searchClass(std::int32_t prefix)
{
    blockPrefix(prefix);
    const Prefix& p = mTree[static_cast<std::size_t>(prefix)];
    mBanned.clear();
    for (std::int32_t c = p.firstChild; c != -1; c = mTree[static_cast<std::size_t>(c)].nextSibling)
        mBanned.push_back(mTree[static_cast<std::size_t>(c)].node);
    Candidate found{{}, prefix, {}, {}};  // its cost comes from the run
    qcIndexArray nodes, links;
    if (!mSpur.run(p.node, p.cost, mBanned, bound(), found.cost, nodes, links))
        return;
    for (std::int32_t q = prefix; q != -1; q = mTree[static_cast<std::size_t>(q)].parent) {
        found.nodes.push_back(mTree[static_cast<std::size_t>(q)].node);
        if (mTree[static_cast<std::size_t>(q)].link != -1)
            found.links.push_back(mTree[static_cast<std::size_t>(q)].link);
    }
    std::reverse(found.nodes.begin(), found.nodes.end());
    std::reverse(found.links.begin(), found.links.end());
    found.nodes.insert(found.nodes.end(), nodes.begin(), nodes.end());
    found.links.insert(found.links.end(), links.begin(), links.end());
    mCandidates.insert(std::move(found));
    trim();
}

double qcSimplePathSearch::stepScore(std::int32_t u, std::int32_t w) const
{
    const qcPathStep* s = mSteps.outBegin(u);
    while (s->node != w)
        ++s;
    return s->score;
}

void qcSimplePathSearch::list(const Candidate& c)
{
    if (c.prefix == -1)
        return;
    const std::int32_t first = static_cast<std::int32_t>(mTree.size());
    std::int32_t parent = c.prefix;
    qcPathCost cost = mTree[static_cast<std::size_t>(parent)].cost;
    for (std::size_t i = static_cast<std::size_t>(cost.length) + 1; i < c.nodes.size(); ++i) {
        cost = {cost.score + stepScore(c.nodes[i - 1], c.nodes[i]), cost.length + 1};
        const std::int32_t sibling = mTree[static_cast<std::size_t>(parent)].firstChild;
        mTree.push_back({c.nodes[i], c.links[i - 1], parent, -1, sibling, cost});
        mTree[static_cast<std::size_t>(parent)].firstChild = static_cast<std::int32_t>(mTree.size()) - 1;
        parent = static_cast<std::int32_t>(mTree.size()) - 1;
    }
    // The last new prefix ends at the end node: no loopless path goes on from there.
    blockPrefix(c.prefix);
    queueClass(c.prefix);
    for (std::int32_t p = first; p + 1 < static_cast<std::int32_t>(mTree.size()); ++p) {
        mSpur.block(mTree[static_cast<std::size_t>(p)].node);
        queueClass(p);
    }
}
