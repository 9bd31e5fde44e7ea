#ifndef QC_SEARCH_ARRAY_H
#define QC_SEARCH_ARRAY_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

#include "search/qcSearchMemory.h"

// What a new working array holds: zeros, or whatever its memory held (for an array every
// element of which is written before it is read).
enum class qcArrayStart { zeroed, unset };

// A fixed-size working array of one search. Large ones come from qcSearchMemory; small ones
// from the heap.
template <class T>
class qcSearchArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    explicit qcSearchArray(std::size_t size, qcArrayStart start = qcArrayStart::zeroed) : mBytes(size * sizeof(T))
    {
        if (size > maxSize())
            throw std::bad_alloc();
        const bool zeroed = start == qcArrayStart::zeroed;
        if (mBytes >= largeFrom) {
            mBlock = qcSearchMemory::take(mBytes, zeroed);
            mData = static_cast<T*>(mBlock.data);
            return;
        }
        mData = static_cast<T*>(::operator new(mBytes == 0 ? 1 : mBytes));
        if (zeroed)
            std::memset(static_cast<void*>(mData), 0, mBytes);
    }
    ~qcSearchArray()
    {
        if (mBytes >= largeFrom)
            qcSearchMemory::give(mBlock);
        else
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
    static constexpr std::size_t largeFrom = std::size_t{4} << 20;
    static constexpr std::size_t maxSize() { return static_cast<std::size_t>(-1) / 2 / sizeof(T); }

    std::size_t mBytes;
    T* mData = nullptr;
    qcSearchMemory::Block mBlock{};
};

#endif
