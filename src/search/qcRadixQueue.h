#ifndef QC_RADIX_QUEUE_H
#define QC_RADIX_QUEUE_H

#include <cstdint>
#include <cstring>
#include <vector>

// The two-node search's quick queue while keys never fall (no negative score met yet). Keys
// are grouped by the highest bit in which they differ from the last key taken out; only the
// group of equal keys is ever searched, and an entry moves down at most once per bit. Far
// fewer memory round trips than a binary heap on a large graph.
//
// It knows no order among equal keys. The search's own order among equal keys is that of its
// binary heap (qcSearchHeap), so the queue reports when it would have to choose between two
// nodes of equal least key, and when a key falls below the last one taken out; the search then
// starts over with the binary heap.
class qcRadixQueue {
public:
    static constexpr std::int32_t undecided = -2;

    // False when key (not NaN) lies below the last key taken out: the queue cannot hold it.
    bool push(double key, std::int32_t node)
    {
        const std::uint64_t bits = bitsOf(key);
        if (key < mLastKey)
            return false;
        mBuckets[bucketOf(bits)].push_back(Entry{bits, node});
        return true;
    }

    // Takes out the entries of least key until one names a node for which wanted(node) holds, and
    // returns that node; -1 when none is left; `undecided` when another entry of that same key
    // names a wanted node.
    template <class Wanted>
    std::int32_t takeOut(Wanted wanted)
    {
        std::vector<Entry>& least = mBuckets[0];
        for (;;) {
            if (least.empty() && !refill())
                return -1;
            const Entry e = least.back();
            least.pop_back();
            if (!wanted(e.node))
                continue;
            for (const Entry& other : least)
                if (wanted(other.node))
                    return undecided;
            return e.node;
        }
    }

    // The node most likely taken out next, or -1.
    std::int32_t peek() const { return mBuckets[0].empty() ? -1 : mBuckets[0].back().node; }

private:
    struct Entry {
        std::uint64_t bits;
        std::int32_t node;
    };

    // For keys from +0.0 up the bit patterns rise with the keys. -0.0 becomes +0.0.
    static std::uint64_t bitsOf(double key)
    {
        const double positive = key + 0.0;
        std::uint64_t bits;
        std::memcpy(&bits, &positive, sizeof bits);
        return bits;
    }
    // 0 for the last key itself, else 1 + the highest bit in which bits differs from it.
    std::size_t bucketOf(std::uint64_t bits) const
    {
        const std::uint64_t differ = bits ^ mLast;
#if defined(__GNUC__)
        return differ == 0 ? 0 : 64 - static_cast<std::size_t>(__builtin_clzll(differ));
#else
        std::size_t length = 0;
        for (std::uint64_t d = differ; d != 0; d >>= 1)
            ++length;
        return length;
#endif
    }
    // Makes the least key of the lowest non-empty group the last key and spreads that group
    // over the groups below it. False when all are empty.
    bool refill()
    {
        std::size_t b = 1;
        while (b < 65 && mBuckets[b].empty())
            ++b;
        if (b == 65)
            return false;
        std::vector<Entry>& group = mBuckets[b];
        std::uint64_t least = group.front().bits;
        for (const Entry& e : group)
            least = e.bits < least ? e.bits : least;
        mLast = least;
        std::memcpy(&mLastKey, &least, sizeof least);
        for (const Entry& e : group)
            mBuckets[bucketOf(e.bits)].push_back(e);
        group.clear();
        return true;
    }

    std::vector<Entry> mBuckets[65];
    std::uint64_t mLast = 0;
    double mLastKey = 0.0;
};

#endif
