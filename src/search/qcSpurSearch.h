#ifndef QC_SPUR_SEARCH_H
#define QC_SPUR_SEARCH_H

#include <cstdint>
#include <vector>

#include "qcDirectedGraph.h"
#include "search/qcPathSteps.h"

// A path's cost, as the loopless listing orders paths: the score (added from the start), then
// the number of links.
struct qcPathCost {
    double score;
    std::int32_t length;

    bool operator<(const qcPathCost& o) const { return score < o.score || (score == o.score && length < o.length); }
    bool operator==(const qcPathCost& o) const { return score == o.score && length == o.length; }
};

// The searches of the loopless listing over one graph's steps toward one end node: once, the
// tree of cheapest scores to the end (Dijkstra's algorithm over the entering steps); then any
// number of searches from a node of a path to the end, around blocked nodes, guided by that
// tree (A*: a node is taken in the order of its score so far plus its tree score, then fewer
// links). The tree score never exceeds what is left to pay around any blocked nodes, so the
// guide is exact where the tree path is free and only the nodes near blocked ones are searched.
class qcSpurSearch {
public:
    // Calls qcAttention::check() before every 64th node taken.
    qcSpurSearch(const qcPathSteps& steps, std::int32_t end);

    // The cheapest score from v to the end, +infinity when it cannot be reached.
    double toEnd(std::int32_t v) const { return mToEnd[at(v)]; }
    // Bounds from below the score of a path whose parts were bounded by `estimate`, however
    // the parts were added up (each sum rounds by at most half a unit of its last place; none
    // rounds when every score is whole and all of them add up to at most 2^52).
    double lowered(double estimate) const { return mSumsExact ? estimate : estimate * mShrink; }

    // Unblocks every node.
    void clearBlocks();
    void block(std::int32_t v) { mBlocked[at(v)] = mBlockStamp; }
    bool blocked(std::int32_t v) const { return mBlocked[at(v)] == mBlockStamp; }

    // The cheapest way from `from`, reached at cost `cost`, to the end over unblocked nodes
    // (from itself blocked), not stepping first to a node of `firstBanned`. Among equal costs the
    // way whose last step comes from the lower node index, then the step before, and so on.
    // Gives up on ways that cannot cost `bound` or less. Fills nodes and links with the way's
    // nodes after `from` and its links; false when there is none. Calls qcAttention::check()
    // before every 64th node taken.
    bool run(std::int32_t from, qcPathCost cost, const qcIndexArray& firstBanned, double bound,
             qcPathCost& found, qcIndexArray& nodes, qcIndexArray& links);

private:
    static std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }
    static bool sumsExact(const qcPathSteps& steps);
    struct Open {
        double guess;  // score so far plus the tree score
        qcPathCost cost;
        std::int32_t node;
        // The heap's top is the least guess, then the fewest links.
        bool operator<(const Open& o) const
        {
            return o.guess < guess || (o.guess == guess && o.cost.length < cost.length);
        }
    };

    void stampAnew(std::vector<std::uint32_t>& stamps, std::uint32_t& stamp);
    bool improves(std::int32_t u, const qcPathStep& s, qcPathCost c) const;

    const qcPathSteps& mSteps;
    std::int32_t mEnd;
    bool mSumsExact;
    double mShrink;
    std::vector<double> mToEnd;
    // Per node, valid in the current search where mSeen holds mSeenStamp.
    std::vector<std::uint32_t> mSeen;
    std::vector<std::uint32_t> mBlocked;
    std::vector<qcPathCost> mCost;
    std::vector<std::int32_t> mFrom;  // the node before, on the cheapest way found
    std::vector<std::int32_t> mLink;
    std::vector<char> mTaken;
    std::uint32_t mSeenStamp = 0;
    std::uint32_t mBlockStamp = 0;
    std::vector<Open> mOpen;
};

#endif
