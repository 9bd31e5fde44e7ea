#ifndef QC_CHUNKED_ARRAY_H
#define QC_CHUNKED_ARRAY_H

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

// An array of a search that only grows, in chunks of 64Ki elements that never move once full:
// growing copies at most the first chunk, so the peak is what is held and not twice that. The
// first chunk starts at 256 elements and doubles, so that a small search takes little memory.
// New elements are left uninitialised; their pages are taken from the system only when written.
// References into the first chunk do not survive a grow().
template <class T>
class qcChunkedArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    T& operator[](std::size_t i) { return mChunks[i >> shift][i & mask]; }
    const T& operator[](std::size_t i) const { return mChunks[i >> shift][i & mask]; }
    std::size_t size() const { return mSize; }
    void grow(std::size_t more)
    {
        const std::size_t held = std::min(mSize, chunk);
        mSize += more;
        const std::size_t firstNeeds = std::min(mSize, chunk);
        if (firstNeeds > mFirstRoom) {
            std::size_t room = std::max<std::size_t>(2 * mFirstRoom, 256);
            while (room < firstNeeds)
                room *= 2;
            std::unique_ptr<T[]> first(new T[room]);
            if (mChunks.empty())
                mChunks.emplace_back();
            else
                std::memcpy(static_cast<void*>(first.get()), mChunks[0].get(), held * sizeof(T));
            mChunks[0] = std::move(first);
            mFirstRoom = room;
        }
        while (mChunks.size() * chunk < mSize)
            mChunks.emplace_back(new T[chunk]);
    }

private:
    static constexpr std::size_t shift = 16;
    static constexpr std::size_t chunk = std::size_t{1} << shift;
    static constexpr std::size_t mask = chunk - 1;

    std::vector<std::unique_ptr<T[]>> mChunks;
    std::size_t mSize = 0;
    std::size_t mFirstRoom = 0;  // elements the first chunk has room for
};

#endif
