#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "qfAdjacencyLists.h"
#include "reference/PlainAdjacency.h"

namespace {

using Records = std::vector<qcConnectionRecord>;
constexpr std::int32_t maxCost = std::numeric_limits<std::int32_t>::max();

TEST(Cliques, ReachOrderAndCliqueOrder)
{
    const struct { const char* name; qcAdjacencyLists lists; qcCliques want; } cases[] = {
        {"no nodes", {}, {}}, {"isolated nodes", {{}, {}, {}}, {{0}, {1}, {2}}}, {"along the direction", {{1}, {2}, {}}, {{0, 1, 2}}},
        {"against the direction", {{}, {0}, {1}}, {{0, 1, 2}}}, {"by their smallest node", {{}, {}, {}, {2}, {3}, {0}}, {{0, 5}, {1}, {2, 3, 4}}},
        {"list order", {{3, 1}, {}, {}, {2}}, {{0, 3, 1, 2}}}, {"own entries in list order", {{}, {}, {1, 0}}, {{0, 2, 1}}},
        {"interleaved", {{2}, {3}, {0}, {1}}, {{0, 2}, {1, 3}}},
        {"from below, own, from above", {{1}, {3}, {1}, {}}, {{0, 1, 3, 2}}}, {"self and repeats", {{0}, {1, 1}, {1}}, {{0}, {1, 2}}},
    };
    for (const auto& c : cases) {
        qcCliques result{{99}};
        qfComputeCliques(c.lists, result);
        EXPECT_EQ(result, c.want) << c.name;
    }
}

TEST(ConnectionPath, WorkedExamplesGiveTheirCostsAndWinners)
{
    const struct {
        const char* name;
        qcAdjacencyLists lists;
        std::vector<std::int32_t> costs;  // of the plain procedure, root by root
        Records winner;
    } cases[] = {
        {"no nodes", {}, {}, {}}, {"empty lists never win", {{}, {}}, {maxCost, maxCost}, {}},
        {"one root, a record per later id", {{5, 7, 9}}, {0}, {{0, {5, 7}}, {0, {5, 9}}}},
        {"one id: no record", {{4}}, {0}, {}}, {"repeated id", {{3, 3}}, {0}, {{0, {3, 3}}}},
        // Root 1: node 0 gets its depth only in the second pass, through id 1 claimed by node 2.
        {"depth in a later pass", {{0, 1}, {2}, {1, 2}}, {1, 3, 1}, {{0, {0, 1}}}},
        {"lowest index among equals", {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, {6, 4, 4, 6}, {{1, {1, 2}}}},
        {"a winner of one id gives no records", {{7}, {0, 1}, {1, 2}}, {0, 1, 1}, {}},
        {"the cheapest root wins", {{0}, {1, 2}, {0, 1}, {2, 3}}, {6, 2, 3, 3}, {{1, {1, 2}}}},
        {"empty first list", {{}, {8, 8, 6}, {6}}, {maxCost, 0, 1}, {{1, {8, 8}}, {1, {8, 6}}}},
    };
    for (const auto& c : cases) {
        std::vector<std::int32_t> costs;
        Records records{{9, {1, 2}}};
        for (std::size_t r = 0; r < c.lists.size(); ++r)
            costs.push_back(qcref::plainConnectionCost(static_cast<std::int32_t>(r), c.lists, records));
        qfComputeConnectionPath(c.lists, records);
        EXPECT_EQ(costs, c.costs) << c.name;
        EXPECT_EQ(records, c.winner) << c.name;
    }
}

// Small dense lists, some with ids beyond n (which the cliques refuse) or a negative one (which
// both refuse); then a few non-empty lists spread over 5000 nodes, so a pass skips long stretches.
TEST(AdjacencyLists, SameAsPlainProceduresOnRandomLists)
{
    std::mt19937 rng(17);
    auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    for (int round = 0; round < 1000; ++round) {
        const bool spread = round >= 990;
        const int n = spread ? 5000 : pick(1, 30);
        const int idRange = spread ? 40 : round % 3 == 0 ? n + round % 7 : n;
        qcAdjacencyLists lists(static_cast<std::size_t>(n));
        for (int filled = 0; filled < (spread ? 60 : n); ++filled)
            for (int k = pick(0, 1 + round % 5); k > 0; --k)
                lists[static_cast<std::size_t>(spread ? pick(0, n - 1) : filled)].push_back(
                    round % 11 == 0 && pick(0, 5) == 0 ? -1 : pick(0, idRange - 1));
        ASSERT_EQ(qcref::differsFromPlain(lists), nullptr) << "round " << round;
    }
}

// Root 0 reaches, through a chain of 30000 nodes (no recursion), one node naming 80000 fresh ids
// at depth 30001: its cost passes 2^31 and must saturate rather than wrap, so the isolated root 1
// (cost 0) wins.
TEST(ConnectionPath, LongChainSaturatesTheCost)
{
    const std::int32_t chain = 30000, fresh = 80000;
    qcAdjacencyLists lists{{0}, {chain + fresh + 1, chain + fresh + 2}};
    for (std::int32_t t = 0; t < chain; ++t)
        lists.push_back({t, t + 1});
    lists.emplace_back();
    for (std::int32_t f = 0; f <= fresh; ++f)
        lists.back().push_back(chain + f);
    Records records;
    qfComputeConnectionPath(lists, records);
    EXPECT_EQ(records, (Records{{1, {chain + fresh + 1, chain + fresh + 2}}}));
}

}  // namespace
