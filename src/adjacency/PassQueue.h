#ifndef QC_PASS_QUEUE_H
#define QC_PASS_QUEUE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graph/qcIndex.h"

// The nodes still to visit in one pass over nodes 0..n-1, taken in increasing index while the
// pass moves forward: a bit per node and a bit per 64-node word, so finding the next node skips
// empty stretches 4096 nodes at a time. Nodes may be inserted during the pass, but only above
// the last one taken (the pass has already gone by the others).
class PassQueue {
public:
    explicit PassQueue(std::size_t n) : mWords(n / 64 + 1, 0), mSummary(n / 4096 + 1, 0) {}

    bool empty() const { return mCount == 0; }

    // node < n, not held, and above the last node taken in this pass.
    void insert(std::int32_t node)
    {
        const std::size_t i = at(node);
        mWords[i >> 6] |= std::uint64_t(1) << (i & 63);
        mSummary[i >> 12] |= std::uint64_t(1) << ((i >> 6) & 63);
        ++mCount;
    }

    // Removes and returns the smallest node. Not empty.
    std::int32_t takeSmallest()
    {
        std::size_t w = mFrom >> 6;
        std::uint64_t bits = mWords[w] & (~std::uint64_t(0) << (mFrom & 63));
        if (bits == 0) {
            std::size_t s = w >> 6;
            const unsigned below = static_cast<unsigned>(w & 63) + 1;
            std::uint64_t words = below == 64 ? 0 : mSummary[s] & (~std::uint64_t(0) << below);
            while (words == 0)
                words = mSummary[++s];
            w = (s << 6) + static_cast<std::size_t>(__builtin_ctzll(words));
            bits = mWords[w];
        }
        const auto bit = static_cast<unsigned>(__builtin_ctzll(bits));
        const std::size_t node = (w << 6) + bit;
        mWords[w] &= ~(std::uint64_t(1) << bit);
        if (mWords[w] == 0)
            mSummary[w >> 6] &= ~(std::uint64_t(1) << (w & 63));
        --mCount;
        mFrom = node + 1;
        return static_cast<std::int32_t>(node);
    }

    // Starts the next pass from node 0.
    void restart() { mFrom = 0; }

    // Empties the queue and restarts; inserted lists every node inserted since it was last empty.
    void clear(const std::vector<std::int32_t>& inserted)
    {
        for (const std::int32_t node : inserted) {
            const std::size_t i = at(node);
            mWords[i >> 6] = 0;
            mSummary[i >> 12] = 0;
        }
        mCount = 0;
        mFrom = 0;
    }

private:
    std::vector<std::uint64_t> mWords;
    std::vector<std::uint64_t> mSummary;
    std::size_t mCount = 0;
    std::size_t mFrom = 0;
};

#endif
