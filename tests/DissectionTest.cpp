#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "index/qcChordalGraph.h"
#include "index/qcDissection.h"
#include "support/NeighbourRows.h"

namespace {

using qctest::Edges;
using qctest::rowsOf;

bool joined(const qcChordalGraph& c, std::int32_t low, std::int32_t high)
{
    return std::binary_search(c.up.begin() + c.upStart[static_cast<std::size_t>(low)],
                              c.up.begin() + c.upStart[static_cast<std::size_t>(low) + 1], high);
}

// A side x side grid at its coordinates.
struct Grid {
    explicit Grid(int side) : x(static_cast<std::size_t>(side * side)), y(x.size())
    {
        for (int v = 0; v < side * side; ++v) {
            x[static_cast<std::size_t>(v)] = v % side;
            y[static_cast<std::size_t>(v)] = v / side;
            if (v % side + 1 < side)
                edges.emplace_back(v, v + 1);
            if (v + side < side * side)
                edges.emplace_back(v, v + side);
        }
    }
    std::vector<double> x, y;
    Edges edges;
};

constexpr double unbounded = std::numeric_limits<double>::max();

}  // namespace

// Random graphs, some positions not finite: the order holds every node once, and the chordal
// graph holds every edge of the graph and is closed, the higher neighbours of each rank joined
// to each other (the pass over triangles relies on it).
TEST(Dissection, OrdersEveryNodeAndClosesTheGraph)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const std::size_t n = 1 + rng() % 60;
        std::vector<double> x(n), y(n);
        for (std::size_t v = 0; v < n; ++v) {
            x[v] = rng() % 10 == 0 ? std::numeric_limits<double>::quiet_NaN() : static_cast<double>(rng() % 100);
            y[v] = rng() % 10 == 0 ? -std::numeric_limits<double>::infinity() : static_cast<double>(rng() % 100);
        }
        Edges edges(rng() % (3 * n + 1));
        for (auto& e : edges)
            e = {static_cast<std::int32_t>(rng() % n), static_cast<std::int32_t>(rng() % n)};
        const qcNeighbourRows rows = rowsOf(n, edges);
        std::vector<std::int32_t> order = qfDissectionOrder(rows, x, y, unbounded);
        ASSERT_EQ(order.size(), n);
        const qcChordalGraph c = qfChordalGraph(rows, order, rows.node.size() * n, unbounded);
        std::sort(order.begin(), order.end());
        for (std::size_t v = 0; v < n; ++v)
            ASSERT_EQ(order[v], static_cast<std::int32_t>(v));
        ASSERT_EQ(c.upStart.size(), n + 1);
        std::vector<std::int32_t> rank(n);
        for (std::size_t r = 0; r < n; ++r)
            rank[static_cast<std::size_t>(c.nodeOfRank[r])] = static_cast<std::int32_t>(r);
        for (const auto& [a, b] : edges) {
            if (a != b) {
                EXPECT_TRUE(joined(c, std::min(rank[a], rank[b]), std::max(rank[a], rank[b]))) << a << "-" << b;
            }
        }
        for (std::size_t r = 0; r < n; ++r)
            for (std::uint32_t i = c.upStart[r]; i < c.upStart[r + 1]; ++i) {
                EXPECT_GT(c.up[i], static_cast<std::int32_t>(r));
                for (std::uint32_t j = i + 1; j < c.upStart[r + 1]; ++j)
                    EXPECT_TRUE(joined(c, c.up[i], c.up[j])) << "above rank " << r;
            }
    }
}

// Two groups of five, each joined within, at either end; one node between, linked to two of
// each. The least cut is the four links of that node, and the node alone separates: it
// comes last.
TEST(Dissection, TheNodeBetweenTwoGroupsComesLast)
{
    Edges edges{{10, 0}, {10, 1}, {10, 5}, {10, 6}};
    for (std::int32_t a = 0; a < 5; ++a)
        for (std::int32_t b = a + 1; b < 5; ++b)
            edges.insert(edges.end(), {{a, b}, {a + 5, b + 5}});
    std::vector<double> x{0, 0, 0, 0, 0, 10, 10, 10, 10, 10, 5}, y{0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 2};
    const std::vector<std::int32_t> order = qfDissectionOrder(rowsOf(11, edges), x, y, unbounded);
    ASSERT_EQ(order.size(), 11u);
    EXPECT_EQ(order.back(), 10);
}

// Either gives up past its budget: the dissection once its separators alone (each joined into
// a clique) would make more triangles than allowed, the chordal graph past its edges or
// triangles.
TEST(Dissection, GivesUpPastItsBudget)
{
    const Grid grid(12);
    const qcNeighbourRows rows = rowsOf(grid.x.size(), grid.edges);
    EXPECT_TRUE(qfDissectionOrder(rows, grid.x, grid.y, 50.0).empty());  // its cuts have some 12 nodes
    const std::vector<std::int32_t> order = qfDissectionOrder(rows, grid.x, grid.y, unbounded);
    ASSERT_EQ(order.size(), grid.x.size());
    const qcChordalGraph full = qfChordalGraph(rows, order, grid.edges.size() * 100, unbounded);
    ASSERT_FALSE(full.empty());
    EXPECT_GT(full.up.size(), grid.edges.size());  // a grid's cuts add edges
    double triangles = 0.0;
    for (std::size_t r = 0; r + 1 < full.upStart.size(); ++r) {
        const double d = full.upStart[r + 1] - full.upStart[r];
        triangles += d * (d - 1.0) / 2.0;
    }
    const struct { const char* name; std::size_t maxEdges; double maxTriangles; bool kept; } cases[] = {
        {"at both bounds", full.up.size(), triangles, true},
        {"an edge less", full.up.size() - 1, triangles, false},
        {"a triangle less", full.up.size(), triangles - 1.0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qfChordalGraph(rows, order, c.maxEdges, c.maxTriangles).empty(), !c.kept) << c.name;
}
