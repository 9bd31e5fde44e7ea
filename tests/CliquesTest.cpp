#include <gtest/gtest.h>

#include <random>

#include "qfAdjacencyLists.h"
#include "reference/PlainAdjacency.h"

namespace {

qcCliques cliquesOf(const qcAdjacencyLists& lists)
{
    qcCliques result{{99}, {98, 97}};  // stale content that must go
    qfComputeCliques(lists, result);
    return result;
}

// n lists of random length (some empty) with repeats and self-references.
qcAdjacencyLists randomLists(std::mt19937& rng, int n, int maxLength)
{
    qcAdjacencyLists lists(static_cast<std::size_t>(n));
    for (auto& list : lists) {
        const int length = std::uniform_int_distribution<int>(0, maxLength)(rng);
        for (int k = 0; k < length; ++k)
            list.push_back(std::uniform_int_distribution<std::int32_t>(0, n - 1)(rng));
    }
    return lists;
}

}  // namespace

TEST(Cliques, ReachOrderAndCliqueOrderOnSmallLists)
{
    EXPECT_EQ(cliquesOf({}), qcCliques{});
    EXPECT_EQ(cliquesOf({{}, {}, {}}), (qcCliques{{0}, {1}, {2}}));
    EXPECT_EQ(cliquesOf({{1}, {2}, {}}), (qcCliques{{0, 1, 2}}));
    EXPECT_EQ(cliquesOf({{}, {0}, {1}}), (qcCliques{{0, 1, 2}}));  // against the direction
    EXPECT_EQ(cliquesOf({{}, {}, {}, {2}, {3}, {0}}), (qcCliques{{0, 5}, {1}, {2, 3, 4}}));
    EXPECT_EQ(cliquesOf({{3, 1}, {}, {}, {2}}), (qcCliques{{0, 3, 1, 2}}));
    EXPECT_EQ(cliquesOf({{}, {}, {1, 0}}), (qcCliques{{0, 2, 1}}));
    EXPECT_EQ(cliquesOf({{2}, {3}, {0}, {1}}), (qcCliques{{0, 2}, {1, 3}}));
    // Incoming from below, own entries, incoming from above: 1's neighbours are 0, 3, 2.
    EXPECT_EQ(cliquesOf({{1}, {3}, {1}, {}}), (qcCliques{{0, 1, 3, 2}}));
    EXPECT_EQ(cliquesOf({{0}}), (qcCliques{{0}}));
    EXPECT_EQ(cliquesOf({{1, 1}, {0}}), (qcCliques{{0, 1}}));
}

TEST(Cliques, IdsOutsideTheNodesAreRejectedAndTheResultKept)
{
    for (const qcAdjacencyLists& bad : {qcAdjacencyLists{{1}, {2}}, qcAdjacencyLists{{0}, {-1}}}) {
        qcCliques result{{7}};
        EXPECT_THROW(qfComputeCliques(bad, result), qcInvariantFailure);
        EXPECT_EQ(result, qcCliques{{7}});
    }
}

TEST(Cliques, MatchPlainProcedureAndPartitionTheNodes)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const int n = std::uniform_int_distribution<int>(1, 40)(rng);
        const qcAdjacencyLists lists = randomLists(rng, n, round % 4);
        const qcCliques fast = cliquesOf(lists);
        qcCliques plain;
        qcref::plainCliques(lists, plain);
        ASSERT_EQ(fast, plain) << "round " << round;

        std::vector<int> cliqueOf(static_cast<std::size_t>(n), -1);
        for (std::size_t c = 0; c < fast.size(); ++c)
            for (const std::int32_t m : fast[c]) {
                ASSERT_EQ(cliqueOf[static_cast<std::size_t>(m)], -1) << "node " << m << " twice";
                cliqueOf[static_cast<std::size_t>(m)] = static_cast<int>(c);
            }
        for (std::size_t i = 0; i < lists.size(); ++i) {
            ASSERT_NE(cliqueOf[i], -1) << "node " << i << " missing";
            for (const std::int32_t k : lists[i])
                EXPECT_EQ(cliqueOf[i], cliqueOf[static_cast<std::size_t>(k)]) << i << "-" << k;
        }
    }
}

TEST(Cliques, MillionNodeChainsInBothDirections)
{
    const std::int32_t n = 1000000;
    qcAdjacencyLists forward(n), backward(n);
    for (std::int32_t i = 0; i + 1 < n; ++i) {
        forward[static_cast<std::size_t>(i)].push_back(i + 1);
        backward[static_cast<std::size_t>(i + 1)].push_back(i);
    }
    for (const qcAdjacencyLists* lists : {&forward, &backward}) {
        const qcCliques result = cliquesOf(*lists);
        ASSERT_EQ(result.size(), 1u);
        ASSERT_EQ(result[0].size(), static_cast<std::size_t>(n));
        EXPECT_EQ(result[0][1], 1);
        EXPECT_EQ(result[0].back(), n - 1);
    }
}
