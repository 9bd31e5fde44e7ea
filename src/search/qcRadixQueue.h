#ifndef QC_RADIX_QUEUE_H
#define QC_RADIX_QUEUE_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// The two-node search's quick queue while keys never fall (no negative score met yet). Keys
// are grouped by the highest bit in which they differ from the last key taken out; only the
// group of equal keys is ever taken from, an entry moves down at most once per bit, and each
// group knows its least entry, which is the next to come out once the groups below are empty.
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
        if (key < mLastKey)
            return false;
        add(Entry{bitsOf(key), node});
        return true;
    }

    // Takes out the entries of least key until one names a node for which wanted(node) holds, and
    // returns that node and its key; -1 when none is left; `undecided` when another entry of
    // that same key names a wanted node.
    template <class Wanted>
    std::int32_t takeOut(Wanted wanted, double& key)
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
            key = mLastKey;
            return e.node;
        }
    }

    // The node most likely taken out next (unless a smaller key comes), or -1.
    std::int32_t peek() const
    {
        if (!mBuckets[0].empty())
            return mBuckets[0].back().node;
        return mFilled == 0 ? -1 : mLeast[lowestFilled()].node;
    }

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
    // The lowest group above 0 that holds entries; mFilled must not be 0.
    std::size_t lowestFilled() const
    {
#if defined(__GNUC__)
        return 1 + static_cast<std::size_t>(__builtin_ctzll(mFilled));
#else
        std::size_t b = 1;
        while ((mFilled >> (b - 1) & 1) == 0)
            ++b;
        return b;
#endif
    }
    void add(const Entry& e)
    {
        const std::size_t b = bucketOf(e.bits);
        std::vector<Entry>& group = mBuckets[b];
        if (b > 0 && (group.empty() || e.bits < mLeast[b].bits)) {
            mLeast[b] = e;
            mFilled |= std::uint64_t{1} << (b - 1);
        }
        group.push_back(e);
    }
    // Makes the least key of the lowest filled group the last key and spreads that group over
    // the groups below it. False when all are empty.
    bool refill()
    {
        if (mFilled == 0)
            return false;
        const std::size_t b = lowestFilled();
        mLast = mLeast[b].bits;
        std::memcpy(&mLastKey, &mLast, sizeof mLast);
        mFilled &= ~(std::uint64_t{1} << (b - 1));
        std::vector<Entry> group;
        group.swap(mBuckets[b]);
        for (const Entry& e : group)
            add(e);
        group.clear();
        group.swap(mBuckets[b]);  // its room serves again
        return true;
    }

    std::vector<Entry> mBuckets[65];
    Entry mLeast[65] = {};  // of each filled group above 0
    std::uint64_t mFilled = 0;  // bit b - 1 set: group b holds entries
    std::uint64_t mLast = 0;
    double mLastKey = 0.0;
};

#endif
