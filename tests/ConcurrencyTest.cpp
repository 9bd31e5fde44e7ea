#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "qcGraphicList.h"
#include "qfAdjacencyLists.h"
#include "support/GraphTestSupport.h"

namespace {

qcDirectedGraph randomGraph(unsigned seed, long nodes, long links)
{
    std::mt19937 rng(seed);
    qcDirectedGraph g;
    for (long i = 0; i < nodes; ++i)
        g.addNode(qctest::nodeAt(static_cast<double>(rng() % 100), static_cast<double>(rng() % 100)));
    for (long k = 0; k < links; ++k)
        g.addLinkFastUnsafe(static_cast<long>(rng() % nodes), static_cast<long>(rng() % nodes),
                            static_cast<double>(rng() % 10));
    return g;
}

// Everything a reader can ask of a graph, gathered so two runs can be compared.
struct Answers {
    std::vector<qcIndexArray> pathNodes, pathLinks;
    std::vector<std::vector<qcDirectedGraphPath>> walks;
    std::vector<std::vector<double>> walkScores;
    std::size_t graphics = 0;
    std::vector<std::vector<std::int32_t>> cliques;

    bool operator==(const Answers& o) const
    {
        return pathNodes == o.pathNodes && pathLinks == o.pathLinks && walks == o.walks &&
               walkScores == o.walkScores && graphics == o.graphics && cliques == o.cliques;
    }
};

Answers ask(const qcDirectedGraph& g)
{
    Answers a;
    for (std::int32_t s = 0; s < 20; ++s) {
        const std::int32_t e = static_cast<std::int32_t>(g.numNodes() - 1 - s);
        a.pathNodes.emplace_back();
        a.pathLinks.emplace_back();
        g.shortestPath(s, e, a.pathNodes.back(), a.pathLinks.back());
        a.walks.emplace_back();
        a.walkScores.emplace_back();
        g.shortestPath(s, e, 5, -1, 12, a.walks.back(), a.walkScores.back());
    }
    qcGraphicList list;
    g.draw(list);
    g.drawPath(list, a.pathNodes.front(), a.pathLinks.front());
    a.graphics = list.size();

    qcAdjacencyLists lists(static_cast<std::size_t>(g.numNodes()));
    for (long k = 0; k < g.numLinks(); ++k)
        lists[static_cast<std::size_t>(g.link(k).nodeA())].push_back(
            static_cast<std::int32_t>(g.link(k).nodeB()));
    qfComputeCliques(lists, a.cliques);
    return a;
}

}  // namespace

TEST(Concurrency, ThreadsReadingOneConstGraphGetTheSingleThreadAnswers)
{
    const qcDirectedGraph g = randomGraph(5, 3000, 6000);
    const Answers expected = ask(g);
    std::vector<Answers> got(4);
    std::vector<std::thread> readers;
    for (Answers& slot : got)
        readers.emplace_back([&g, &slot] { slot = ask(g); });
    for (std::thread& t : readers)
        t.join();
    for (const Answers& a : got)
        EXPECT_TRUE(a == expected);
}

TEST(Concurrency, CallsOnDifferentGraphsRunInParallel)
{
    std::vector<Answers> expected, got(4);
    for (unsigned seed = 0; seed < 4; ++seed)
        expected.push_back(ask(randomGraph(seed, 500, 2000)));
    std::vector<std::thread> workers;
    for (unsigned seed = 0; seed < 4; ++seed)
        workers.emplace_back([seed, &got] { got[seed] = ask(randomGraph(seed, 500, 2000)); });
    for (std::thread& t : workers)
        t.join();
    for (unsigned seed = 0; seed < 4; ++seed)
        EXPECT_TRUE(got[seed] == expected[seed]) << "graph " << seed;
}
