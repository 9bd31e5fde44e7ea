#ifndef QC_QUAD_HEAP_H
#define QC_QUAD_HEAP_H

#include <algorithm>
#include <cstddef>
#include <vector>

// The queue of the ranked walk search: a heap of four children a node (half the levels of a
// binary one, so fewer cache misses) with the item to take first at the front. before(a, b)
// tells whether a is taken before b; it must order the items held strictly and totally.
template <class Item>
class qcQuadHeap {
public:
    bool empty() const { return mItems.empty(); }
    std::size_t size() const { return mItems.size(); }
    const Item& front() const { return mItems.front(); }

    template <class Before>
    void push(const Item& item, Before before)
    {
        std::size_t i = mItems.size();
        mItems.push_back(item);
        for (; i > 0 && before(item, mItems[(i - 1) / 4]); i = (i - 1) / 4)
            mItems[i] = mItems[(i - 1) / 4];
        mItems[i] = item;
    }

    // Puts item in place of the front one and lets it sink to its place.
    template <class Before>
    void replaceFront(const Item item, Before before)
    {
        const std::size_t n = mItems.size();
        std::size_t i = 0;
        for (std::size_t first = 1; first < n; first = 4 * i + 1) {
            std::size_t best = first;
            for (std::size_t c = first + 1; c < std::min(first + 4, n); ++c)
                if (before(mItems[c], mItems[best]))
                    best = c;
            if (!before(mItems[best], item))
                break;
            mItems[i] = mItems[best];
            i = best;
        }
        mItems[i] = item;
    }

    template <class Before>
    void popFront(Before before)
    {
        const Item last = mItems.back();
        mItems.pop_back();
        if (!mItems.empty())
            replaceFront(last, before);
    }

private:
    std::vector<Item> mItems;
};

#endif
