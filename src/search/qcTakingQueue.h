#ifndef QC_TAKING_QUEUE_H
#define QC_TAKING_QUEUE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

#include "search/qcQuadHeap.h"
#include "search/qcWalkSteps.h"

// The open walks of a ranked search with scores of any sign, one queue item per taking: the
// continuations of a taking differ only in their step, so one item stands for all of them, in
// the order (cost, creation order) in which they would be taken. For that a node's steps are
// kept sorted by (score, chain order).
//
// Continuations are created in taking order and, within one taking, in chain order; records are
// made in taking order too. So the creation order of two heads is that of their parents' records
// and, for one parent, that of their steps.
class qcTakingQueue {
public:
    qcTakingQueue(const qcWalkSteps& steps, long numLinks, std::int32_t start, bool bounded)
        : mSteps(steps), mStart(start), mBounded(bounded)
    {
        // Enough for every sound chain: each link stands in one.
        mStepPool.reserve(at(numLinks));
        push(OpenSteps{0.0, 0.0, -1, 0, 1});
    }

    bool empty() const { return mOpen.empty(); }
    std::size_t size() const { return mOpen.size(); }

    qcTaking takeFront()
    {
        const OpenSteps walk = mOpen.front();
        advance();
        return qcTaking{walk.cost, walk.parent, walk.parent == -1 ? mStart : mStepPool[walk.at].node};
    }

    // A record's walk: its node, the record it continues, its length (with length bounds only).
    bool holds(std::int32_t r) const { return r >= -1 && r < numRecords(); }
    std::int32_t numRecords() const { return static_cast<std::int32_t>(mRecords.size()); }
    std::int32_t node(std::int32_t r) const { return mRecords[at(r)].node; }
    std::int32_t parent(std::int32_t r) const { return mRecords[at(r)].parent; }
    std::int32_t order(std::int32_t r) const { return r; }
    std::int32_t length(std::int32_t r) const { return mLengths[at(r)]; }

    void addStep(double score, std::int32_t target)
    {
        mStepPool.push_back(Step{score, target, static_cast<std::uint32_t>(mStepPool.size()), 0});
    }
    // u's steps just made: sorted by (score, chain order), the last one marked.
    void addedSteps(std::int32_t u)
    {
        std::sort(mStepPool.begin() + mSteps.begin(u), mStepPool.end(),
                  [](const Step& a, const Step& b) { return a.score < b.score || (!(b.score < a.score) && a.rank < b.rank); });
        if (mSteps.end(u) > mSteps.begin(u))
            mStepPool.back().last = 1;
    }

    // How many continuations of a taking of u at `cost` can be taken: those below +infinity,
    // a prefix of the sorted steps.
    std::int32_t continuations(std::int32_t u, double cost)
    {
        const std::uint32_t begin = mSteps.begin(u), size = mSteps.end(u) - begin;
        // Where two different scores give one rounded cost, creation order and score order may
        // disagree: such a taking gets an item per continuation.
        std::uint32_t last = 0;
        mTied = false;
        for (; last < size && cost + mStepPool[begin + last].score < infinity; ++last)
            mTied = mTied || (last > 0 && mStepPool[begin + last - 1].score < mStepPool[begin + last].score &&
                              cost + mStepPool[begin + last - 1].score == cost + mStepPool[begin + last].score);
        return static_cast<std::int32_t>(last);
    }

    // Records the taking and opens its n continuations.
    void extend(std::int32_t u, const qcTaking& walk, std::int32_t length, std::int32_t n)
    {
        const std::int32_t record = numRecords();
        mRecords.push_back(WalkRecord{u, walk.parent});
        if (mBounded)
            mLengths.push_back(length);
        const std::uint32_t begin = mSteps.begin(u);
        for (std::int32_t first = 0; first < n; first = mTied ? first + 1 : n) {
            const std::uint32_t at = begin + static_cast<std::uint32_t>(first);
            push(OpenSteps{walk.cost + mStepPool[at].score, walk.cost, record, at, mTied});
        }
    }

private:
    static constexpr double infinity = std::numeric_limits<double>::infinity();

    // A walk taken and extended: where it ends and which walk it continues by one link.
    struct WalkRecord {
        std::int32_t node;
        std::int32_t parent;  // -1 for the walk of the start node alone
    };
    // One step out of a node, in the pool of the nodes' sorted steps. rank is its number in
    // chain order; last marks the last step of its node.
    struct Step {
        double score;
        std::int32_t node;
        std::uint32_t rank : 31;
        std::uint32_t last : 1;
    };
    // The open continuations of one taking, the continued node's sorted steps from entry `at`
    // of the step pool on, standing in the queue as its cheapest one (the head); a single item stands
    // for that one step alone. The walk of the start node alone is a single item with parent -1.
    struct OpenSteps {
        double cost;          // of the head
        double base;          // cost of the walk continued
        std::int32_t parent;  // record of the walk continued
        std::uint32_t at : 31;
        std::uint32_t single : 1;
    };

    // Moves the front item on to its next continuation, or drops it after its last or where the
    // costs reach +infinity (sorted by score, the costs rise with the steps).
    void advance()
    {
        const OpenSteps& item = mOpen.front();
        if (!item.single && !mStepPool[item.at].last) {
            const double cost = item.base + mStepPool[item.at + 1].score;
            if (cost < infinity) {
                mOpen.replaceFront(OpenSteps{cost, item.base, item.parent, item.at + 1u, 0}, before());
                return;
            }
        }
        mOpen.popFront(before());
    }

    void push(const OpenSteps& item) { mOpen.push(item, before()); }

    // The head a scan of all open walks in creation order, keeping only strictly smaller costs,
    // would take first. Costs are never NaN here, so the order is total.
    bool takenBefore(const OpenSteps& a, const OpenSteps& b) const
    {
        if (a.cost < b.cost || b.cost < a.cost)
            return a.cost < b.cost;
        if (a.parent != b.parent)
            return a.parent < b.parent;
        return mStepPool[a.at].rank < mStepPool[b.at].rank;
    }
    struct Before {
        const qcTakingQueue* queue;
        bool operator()(const OpenSteps& a, const OpenSteps& b) const { return queue->takenBefore(a, b); }
    };
    Before before() const { return Before{this}; }

    const qcWalkSteps& mSteps;
    const std::int32_t mStart;
    const bool mBounded;
    std::vector<Step> mStepPool;
    std::deque<WalkRecord> mRecords;     // grows without copying: no peak of twice the need
    std::deque<std::int32_t> mLengths;   // by record, with length bounds only
    qcQuadHeap<OpenSteps> mOpen;
    bool mTied = false;  // of the last continuations() counted
};

#endif
