#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "index/qcContraction.h"

namespace {

using Row = std::vector<std::tuple<std::int32_t, std::int32_t, double>>;

Row flat(const std::vector<qcHierarchyStep>& steps)
{
    Row row;
    for (const qcHierarchyStep& s : steps)
        row.emplace_back(s.head, s.arc, s.weight);
    return row;
}

std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t>> flat(const std::vector<qcHierarchyArc>& arcs)
{
    std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t>> all;
    for (const qcHierarchyArc& a : arcs)
        all.emplace_back(a.to, a.first, a.second);
    return all;
}

void expectSame(const qcHierarchy& a, const qcHierarchy& b)
{
    EXPECT_EQ(a.nodeOfRank, b.nodeOfRank);
    EXPECT_EQ(a.coreFrom, b.coreFrom);
    EXPECT_EQ(flat(a.arcs), flat(b.arcs));
    EXPECT_EQ(a.linkScores, b.linkScores);
    EXPECT_EQ(a.upStart, b.upStart);
    EXPECT_EQ(flat(a.up), flat(b.up));
    EXPECT_EQ(a.downStart, b.downStart);
    EXPECT_EQ(flat(a.down), flat(b.down));
}

}  // namespace

// Nodes whose searches go over many arcs share them between two threads: the hierarchy is the
// one a single thread makes, arc for arc, in a free order and in a kept one.
TEST(ContractionTest, TwoThreadsMakeTheSameHierarchy)
{
    std::mt19937 rng(7);
    constexpr std::int32_t side = 24, n = side * side;
    std::vector<qcGraphArc> arcs;
    const auto both = [&](std::int32_t a, std::int32_t b) {
        for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}})
            arcs.push_back({from, to, static_cast<std::int32_t>(arcs.size()), static_cast<double>(1 + rng() % 9)});
    };
    for (std::int32_t v = 0; v < n; ++v) {
        if (v % side + 1 < side)
            both(v, v + 1);
        if (v + side < n)
            both(v, v + side);
    }
    constexpr auto unbounded = std::numeric_limits<std::size_t>::max();
    qcContractionLimits one{unbounded, 50, 30, nullptr};
    one.twoThreads = unbounded;
    qcContractionLimits two = one;
    two.twoThreads = 0;
    const qcHierarchy alone = qfContract(n, arcs, {}, 0, one);
    EXPECT_LT(alone.coreFrom, n);  // some nodes have more than 50 pairs
    expectSame(qfContract(n, arcs, {}, 0, two), alone);
    expectSame(qfContract(n, arcs, alone.nodeOfRank, alone.coreFrom, two), alone);
}
