#include <gtest/gtest.h>

#include <cstddef>

#include "index/qcCoreTable.h"

// The largest core with a table: the whole root of max(4096, (nodes + links) / 2).
TEST(CoreTableTest, LargestTabulatedCore)
{
    struct Case {
        const char* name;
        std::size_t nodes, links, size;
    } const cases[] = {
        {"empty graph, the floor", 0, 0, 64},
        {"just below the floor", 4000, 4000, 64},
        {"one short of 65 squared", 4224, 4224, 64},
        {"65 squared", 4225, 4225, 65},
        {"grid 1000 x 1000", 1000000, 3996000, 1580},
        {"a square less one", 2 * 1580 * 1580 - 2, 0, 1579},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qfCoreTableNodes(c.nodes, c.links), c.size) << c.name;
}
