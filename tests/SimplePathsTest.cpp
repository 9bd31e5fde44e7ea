#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "qcSimplePaths.h"
#include "reference/PlainSimplePaths.h"
#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;
using Listing = std::pair<std::vector<qcDirectedGraphPath>, std::vector<double>>;
struct Want { qcIndexArray nodes, links; double score; };

Listing simple(const qcDirectedGraph& g, int start, int end, int k)
{
    Listing l{{qcDirectedGraphPath({9}, {})}, {9.0}};
    g.simplePaths(start, end, k, l.first, l.second);
    return l;
}
Listing plain(const qcDirectedGraph& g, int start, int end, int k)
{
    Listing l;
    qcref::plainSimplePaths(g, start, end, k, l.first, l.second);
    return l;
}
Listing wanted(const std::vector<Want>& list)
{
    Listing l;
    for (const Want& w : list)
        l.first.emplace_back(w.nodes, w.links), l.second.push_back(w.score);
    return l;
}
// A ladder of n rungs from node 0 up to node 2n - 1: 2^(n-2) loopless paths from 0 to 2n - 1.
qcDirectedGraph ladder(int rungs)
{
    std::vector<qctest::LinkSpec> links;
    for (int i = 0; i + 1 < rungs; ++i)
        for (int side = 0; side < 2; ++side)
            links.push_back({2 * i + side, 2 * i + 2 + side, 1.0 + (i + side) % 3}), links.push_back({2 * i + side, 2 * i + 3 - side, 2.0});
    return makeGraph(2 * rungs, links);
}

//   0 --> 1
//   |     |
//   v     v
//   2 --> 3
TEST(SimplePaths, HandCheckedListings)
{
    const qcDirectedGraph diamond = makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}});
    const qcDirectedGraph loops = makeGraph(3, {{0, 0, 0}, {0, 1}, {1, 0}, {1, 2, 5}, {2, 2}});
    const struct { const char* name; Listing got; std::vector<Want> want; } cases[] = {
        {"diamond: a tie goes to the lower node before the end", simple(diamond, 0, 3, 3), {{{0, 1, 3}, {0, 2}, 2}, {{0, 2, 3}, {1, 3}, 2}}},
        {"k cuts the listing", simple(diamond, 0, 3, 1), {{{0, 1, 3}, {0, 2}, 2}}},
        {"self-links and a cycle make no path", simple(loops, 0, 2, 5), {{{0, 1, 2}, {1, 3}, 6}}},
        {"start equal to end: the one-node path", simple(loops, 1, 1, 5), {{{1}, {}, 0}}},
        {"parallel links: the cheapest, the first in the chain on a tie",
         simple(makeGraph(3, {{0, 1, 2}, {0, 1, 1}, {0, 1, 1}, {1, 2, 1}}), 0, 2, 5), {{{0, 1, 2}, {2, 3}, 2}}},
        {"a skip link is passed over", simple(makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 0.5, 1}}), 0, 2, 5), {{{0, 1, 2}, {0, 1}, 2}}},
        {"equal scores: fewer links first", simple(makeGraph(3, {{0, 1, 0}, {1, 2}, {0, 2}}), 0, 2, 5), {{{0, 2}, {2}, 1}, {{0, 1, 2}, {0, 1}, 1}}},
        {"NaN and infinite scores are never used", simple(makeGraph(3, {{0, 1, NAN}, {0, 2, INFINITY}, {1, 2}, {0, 1}}), 0, 2, 5), {{{0, 1, 2}, {3, 2}, 2}}},
        {"a dearer way round comes after", simple(makeGraph(4, {{0, 1}, {1, 3, 4}, {1, 2}, {2, 3}, {2, 1}}), 0, 3, 5),
         {{{0, 1, 2, 3}, {0, 2, 3}, 3}, {{0, 1, 3}, {0, 1}, 5}}},
        {"no path", simple(makeGraph(3, {{1, 0}, {0, 0}}), 0, 1, 3), {}},
        {"a sum that overflows is no path", simple(makeGraph(3, {{0, 1, 1e308}, {1, 2, 1e308}, {0, 2, 5}}), 0, 2, 5), {{{0, 2}, {2}, 5}}},
        {"small scores round away beside 1e16, added from the start",
         simple(makeGraph(5, {{0, 1, 1e16 + 2}, {0, 4, 0}, {4, 2, 1e16}, {2, 3}, {3, 1}}), 0, 1, 5),
         {{{0, 4, 2, 3, 1}, {1, 2, 3, 4}, 1e16}, {{0, 1}, {0}, 1e16 + 2}}},
        {"a negative skip link is no path", simple(makeGraph(2, {{0, 1, -1, 1}}), 0, 1, 3), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, wanted(c.want));
    }
    EXPECT_EQ(simple(ladder(6), 0, 11, 1000).first.size(), 16u);
}

TEST(SimplePaths, BadArgumentsLeaveTheOutputsUntouched)
{
    const qcDirectedGraph diamond = makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}), negative = makeGraph(3, {{0, 1}, {2, 1, -0.5}});
    const struct { const char* name; const qcDirectedGraph& g; int start, end, k; } cases[] = {
        {"start below", diamond, -1, 3, 1}, {"start beyond", diamond, 4, 3, 1}, {"end below", diamond, 0, -1, 1},
        {"end beyond", diamond, 0, 4, 1}, {"k 0", diamond, 0, 3, 0}, {"a negative score anywhere", negative, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Listing untouched{std::vector<qcDirectedGraphPath>(2), {1.0, 2.0, 3.0}}, out = untouched;
        EXPECT_THROW(c.g.simplePaths(c.start, c.end, c.k, out.first, out.second), qcInvariantFailure);
        EXPECT_EQ(out, untouched);
    }
}

// A lister without a limit, cancelled at ever later checks, lists what the search with a limit does.
TEST(SimplePaths, AbortCheckEvery64StepsAndTheListerGoesOnAfterwards)
{
    const qcDirectedGraph g = ladder(200);
    Listing all;
    {
        qctest::CheckCounter counter;
        all = simple(g, 0, 399, 50);
        EXPECT_GE(counter.calls, 400 / 64);  // the tree to the end alone takes 400 nodes
    }
    {
        // The second path is a detour of 1000 nodes: its search is checked as often as the tree.
        std::vector<qctest::LinkSpec> detour{{0, 1}, {0, 2}, {1001, 1}};
        for (int i = 2; i < 1001; ++i)
            detour.push_back({i, i + 1});
        qctest::CheckCounter counter;
        EXPECT_EQ(simple(makeGraph(1002, detour), 0, 1, 2).first.size(), 2u);
        EXPECT_GE(counter.calls, 2 * (1000 / 64));
    }
    qcSimplePaths lister(g, 0, 399);
    Listing resumed;
    qcDirectedGraphPath p;
    double score = 0.0;
    for (int aborts = 0; resumed.first.size() < 50 && aborts < 1000;) {
        qctest::CheckCounter cancel(2 + aborts);
        try {
            if (lister.next(p, score))
                resumed.first.push_back(p), resumed.second.push_back(score);
        } catch (const qcAttentionAbort&) {
            ++aborts;
        }
    }
    EXPECT_EQ(resumed, all);
    EXPECT_EQ(all.first.size(), 50u);
    // From a node to itself the one path is known at once; listing it is checked all the same.
    qcSimplePaths itself(g, 5, 5);
    qctest::CheckCounter cancel(1);
    EXPECT_THROW(itself.next(p, score), qcAttentionAbort);
}

// Small integer and zero scores so that ties are frequent, parallel links, self-links, skip
// links, now and then a NaN or infinite score, ends that cannot be reached.
TEST(SimplePaths, SameAsPlainYenOnRandomGraphs)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 1500; ++round) {
        const int n = 1 + rng() % (round % 10 == 0 ? 30 : 9);  // now and then deviations of deviations
        qcDirectedGraph g = makeGraph(n, {});
        for (int m = rng() % (4 * n); m > 0; --m) {
            const unsigned pick = rng() % 30;
            // Every fifth round mostly 0: paths tie at the bound 0. Every seventh, small scores
            // vanish beside 1e16, so that totals round and estimates made backwards differ.
            const double score = round % 7 == 6 && pick < 9 ? (pick < 6 ? 1e16 : 1e16 + 2) : rng() % 4;
            qcDirectedGraphLink l(rng() % n, rng() % n, pick == 0 ? NAN : pick == 1 ? INFINITY : round % 5 == 4 ? std::floor(score / 3) : score);
            g.addLink((l.flags = pick == 2, l));
        }
        const int start = rng() % n, end = rng() % n, k = 1 + rng() % 40;
        SCOPED_TRACE(round);
        EXPECT_EQ(simple(g, start, end, k), plain(g, start, end, k));
    }
}

}  // namespace
