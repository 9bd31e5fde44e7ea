#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <random>

#include "search/qcRadixQueue.h"

namespace {

// The radix queue against a sorted list: keys from subnormal to 1e300, equal keys (-0.0 and
// +0.0 too), keys a unit in the last place apart, falling keys, and entries of unwanted nodes
// (every fifth) to be passed over.
TEST(RadixQueue, TakesOutAsASortedListWould)
{
    std::mt19937_64 rng(20261207);
    const auto wanted = [](std::int32_t node) { return node % 5 != 0; };
    for (int round = 0; round < 300; ++round) {
        qcRadixQueue queue;
        std::multimap<double, std::int32_t> sorted;
        double last = 0.0;
        for (std::int32_t node = 0; node < 400; ++node) {
            if (rng() % 3 != 0) {
                const unsigned r = rng() % 64;
                const double key = r == 0   ? (last == 0.0 ? -0.0 : last)
                                   : r == 1 ? last - 1.0
                                   : r == 2 ? last + 1e300
                                   : r == 3 ? last + 4e-320
                                   : r < 6  ? std::nextafter(last, 1e308)
                                            : last + static_cast<double>(rng() % 100000) / 1000.0;
                ASSERT_EQ(queue.push(key, node), !(key < last)) << key << " after " << last;
                if (!(key < last))
                    sorted.emplace(key, node);
                continue;
            }
            auto first = sorted.begin();
            while (first != sorted.end() && !wanted(first->second))
                ++first;
            double key = -1.0;
            const std::int32_t got = queue.takeOut(wanted, key);
            if (first == sorted.end()) {
                ASSERT_EQ(got, -1);
                sorted.clear();
                continue;
            }
            const auto [from, to] = sorted.equal_range(first->first);
            if (std::count_if(from, to, [&](const auto& e) { return wanted(e.second); }) > 1) {
                ASSERT_EQ(got, qcRadixQueue::undecided);
                break;  // the search starts over with its heap
            }
            ASSERT_EQ(got, first->second);
            ASSERT_EQ(key, first->first);
            last = key;
            sorted.erase(sorted.begin(), std::next(first));
        }
    }
}

}  // namespace
