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

Listing simple(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t k)
{
    Listing l{{qcDirectedGraphPath({9}, {})}, {9.0}};
    g.simplePaths(start, end, k, l.first, l.second);
    return l;
}
Listing plain(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t k)
{
    Listing l;
    qcref::plainSimplePaths(g, start, end, k, l.first, l.second);
    return l;
}
Listing wanted(const std::vector<Want>& list)
{
    Listing l;
    for (const Want& w : list) {
        l.first.emplace_back(w.nodes, w.links);
        l.second.push_back(w.score);
    }
    return l;
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
        {"diamond: a tie goes to the lower node before the end", simple(diamond, 0, 3, 3),
         {{{0, 1, 3}, {0, 2}, 2}, {{0, 2, 3}, {1, 3}, 2}}},
        {"k cuts the listing", simple(diamond, 0, 3, 1), {{{0, 1, 3}, {0, 2}, 2}}},
        {"self-links and a cycle make no path", simple(loops, 0, 2, 5), {{{0, 1, 2}, {1, 3}, 6}}},
        {"start equal to end: the one-node path", simple(loops, 1, 1, 5), {{{1}, {}, 0}}},
        {"parallel links: the cheapest, the first in the chain on a tie",
         simple(makeGraph(3, {{0, 1, 2}, {0, 1, 1}, {0, 1, 1}, {1, 2, 1}}), 0, 2, 5), {{{0, 1, 2}, {2, 3}, 2}}},
        {"a skip link is passed over", simple(makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 0.5, 1}}), 0, 2, 5),
         {{{0, 1, 2}, {0, 1}, 2}}},
        {"equal scores: fewer links first", simple(makeGraph(3, {{0, 1, 0}, {1, 2}, {0, 2}}), 0, 2, 5),
         {{{0, 2}, {2}, 1}, {{0, 1, 2}, {0, 1}, 1}}},
        {"NaN and infinite scores are never used",
         simple(makeGraph(3, {{0, 1, NAN}, {0, 2, INFINITY}, {1, 2}, {0, 1}}), 0, 2, 5), {{{0, 1, 2}, {3, 2}, 2}}},
        {"a dearer way round comes after", simple(makeGraph(4, {{0, 1}, {1, 3, 4}, {1, 2}, {2, 3}, {2, 1}}), 0, 3, 5),
         {{{0, 1, 2, 3}, {0, 2, 3}, 3}, {{0, 1, 3}, {0, 1}, 5}}},
        {"no path", simple(makeGraph(3, {{1, 0}, {0, 0}}), 0, 1, 3), {}},
        {"a negative skip link is no path", simple(makeGraph(2, {{0, 1, -1, 1}}), 0, 1, 3), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.got, wanted(c.want));
    }
}

TEST(SimplePaths, BadArgumentsLeaveTheOutputsUntouched)
{
    const qcDirectedGraph diamond = makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}});
    const qcDirectedGraph negative = makeGraph(3, {{0, 1}, {2, 1, -0.5}});
    const struct { const char* name; const qcDirectedGraph& g; std::int32_t start, end, k; } cases[] = {
        {"start below", diamond, -1, 3, 1}, {"start beyond", diamond, 4, 3, 1}, {"end below", diamond, 0, -1, 1},
        {"end beyond", diamond, 0, 4, 1}, {"k 0", diamond, 0, 3, 0}, {"k negative", diamond, 0, 3, -2},
        {"a negative score anywhere", negative, 0, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Listing untouched{std::vector<qcDirectedGraphPath>(2), {1.0, 2.0, 3.0}}, out = untouched;
        EXPECT_THROW(c.g.simplePaths(c.start, c.end, c.k, out.first, out.second), qcInvariantFailure);
        EXPECT_EQ(out, untouched);
    }
}

// A ladder of n rungs from 0 to 2n - 1: many loopless paths, long enough for many checks.
qcDirectedGraph ladder(long rungs)
{
    std::vector<qctest::LinkSpec> links;
    for (long i = 0; i + 1 < rungs; ++i)
        for (long side = 0; side < 2; ++side) {
            links.push_back({2 * i + side, 2 * i + 2 + side, 1.0 + static_cast<double>((i + side) % 3)});
            links.push_back({2 * i + side, 2 * i + 3 - side, 2.0});
        }
    return makeGraph(2 * rungs, links);
}

TEST(SimplePaths, AbortCheckEvery64StepsAndTheListerGoesOnAfterwards)
{
    const qcDirectedGraph g = ladder(200);
    const auto end = static_cast<std::int32_t>(g.numNodes() - 1);
    const Listing all = simple(g, 0, end, 50);
    {
        qctest::CheckCounter counter;
        simple(g, 0, end, 50);
        // The tree to the end alone takes 400 nodes.
        EXPECT_GE(counter.calls, 400 / 64);
    }
    qcSimplePaths lister(g, 0, end, 50);
    Listing resumed;
    qcDirectedGraphPath p;
    double score = 0.0;
    // Each call is cancelled at a later check than the one before, so the listing moves on.
    for (int aborts = 0; aborts < 1000;) {
        qctest::CheckCounter cancelSoon(2 + aborts);
        try {
            if (!lister.next(p, score))
                break;
            resumed.first.push_back(p);
            resumed.second.push_back(score);
        } catch (const qcAttentionAbort&) {
            ++aborts;
        }
    }
    EXPECT_EQ(resumed, all);
    EXPECT_EQ(all.first.size(), 50u);
}

// Small integer and zero scores so that ties are frequent, parallel links, self-links, skip
// links, now and then a NaN or infinite score, ends that cannot be reached.
TEST(SimplePaths, SameAsPlainYenOnRandomGraphs)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 1500; ++round) {
        // Now and then a larger graph, where deviations branch off deviations.
        const long n = 1 + static_cast<long>(rng() % (round % 10 == 0 ? 30 : 9));
        qcDirectedGraph g = makeGraph(n, {});
        for (long m = static_cast<long>(rng() % (4 * n)); m > 0; --m) {
            const unsigned pick = rng() % 30;
            qcDirectedGraphLink l(static_cast<long>(rng() % n), static_cast<long>(rng() % n),
                                  pick == 0 ? NAN : pick == 1 ? INFINITY : rng() % 4);
            l.flags = pick == 2 ? 1U : 0U;
            g.addLink(l);
        }
        const auto start = static_cast<std::int32_t>(rng() % n), end = static_cast<std::int32_t>(rng() % n);
        const auto k = static_cast<std::int32_t>(1 + rng() % 40);
        SCOPED_TRACE(round);
        EXPECT_EQ(simple(g, start, end, k), plain(g, start, end, k));
    }
}

TEST(SimplePaths, ListerWithoutLimitListsWhatTheLimitedSearchLists)
{
    const qcDirectedGraph g = ladder(6);
    const Listing limited = simple(g, 0, 11, 1000);
    qcSimplePaths lister(g, 0, 11);
    Listing all;
    qcDirectedGraphPath p;
    double score = 0.0;
    while (lister.next(p, score)) {
        all.first.push_back(p);
        all.second.push_back(score);
    }
    EXPECT_EQ(all, limited);
    EXPECT_EQ(limited, plain(g, 0, 11, 1000));
    EXPECT_EQ(limited.first.size(), 16u);  // each of the 5 steps up keeps its side or crosses, an odd number cross
}

}  // namespace
