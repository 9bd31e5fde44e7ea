#ifndef QC_SEARCH_HEAP_H
#define QC_SEARCH_HEAP_H

#include <cstdint>
#include <vector>

#include "qcPair.h"

// The binary min-heap of the two-node search: (key, node) pairs ordered by key alone, one entry
// per improvement of a node's distance (outdated entries are dropped by the caller when they come
// to the top). Equal keys are settled only by the sift rules in the .cpp, on which the chosen
// path among equally cheap ones depends. Push and take-out cost O(log size).
class qcSearchHeap {
public:
    // An empty heap with room for 128 entries.
    qcSearchHeap();

    bool empty() const { return mEntries.empty(); }
    // Adds the entry (key, node); key must not be NaN.
    void push(double key, std::int32_t node);
    // Removes the entry at the top and returns its node, or -1 when the heap is empty.
    std::int32_t takeOut();
    // The node of the entry at the top, left in place, or -1 when the heap is empty.
    std::int32_t peek() const { return empty() ? -1 : static_cast<std::int32_t>(mEntries.front().second); }

private:
    // first: the key; second: the node index, held as a double.
    std::vector<qcPair<double>> mEntries;
};

#endif
