#ifndef QC_SEARCH_ARRAY_H
#define QC_SEARCH_ARRAY_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// A fixed-size working array of one search. A search over a large graph makes arrays of tens of
// megabytes and touches them all once; taken from the system page by page, their page faults
// cost as much as a good part of the search. Large arrays are therefore asked for in huge pages
// where the system offers them (Linux, transparent huge pages on request), which the system
// hands out zeroed; small ones come zeroed from the heap.
template <class T>
class qcSearchArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    explicit qcSearchArray(std::size_t size) : mBytes(size * sizeof(T))
    {
        if (size > maxSize())
            throw std::bad_alloc();
#if defined(__linux__)
        if (mBytes >= hugeFrom) {
            void* p = mmap(nullptr, mBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (p == MAP_FAILED)
                throw std::bad_alloc();
            madvise(p, mBytes, MADV_HUGEPAGE);  // a hint: without it the pages are just small
            mData = static_cast<T*>(p);
            return;
        }
#endif
        mData = static_cast<T*>(::operator new(mBytes == 0 ? 1 : mBytes));
        std::memset(static_cast<void*>(mData), 0, mBytes);
    }
    ~qcSearchArray()
    {
#if defined(__linux__)
        if (mBytes >= hugeFrom) {
            munmap(mData, mBytes);
            return;
        }
#endif
        ::operator delete(mData);
    }
    qcSearchArray(const qcSearchArray&) = delete;
    qcSearchArray& operator=(const qcSearchArray&) = delete;

    T& operator[](std::size_t i) { return mData[i]; }
    const T& operator[](std::size_t i) const { return mData[i]; }
    T* data() { return mData; }
    void fill(const T& value) { std::fill(mData, mData + mBytes / sizeof(T), value); }
    const T* data() const { return mData; }

private:
    static constexpr std::size_t hugeFrom = std::size_t{4} << 20;
    static constexpr std::size_t maxSize() { return static_cast<std::size_t>(-1) / 2 / sizeof(T); }

    std::size_t mBytes;
    T* mData = nullptr;
};

#endif
