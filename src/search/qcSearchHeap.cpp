#include "search/qcSearchHeap.h"

#include <cstddef>

qcSearchHeap::qcSearchHeap() { mEntries.reserve(128); }

void qcSearchHeap::push(double key, std::int32_t node)
{
    // Sift up by moving parents down into the hole: the same final order as swapping. An entry
    // never rises above one of equal key.
    std::size_t i = mEntries.size();
    mEntries.emplace_back();
    while (i > 0) {
        const std::size_t parent = (i - 1) / 2;
        if (!(mEntries[parent].first > key))
            break;
        mEntries[i] = mEntries[parent];
        i = parent;
    }
    mEntries[i] = qcPair<double>(key, static_cast<double>(node));
}

std::int32_t qcSearchHeap::takeOut()
{
    if (mEntries.empty())
        return -1;
    const auto top = static_cast<std::int32_t>(mEntries.front().second);
    const qcPair<double> sinking = mEntries.back();
    mEntries.pop_back();
    const std::size_t size = mEntries.size();
    if (size == 0)
        return top;

    std::size_t i = 0;
    for (;;) {
        const std::size_t left = 2 * i + 1;
        if (left >= size)
            break;
        // The right child wins a tie with the left one. Written without a branch: which child
        // is smaller cannot be predicted.
        const std::size_t child =
            left + static_cast<std::size_t>(left + 1 < size && !(mEntries[left + 1].first > mEntries[left].first));
        if (!(mEntries[child].first < sinking.first))
            break;
        mEntries[i] = mEntries[child];
        i = child;
    }
    mEntries[i] = sinking;
    return top;
}
