#include "search/qcSearchHeap.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace {

constexpr std::align_val_t lineAlignment{64};

qcPair<double>* allocateSlots(std::size_t positions)
{
    return static_cast<qcPair<double>*>(::operator new((positions + 1) * sizeof(qcPair<double>), lineAlignment));
}

}  // namespace

qcSearchHeap::qcSearchHeap() : mSlots(allocateSlots(128)), mCapacity(128) {}

qcSearchHeap::~qcSearchHeap() { ::operator delete(mSlots, lineAlignment); }

void qcSearchHeap::grow()
{
    Entry* slots = allocateSlots(2 * mCapacity);
    std::copy(mSlots + 1, mSlots + 1 + mSize, slots + 1);
    std::swap(mSlots, slots);
    ::operator delete(slots, lineAlignment);  // the old ones
    mCapacity *= 2;
}

void qcSearchHeap::push(double key, std::int32_t node)
{
    if (mSize == mCapacity)
        grow();
    // Sift up by moving parents down into the hole: the same final order as swapping. An entry
    // never rises above one of equal key.
    std::size_t i = mSize++;
    while (i > 0) {
        const std::size_t parent = (i - 1) / 2;
        if (!(entry(parent).first > key))
            break;
        entry(i) = entry(parent);
        i = parent;
    }
    entry(i) = Entry(key, static_cast<double>(node));
}

void qcSearchHeap::prefetch(std::size_t position) const
{
    // A hint never faults, so the address may lie beyond the array; it is computed as a number
    // for that reason.
#if defined(__GNUC__)
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(mSlots) +
                                                     (position + 1) * sizeof(Entry)));
#else
    (void)position;
#endif
}

std::int32_t qcSearchHeap::takeOut()
{
    if (mSize == 0)
        return -1;
    const auto top = static_cast<std::int32_t>(entry(0).second);
    const Entry sinking = entry(--mSize);
    const std::size_t size = mSize;
    if (size == 0)
        return top;

    // The hole left at the top goes down along the smaller children all the way to a leaf, and
    // the sinking entry then climbs back from there past every entry whose key is not smaller.
    // On the path the keys do not fall, so it ends where sinking from the top would have
    // stopped, with the same array; but the way down needs no comparison with the sinking
    // entry, which mostly belongs near the bottom anyway.
    std::size_t i = 0;
    for (std::size_t left = 1; left < size; left = 2 * i + 1) {
        // Memory is slow next to a comparison: fetch two levels ahead, the eight
        // great-grandchildren (two lines).
        prefetch(4 * left + 3);
        prefetch(4 * left + 7);
        // The right child wins a tie with the left one. Written without a branch: which child
        // is smaller cannot be predicted.
        const std::size_t child =
            left + static_cast<std::size_t>(left + 1 < size && !(entry(left + 1).first > entry(left).first));
        entry(i) = entry(child);
        i = child;
    }
    while (i > 0) {
        const std::size_t parent = (i - 1) / 2;
        if (entry(parent).first < sinking.first)
            break;
        entry(i) = entry(parent);
        i = parent;
    }
    entry(i) = sinking;
    return top;
}
