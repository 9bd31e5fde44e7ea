#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "search/qcSearchMemory.h"

namespace {

constexpr std::size_t MB = std::size_t{1} << 20;

// A thread starts with nothing kept, and gives back what it kept when it ends.
template <class Case>
void inFreshThread(Case c)
{
    std::thread(c).join();
}

bool allZero(const qcSearchMemory::Block& b, std::size_t bytes)
{
    const auto* p = static_cast<const unsigned char*>(b.data);
    return std::all_of(p, p + bytes, [](unsigned char c) { return c == 0; });
}

TEST(SearchMemory, KeptBlockComesBackZeroedOrAsLeft)
{
    inFreshThread([] {
        const qcSearchMemory::Block fresh = qcSearchMemory::take(8 * MB, true);
        EXPECT_TRUE(allZero(fresh, 8 * MB));
        std::memset(fresh.data, 0xab, fresh.bytes);
        qcSearchMemory::give(fresh);
        const qcSearchMemory::Block left = qcSearchMemory::take(8 * MB, false);
        EXPECT_EQ(left.data, fresh.data);
        EXPECT_EQ(static_cast<const unsigned char*>(left.data)[8 * MB - 1], 0xab);
        qcSearchMemory::give(left);
        const qcSearchMemory::Block zeroed = qcSearchMemory::take(6 * MB, true);
        EXPECT_EQ(zeroed.data, fresh.data);
        EXPECT_EQ(zeroed.bytes, 8 * MB);
        EXPECT_TRUE(allZero(zeroed, 6 * MB));
        qcSearchMemory::give(zeroed);
    });
}

// Blocks of 1 to keptBlocks + 1 MB are given back: the smallest is let go, and each request is
// served by the smallest kept block large enough, or by a new one.
TEST(SearchMemory, SmallestFittingBlockServes)
{
    inFreshThread([] {
        std::vector<qcSearchMemory::Block> given;
        for (std::size_t k = 1; k <= qcSearchMemory::keptBlocks + 1; ++k)
            given.push_back(qcSearchMemory::take(k * MB, true));
        for (const qcSearchMemory::Block& b : given)
            qcSearchMemory::give(b);
        const struct {
            const char* name;
            std::size_t asked, servedBy;  // MB; 0 for a new block
        } cases[] = {{"1 MB: the 1 MB block was let go", 1, 2}, {"2 MB", 2, 3}, {"2 MB again: the next larger", 2, 4},
                     {"9 MB", 9, 9}, {"9 MB again: a new block", 9, 0}, {"8 MB", 8, 8}};
        std::vector<qcSearchMemory::Block> taken;
        for (const auto& c : cases) {
            taken.push_back(qcSearchMemory::take(c.asked * MB, true));
            const auto kept = std::find_if(given.begin() + 1, given.end(), [&](const qcSearchMemory::Block& b) {
                return b.data == taken.back().data;
            });
            EXPECT_EQ(kept == given.end() ? 0 : kept->bytes / MB, c.servedBy) << c.name;
        }
        for (const qcSearchMemory::Block& b : taken)
            qcSearchMemory::give(b);
    });
}

}  // namespace
