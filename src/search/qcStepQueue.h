#ifndef QC_STEP_QUEUE_H
#define QC_STEP_QUEUE_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "search/qcQuadHeap.h"
#include "search/qcTakingPool.h"
#include "search/qcWalkSteps.h"

// The open walks of a ranked search whose scores are all >= 0 or NaN, one queue item per step.
// Then no continuation costs less than the walk it continues, so walks are taken at costs that
// never fall, and the takings of a node come in cost order. For a fixed step of node u, the
// continuations of u's extended takings along it therefore come in (cost, creation order) as
// they are in taking order: one item walks through them, its head being the continuation of one
// taking. Heads compare by cost, then by the taking continued (its ordinal), then by the step's
// chain order, which is creation order.
//
// An item that has taken the continuation of u's last extended taking leaves the queue (its
// step is idle); u's next extended taking puts every idle step of u back at itself. So the queue
// holds at most one item per step, however many walks are open.
class qcStepQueue {
public:
    qcStepQueue(const qcWalkSteps& steps, std::size_t numNodes, std::size_t numLinks, std::int32_t maxNumPaths, std::int32_t start,
                bool bounded)
        : mSteps(steps), mStart(start), mPool(numNodes, std::min(maxNumPaths, 16), bounded)
    {
        // Enough for every sound chain: each link stands in one. Only pages written are taken.
        mScores.reserve(numLinks);
        mTargets.reserve(numLinks);
    }

    bool empty() const { return !mStartOpen && mOpen.empty(); }
    std::size_t size() const { return mOpen.size() + (mStartOpen ? 1 : 0); }

    qcTaking takeFront()
    {
        if (mStartOpen) {  // taken first of all: nothing else is open before
            mStartOpen = false;
            return qcTaking{0.0, -1, mStart};
        }
        const Item item = mOpen.front();
        advance();
        return qcTaking{item.cost, item.pos, mTargets[item.step]};
    }

    // A record is the position of an extended taking in the pool.
    bool holds(std::int32_t r) const { return r >= -1 && r < mPool.end(); }
    std::int32_t numRecords() const { return static_cast<std::int32_t>(mNumRecords); }
    std::int32_t node(std::int32_t r) const { return mPool.node(r); }
    std::int32_t parent(std::int32_t r) const { return mPool[r].parent; }
    std::int32_t order(std::int32_t r) const { return mPool[r].ordinal; }
    std::int32_t length(std::int32_t r) const { return mPool.length(r); }

    void addStep(double score, std::int32_t target)
    {
        mScores.push_back(score);
        mTargets.push_back(target);
    }
    void addedSteps(std::int32_t) { mQueued.resize(mScores.size()); }

    // How many continuations of a taking of u at `cost` can be taken: those below +infinity.
    std::int32_t continuations(std::int32_t u, double cost) const
    {
        std::int32_t n = 0;
        for (std::uint32_t s = mSteps.begin(u); s < mSteps.end(u); ++s)
            n += cost + mScores[s] < infinity;
        return n;
    }

    // Records the taking; its continuations along idle steps join the queue.
    void extend(std::int32_t u, const qcTaking& walk, std::int32_t length, std::int32_t)
    {
        const auto ordinal = static_cast<std::int32_t>(mNumRecords++);
        const std::int32_t pos = mPool.add(u, qcTakingPool::Entry{walk.cost, walk.parent, ordinal}, length);
        for (std::uint32_t s = mSteps.begin(u); s < mSteps.end(u); ++s) {
            const double cost = walk.cost + mScores[s];
            if (!mQueued[s] && cost < infinity) {
                mQueued[s] = true;
                mOpen.push(Item{cost, s, pos}, before());
            }
        }
    }

private:
    static constexpr double infinity = std::numeric_limits<double>::infinity();

    struct Item {
        double cost;         // of the head
        std::uint32_t step;
        std::int32_t pos;    // of the taking the head continues
    };

    // Moves the front item on to the next taking of its node, or lets its step idle when there
    // is none yet or the costs have reached +infinity (they never fall again).
    void advance()
    {
        const Item& item = mOpen.front();
        const std::int32_t next = mPool.next(item.pos);
        if (next != -1) {
            const double cost = mPool[next].cost + mScores[item.step];
            if (cost < infinity) {
                mOpen.replaceFront(Item{cost, item.step, next}, before());
                return;
            }
        }
        mQueued[item.step] = false;
        mOpen.popFront(before());
    }

    // Costs are never NaN here, and no two items share a step, so the order is total.
    bool takenBefore(const Item& a, const Item& b) const
    {
        if (a.cost < b.cost || b.cost < a.cost)
            return a.cost < b.cost;
        const std::int32_t oa = mPool[a.pos].ordinal, ob = mPool[b.pos].ordinal;
        if (oa != ob)
            return oa < ob;
        return a.step < b.step;
    }
    struct Before {
        const qcStepQueue* queue;
        bool operator()(const Item& a, const Item& b) const { return queue->takenBefore(a, b); }
    };
    Before before() const { return Before{this}; }

    const qcWalkSteps& mSteps;
    const std::int32_t mStart;
    qcTakingPool mPool;
    std::size_t mNumRecords = 0;
    // By step: chain order within a node; whether it has an item in mOpen.
    std::vector<double> mScores;
    std::vector<std::int32_t> mTargets;
    std::vector<bool> mQueued;
    qcQuadHeap<Item> mOpen;
    bool mStartOpen = true;
};

#endif
