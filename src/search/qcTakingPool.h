#ifndef QC_TAKING_POOL_H
#define QC_TAKING_POOL_H

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "graph/qcIndex.h"
#include "search/qcChunkedArray.h"

// The extended takings of a ranked search without negative scores, 16 bytes each, kept by node
// in blocks so that the takings of one node are read in taking order: a position's successor is
// the next one of its block, or the first of the node's next block. A new block is marked
// unfilled, so that a reader knows where its node's takings end without looking the node up.
class qcTakingPool {
public:
    struct Entry {
        double cost;
        std::int32_t parent;   // position of the taking continued, -1 for the start node alone
        std::int32_t ordinal;  // number in taking order among all extended takings; -1: unfilled
    };

    qcTakingPool(std::size_t numNodes, std::int32_t blockSize, bool withLengths)
        : mBlockSize(blockSize), mWithLengths(withLengths), mTail(numNodes, 0) {}

    const Entry& operator[](std::int32_t pos) const { return mEntries[at(pos)]; }
    std::int32_t length(std::int32_t pos) const { return mLengths[at(pos)]; }
    std::int32_t node(std::int32_t pos) const { return mBlocks[at(pos / mBlockSize)].owner; }
    // Positions handed out so far, filled or not.
    std::int32_t end() const { return static_cast<std::int32_t>(mEntries.size()); }

    // The position of the taking of the same node after the one at pos, -1 while there is none.
    std::int32_t next(std::int32_t pos) const
    {
        const std::int32_t n = pos + 1;
        if (n % mBlockSize != 0)
            return mEntries[at(n)].ordinal == -1 ? -1 : n;
        const std::int32_t block = mBlocks[at(pos / mBlockSize)].next;
        return block == -1 ? -1 : block * mBlockSize;
    }

    // Adds a taking of u after its others; returns its position.
    std::int32_t add(std::int32_t u, const Entry& entry, std::int32_t length)
    {
        std::int32_t& tail = mTail[at(u)];  // u's next free position; 0 before its first block
        if (tail % mBlockSize == 0) {
            const std::size_t block = mBlocks.size();
            if (mEntries.size() + at(mBlockSize) > 0x7fffffff)
                throw std::length_error("qcDirectedGraph::shortestPath: too many walks");
            mBlocks.grow(1);
            mBlocks[block] = Block{u, -1};
            if (tail != 0)
                mBlocks[at(tail / mBlockSize - 1)].next = static_cast<std::int32_t>(block);
            tail = end();
            mEntries.grow(at(mBlockSize));
            for (std::int32_t i = 0; i < mBlockSize; ++i)
                mEntries[at(tail + i)].ordinal = -1;
            if (mWithLengths)
                mLengths.grow(at(mBlockSize));
        }
        mEntries[at(tail)] = entry;
        if (mWithLengths)
            mLengths[at(tail)] = length;
        return tail++;
    }

private:
    struct Block {
        std::int32_t owner;
        std::int32_t next;  // the owner's next block, -1 while there is none
    };

    const std::int32_t mBlockSize;
    const bool mWithLengths;
    std::vector<std::int32_t> mTail;  // by node
    qcChunkedArray<Block> mBlocks;
    qcChunkedArray<Entry> mEntries;
    qcChunkedArray<std::int32_t> mLengths;  // by position, with length bounds only
};

#endif
