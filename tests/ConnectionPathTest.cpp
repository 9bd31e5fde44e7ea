#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "qfAdjacencyLists.h"
#include "reference/PlainAdjacency.h"

namespace {

using Records = std::vector<qcConnectionRecord>;

Records pathOf(const qcAdjacencyLists& lists)
{
    Records records{{9, {1, 2}}};  // stale content that must go
    qfComputeConnectionPath(lists, records);
    return records;
}

std::vector<std::int32_t> plainCosts(const qcAdjacencyLists& lists)
{
    std::vector<std::int32_t> costs;
    Records unused;
    for (std::size_t r = 0; r < lists.size(); ++r)
        costs.push_back(qcref::plainConnectionCost(static_cast<std::int32_t>(r), lists, unused));
    return costs;
}

constexpr std::int32_t maxCost = std::numeric_limits<std::int32_t>::max();

}  // namespace

TEST(ConnectionPath, WorkedExamplesGiveTheirCostsAndWinners)
{
    struct Case {
        qcAdjacencyLists lists;
        std::vector<std::int32_t> costs;
        Records winner;
    };
    const Case cases[] = {
        {{}, {}, {}},
        {{{}, {}}, {maxCost, maxCost}, {}},
        {{{5, 7, 9}}, {0}, {{0, {5, 7}}, {0, {5, 9}}}},
        {{{4}}, {0}, {}},
        {{{3, 3}}, {0}, {{0, {3, 3}}}},
        // Root 1: node 0 gets its depth only in the second pass, through id 1 claimed by node 2.
        {{{0, 1}, {2}, {1, 2}}, {1, 3, 1}, {{0, {0, 1}}}},
        {{{0, 1}, {1, 2}, {2, 3}, {3, 4}}, {6, 4, 4, 6}, {{1, {1, 2}}}},
        {{{0}, {1, 2}, {0, 1}, {2, 3}}, {6, 2, 3, 3}, {{1, {1, 2}}}},
        {{{7}, {0, 1}, {1, 2}}, {0, 1, 1}, {}},
        {{{}, {8, 8, 6}, {6}}, {maxCost, 0, 1}, {{1, {8, 8}}, {1, {8, 6}}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plainCosts(c.lists), c.costs);
        EXPECT_EQ(pathOf(c.lists), c.winner);
    }
}

TEST(ConnectionPath, NegativeEntriesAreRejectedAndTheRecordsKept)
{
    Records records{{3, {4, 5}}};
    EXPECT_THROW(qfComputeConnectionPath({{0, 1}, {2, -1}}, records), qcInvariantFailure);
    EXPECT_EQ(records, (Records{{3, {4, 5}}}));
}

// Small dense rounds, then rounds of a few non-empty lists spread over 5000 nodes, so a pass
// skips long stretches of nodes.
TEST(ConnectionPath, MatchesPlainProcedureOnRandomLists)
{
    std::mt19937 rng(17);
    auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    for (int round = 0; round < 603; ++round) {
        const bool spread = round >= 600;
        const int n = spread ? 5000 : pick(1, 30);
        const int idRange = spread ? 40 : n + round % 7;  // some ids beyond n
        qcAdjacencyLists lists(static_cast<std::size_t>(n));
        for (int filled = 0; filled < (spread ? 60 : n); ++filled) {
            auto& list = lists[static_cast<std::size_t>(spread ? pick(0, n - 1) : filled)];
            for (int k = pick(0, 1 + round % 5); k > 0; --k)
                list.push_back(pick(0, idRange - 1));
        }
        Records plain;
        qcref::plainConnectionPath(lists, plain);
        ASSERT_EQ(pathOf(lists), plain) << "round " << round;
    }
}

// Root 0 reaches, through a chain of 30000 nodes, one node naming 80000 fresh ids at depth
// 30001: its cost passes 2^31 and must saturate rather than wrap, so the isolated root 1 (cost
// 0) wins. The chain also runs without deep recursion.
TEST(ConnectionPath, LongChainSaturatesTheCost)
{
    const std::int32_t chain = 30000, fresh = 80000;
    qcAdjacencyLists lists{{0}, {chain + fresh + 1, chain + fresh + 2}};
    for (std::int32_t t = 0; t < chain; ++t)
        lists.push_back({t, t + 1});
    lists.emplace_back();
    for (std::int32_t f = 0; f <= fresh; ++f)
        lists.back().push_back(chain + f);
    EXPECT_EQ(pathOf(lists), (Records{{1, {chain + fresh + 1, chain + fresh + 2}}}));
}
