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
// also kept sorted by (score, chain order).
//
// Continuations are created in taking order and, within one taking, in chain order; records are
// made in taking order too. So the creation order of two heads is that of their parents' records
// and, for one parent, that of their steps.
class qcTakingQueue {
public:
    qcTakingQueue(qcWalkSteps& steps, long numLinks, std::int32_t start, bool bounded)
        : mSteps(steps), mStart(start), mBounded(bounded)
    {
        mSorted.reserve(at(numLinks));
        push(OpenSteps{0.0, 0.0, -1, 0, 1});
    }

    bool empty() const { return mOpen.empty(); }
    std::size_t size() const { return mOpen.size(); }

    qcTaking takeFront()
    {
        const OpenSteps walk = mOpen.front();
        advance();
        return qcTaking{walk.cost, walk.parent, walk.parent == -1 ? mStart : mSteps.target(stepOf(walk))};
    }

    // A record's walk: its node, the record it continues, its length (with length bounds only).
    bool holds(std::int32_t r) const { return r >= -1 && r < numRecords(); }
    std::int32_t numRecords() const { return static_cast<std::int32_t>(mRecords.size()); }
    std::int32_t node(std::int32_t r) const { return mRecords[at(r)].node; }
    std::int32_t parent(std::int32_t r) const { return mRecords[at(r)].parent; }
    std::int32_t order(std::int32_t r) const { return r; }
    std::int32_t length(std::int32_t r) const { return mLengths[at(r)]; }

    // u's steps just built: sorted by (score, chain order), the last one marked.
    void addSteps(std::int32_t u)
    {
        const std::uint32_t begin = mSteps.begin(u), end = mSteps.end(u);
        for (std::uint32_t s = begin; s < end; ++s)
            mSorted.push_back(s);
        std::sort(mSorted.begin() + begin, mSorted.end(), [this](std::uint32_t a, std::uint32_t b) {
            return mSteps.score(a) < mSteps.score(b) || (!(mSteps.score(b) < mSteps.score(a)) && a < b);
        });
        if (end > begin)
            mSorted.back() |= lastMark;
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
        for (; last < size && cost + scoreAt(begin + last) < infinity; ++last)
            mTied = mTied || (last > 0 && scoreAt(begin + last - 1) < scoreAt(begin + last) &&
                              cost + scoreAt(begin + last - 1) == cost + scoreAt(begin + last));
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
            push(OpenSteps{walk.cost + scoreAt(at), walk.cost, record, at, mTied});
        }
    }

private:
    static constexpr double infinity = std::numeric_limits<double>::infinity();
    static constexpr std::uint32_t lastMark = 0x80000000u;

    // A walk taken and extended: where it ends and which walk it continues by one link.
    struct WalkRecord {
        std::int32_t node;
        std::int32_t parent;  // -1 for the walk of the start node alone
    };
    // The open continuations of one taking, the continued node's sorted steps from entry `at`
    // of mSorted on, standing in the queue as its cheapest one (the head); a single item stands
    // for that one step alone. The walk of the start node alone is a single item with parent -1.
    struct OpenSteps {
        double cost;          // of the head
        double base;          // cost of the walk continued
        std::int32_t parent;  // record of the walk continued
        std::uint32_t at : 31;
        std::uint32_t single : 1;
    };

    std::uint32_t stepOf(const OpenSteps& item) const { return mSorted[item.at] & ~lastMark; }
    double scoreAt(std::uint32_t at) const { return mSteps.score(mSorted[at] & ~lastMark); }

    // Moves the front item on to its next continuation, or drops it after its last or where the
    // costs reach +infinity (sorted by score, the costs rise with the steps).
    void advance()
    {
        const OpenSteps& item = mOpen.front();
        if (!item.single && !(mSorted[item.at] & lastMark)) {
            const double cost = item.base + scoreAt(item.at + 1);
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
        return stepOf(a) < stepOf(b);
    }
    struct Before {
        const qcTakingQueue* queue;
        bool operator()(const OpenSteps& a, const OpenSteps& b) const { return queue->takenBefore(a, b); }
    };
    Before before() const { return Before{this}; }

    qcWalkSteps& mSteps;
    const std::int32_t mStart;
    const bool mBounded;
    std::vector<std::uint32_t> mSorted;  // steps by node, each node's sorted; lastMark on its last
    std::deque<WalkRecord> mRecords;     // grows without copying: no peak of twice the need
    std::deque<std::int32_t> mLengths;   // by record, with length bounds only
    qcQuadHeap<OpenSteps> mOpen;
    bool mTied = false;  // of the last continuations() counted
};

#endif
