#ifndef QC_SEARCH_MEMORY_H
#define QC_SEARCH_MEMORY_H

#include <cstddef>

// The large working memory of the two-node search: tens of megabytes on a large graph, each
// page touched once. Fresh pages cost a page fault each, which on a large graph is as much as
// a good part of the search itself. So memory is asked for in huge pages where the system
// offers them (Linux, transparent huge pages on request), and each thread keeps the blocks of
// its last searches (at most `keptBlocks`, the largest) for its next ones, until it ends.
namespace qcSearchMemory {

constexpr std::size_t keptBlocks = 8;

struct Block {
    void* data;
    std::size_t bytes;  // at least as many as asked for
};

// A block of at least `bytes` bytes: all zero if `zeroed`, else a kept block holds what its
// last user left. Throws std::bad_alloc.
Block take(std::size_t bytes, bool zeroed);
// Hands back a block that take() gave.
void give(Block block);

}  // namespace qcSearchMemory

#endif
