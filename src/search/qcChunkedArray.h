#ifndef QC_CHUNKED_ARRAY_H
#define QC_CHUNKED_ARRAY_H

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

// An array of a search that only grows, in chunks of 64Ki elements that never move: growing
// copies nothing, so the peak is what is held and not twice that. New elements are left
// uninitialised; their pages are taken from the system only when written.
template <class T>
class qcChunkedArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    T& operator[](std::size_t i) { return mChunks[i >> shift][i & mask]; }
    const T& operator[](std::size_t i) const { return mChunks[i >> shift][i & mask]; }
    std::size_t size() const { return mSize; }
    void grow(std::size_t more)
    {
        mSize += more;
        while (mChunks.size() * chunk < mSize)
            mChunks.emplace_back(new T[chunk]);
    }

private:
    static constexpr std::size_t shift = 16;
    static constexpr std::size_t chunk = std::size_t{1} << shift;
    static constexpr std::size_t mask = chunk - 1;

    std::vector<std::unique_ptr<T[]>> mChunks;
    std::size_t mSize = 0;
};

#endif
