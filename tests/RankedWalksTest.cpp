#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "reference/PlainRankedWalks.h"
#include "support/GraphTestSupport.h"

namespace {

using qctest::makeGraph;

struct Walk {
    qcIndexArray nodes;
    qcIndexArray links;
    double score;
};

struct Listing {
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
};

Listing ranked(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t k,
               std::int32_t minLength = -1, std::int32_t maxLength = -1)
{
    Listing l{{qcDirectedGraphPath({9}, {})}, {9.0}};
    g.shortestPath(start, end, k, minLength, maxLength, l.paths, l.scores);
    return l;
}

void expectWalks(const Listing& got, const std::vector<Walk>& want)
{
    ASSERT_EQ(got.paths.size(), want.size());
    ASSERT_EQ(got.scores.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got.paths[i].nodes(), want[i].nodes) << "walk " << i;
        EXPECT_EQ(got.paths[i].links(), want[i].links) << "walk " << i;
        EXPECT_EQ(got.scores[i], want[i].score) << "walk " << i;
    }
}

TEST(RankedWalks, HandCheckedListings)
{
    qctest::AssertRecorder asserts;
    expectWalks(ranked(makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}}), 0, 3, 3),
                {{{0, 2, 3}, {1, 3}, 2.0}, {{0, 1, 3}, {0, 2}, 2.0}});

    // 0 <-> 1 --> 2: the walks go round the cycle.
    const qcDirectedGraph cycle = makeGraph(3, {{0, 1}, {1, 0}, {1, 2, 5.0}});
    expectWalks(ranked(cycle, 0, 2, 3), {{{0, 1, 2}, {0, 2}, 6.0},
                                         {{0, 1, 0, 1, 2}, {0, 1, 0, 2}, 8.0},
                                         {{0, 1, 0, 1, 0, 1, 2}, {0, 1, 0, 1, 0, 2}, 10.0}});
    expectWalks(ranked(cycle, 0, 0, 3),
                {{{0}, {}, 0.0}, {{0, 1, 0}, {0, 1}, 2.0}, {{0, 1, 0, 1, 0}, {0, 1, 0, 1}, 4.0}});
    expectWalks(ranked(cycle, 0, 0, 3, 1), {{{0, 1, 0}, {0, 1}, 2.0},
                                            {{0, 1, 0, 1, 0}, {0, 1, 0, 1}, 4.0},
                                            {{0, 1, 0, 1, 0, 1, 0}, {0, 1, 0, 1, 0, 1}, 6.0}});
    expectWalks(ranked(cycle, 0, 0, 3, 0, 0), {{{0}, {}, 0.0}});
    expectWalks(ranked(cycle, 0, 0, 3, -4, 0), {{{0}, {}, 0.0}});

    // The direct link is too short but still uses up a count of 1.
    const qcDirectedGraph shortcut = makeGraph(3, {{0, 1}, {1, 0}, {0, 2}});
    expectWalks(ranked(shortcut, 0, 2, 1, 2), {});
    expectWalks(ranked(shortcut, 0, 2, 2, 2), {{{0, 1, 0, 2}, {0, 1, 2}, 3.0}});

    // Parallel links: both walks name link 1, the head of node 0's chain.
    expectWalks(ranked(makeGraph(2, {{0, 1, 1.0}, {0, 1, 2.0}}), 0, 1, 5),
                {{{0, 1}, {1}, 1.0}, {{0, 1}, {1}, 2.0}});

    qcDirectedGraph flagged = makeGraph(3, {{0, 1}, {1, 2}});
    qcDirectedGraphLink direct(0, 2, 3.0);
    direct.flags = 1;
    flagged.addLink(direct);
    expectWalks(ranked(flagged, 0, 2, 5), {{{0, 1, 2}, {0, 1}, 2.0}, {{0, 2}, {2}, 3.0}});
    expectWalks(ranked(makeGraph(3, {{0, 1}, {1, 2}, {0, 2, 5.0}}), 0, 2, 5, -1, 1), {{{0, 2}, {2}, 5.0}});
    expectWalks(ranked(makeGraph(2, {{0, 1, 2.0e12}}), 0, 1, 3), {{{0, 1}, {0}, 2.0e12}});
    expectWalks(ranked(makeGraph(3, {{0, 1}, {1, 0}}), 0, 2, 3), {});
    expectWalks(ranked(makeGraph(2, {{0, 1, std::numeric_limits<double>::quiet_NaN()}}), 0, 1, 3), {});
    EXPECT_TRUE(asserts.numbers().empty());
}

TEST(RankedWalks, BadArgumentsLeaveOutputsUntouched)
{
    const qcDirectedGraph g = makeGraph(3, {{0, 1}, {1, 2}});
    const struct {
        std::int32_t start, end, k, minLength, maxLength;
    } bad[] = {{0, 2, 0, -1, -1}, {0, 2, -3, -1, -1}, {-1, 2, 1, -1, -1}, {0, 3, 1, -1, -1}, {0, 2, 1, 3, 2}};
    for (const auto& b : bad) {
        std::vector<qcDirectedGraphPath> paths(2);
        std::vector<double> scores{1.0, 2.0, 3.0};
        EXPECT_THROW(g.shortestPath(b.start, b.end, b.k, b.minLength, b.maxLength, paths, scores),
                     qcInvariantFailure);
        EXPECT_EQ(paths.size(), 2u);
        EXPECT_EQ(scores.size(), 3u);
    }
    expectWalks(ranked(g, 0, 2, 1, 3, -1), {});
}

TEST(RankedWalks, AbortCheckEvery64Takings)
{
    // A self-link at node 0: every taking lists one more walk round it.
    const qcDirectedGraph loop = makeGraph(1, {{0, 0}});
    {
        qctest::CheckCounter counter;
        EXPECT_EQ(ranked(loop, 0, 0, 1).paths.size(), 1u);
        EXPECT_EQ(counter.calls(), 1);
        EXPECT_EQ(ranked(loop, 0, 0, 65).paths.size(), 65u);
        EXPECT_EQ(counter.calls(), 3);
    }
    qctest::CheckCounter stopOnSecond(2);
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    EXPECT_THROW(loop.shortestPath(0, 0, 100, -1, -1, paths, scores), qctest::CheckCounter::Stop);
    EXPECT_EQ(paths.size(), 64u);
    EXPECT_EQ(scores.size(), 64u);
}

// Small integer, zero and negative scores so that ties are frequent, parallel links, self-links
// and cycles; now and then a NaN or infinite score.
double randomScore(std::mt19937& rng)
{
    switch (rng() % 20) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -1.0;
    default: return static_cast<double>(rng() % 4);
    }
}

TEST(RankedWalks, SameAsPlainScanOnRandomGraphs)
{
    qctest::AssertRecorder asserts;
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const long n = 1 + static_cast<long>(rng() % 7);
        qcDirectedGraph g = makeGraph(n, {});
        for (long k = static_cast<long>(rng() % 16); k > 0; --k)
            g.addLinkFastUnsafe(static_cast<long>(rng() % n), static_cast<long>(rng() % n), randomScore(rng));
        const auto start = static_cast<std::int32_t>(rng() % n);
        const auto end = static_cast<std::int32_t>(rng() % n);
        const auto k = static_cast<std::int32_t>(1 + rng() % 6);
        const auto minLength = static_cast<std::int32_t>(rng() % 5) - 1;
        const std::int32_t maxLength =
            rng() % 6 == 0 ? -1 : std::max(minLength, 0) + static_cast<std::int32_t>(rng() % 5);

        const Listing fast = ranked(g, start, end, k, minLength, maxLength);
        Listing plain;
        qcref::plainRankedWalks(g, start, end, k, minLength, maxLength, plain.paths, plain.scores);
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_EQ(fast.paths, plain.paths);
        ASSERT_EQ(fast.scores.size(), plain.scores.size());
        for (std::size_t i = 0; i < fast.scores.size(); ++i)
            EXPECT_EQ(fast.scores[i], plain.scores[i]) << "walk " << i;
        EXPECT_LE(fast.paths.size(), static_cast<std::size_t>(k));
    }
    EXPECT_TRUE(asserts.numbers().empty());
}

}  // namespace
