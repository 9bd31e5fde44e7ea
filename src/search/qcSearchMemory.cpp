#include "search/qcSearchMemory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

void* mapBlock(std::size_t bytes)
{
#if defined(__linux__)
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);  // a hint: without it the pages are just small
    return p;
#else
    return ::operator new(bytes);  // zeroed by take()
#endif
}

void unmapBlock(const qcSearchMemory::Block& block)
{
#if defined(__linux__)
    munmap(block.data, block.bytes);
#else
    ::operator delete(block.data);
#endif
}

// The blocks a thread keeps, given back to the system when it ends.
struct Kept {
    std::vector<qcSearchMemory::Block> blocks;
    ~Kept()
    {
        for (const qcSearchMemory::Block& b : blocks)
            unmapBlock(b);
    }
};

thread_local Kept kept;

}  // namespace

qcSearchMemory::Block qcSearchMemory::take(std::size_t bytes, bool zeroed)
{
    // The smallest kept block that is large enough.
    std::vector<Block>& blocks = kept.blocks;
    auto best = blocks.end();
    for (auto b = blocks.begin(); b != blocks.end(); ++b)
        if (b->bytes >= bytes && (best == blocks.end() || b->bytes < best->bytes))
            best = b;
    if (best != blocks.end()) {
        const Block block = *best;
        blocks.erase(best);
        if (zeroed)
            std::memset(block.data, 0, bytes);
        return block;
    }
    Block block{mapBlock(bytes), bytes};
#if !defined(__linux__)
    std::memset(block.data, 0, bytes);
#endif
    return block;
}

void qcSearchMemory::give(Block block)
{
    std::vector<Block>& blocks = kept.blocks;
    blocks.push_back(block);
    if (blocks.size() > keptBlocks) {
        const auto smallest = std::min_element(blocks.begin(), blocks.end(),
                                               [](const Block& a, const Block& b) { return a.bytes < b.bytes; });
        unmapBlock(*smallest);
        blocks.erase(smallest);
    }
}
