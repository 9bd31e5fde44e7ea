#ifndef QC_SEARCH_HEAP_H
#define QC_SEARCH_HEAP_H

#include <cstddef>
#include <cstdint>

#include "qcPair.h"

// The binary min-heap of the two-node search: (key, node) pairs ordered by key alone, one entry
// per improvement of a node's distance (outdated entries are dropped by the caller when they come
// to the top). Equal keys are settled only by the sift rules in the .cpp, on which the chosen
// path among equally cheap ones depends. Push and take-out cost O(log size).
//
// On a large graph the heap outgrows the caches and each level of a take-out waits for memory.
// So the entries are laid out for it: position i lives in slot i + 1 of a 64-byte aligned
// array, which puts the two children of a position in one cache line and its four grandchildren
// in one line of their own, fetched ahead while the children are compared.
class qcSearchHeap {
public:
    // An empty heap with room for 128 entries.
    qcSearchHeap();
    ~qcSearchHeap();
    qcSearchHeap(const qcSearchHeap&) = delete;
    qcSearchHeap& operator=(const qcSearchHeap&) = delete;

    bool empty() const { return mSize == 0; }
    // Adds the entry (key, node); key must not be NaN.
    void push(double key, std::int32_t node);
    // Removes the entry at the top and returns its node, or -1 when the heap is empty.
    std::int32_t takeOut();
    // The key of the entry at the top; the heap must not be empty.
    double topKey() const { return mSlots[1].first; }
    // The node of the entry at the top, left in place, or -1 when the heap is empty.
    std::int32_t peek() const { return empty() ? -1 : static_cast<std::int32_t>(mSlots[1].second); }

private:
    // first: the key; second: the node index, held as a double.
    using Entry = qcPair<double>;

    Entry& entry(std::size_t position) { return mSlots[position + 1]; }
    void grow();
    void prefetch(std::size_t position) const;

    Entry* mSlots = nullptr;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;  // in positions
};

#endif
