#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "qcGraphicList.h"
#include "support/GraphTestSupport.h"

namespace {

// What a reader gets from a graph: paths, ranked walks and the number of graphics, as text.
std::string ask(const qcDirectedGraph& g)
{
    std::ostringstream answers;
    for (std::int32_t s = 0; s < 20; ++s) {
        qcIndexArray nodes, links;
        std::vector<qcDirectedGraphPath> walks;
        std::vector<double> scores;
        g.shortestPath(s, g.numNodes() - 1 - s, nodes, links);
        g.shortestPath(s, g.numNodes() - 1 - s, 5, -1, 12, walks, scores);
        answers << testing::PrintToString(nodes) << testing::PrintToString(links) << testing::PrintToString(scores);
        for (const qcDirectedGraphPath& w : walks)
            answers << testing::PrintToString(w.links());
    }
    qcGraphicList list;
    g.draw(list);
    return answers.str() + std::to_string(list.size());
}

// Readers share one graph and nothing else; under ThreadSanitizer this also shows that reading
// writes nothing shared.
TEST(Concurrency, ThreadsReadingOneConstGraphGetTheSingleThreadAnswers)
{
    std::mt19937 rng(5);
    qcDirectedGraph g = qctest::makeGraph(3000, {});
    for (long k = 0; k < 6000; ++k)
        g.addLinkFastUnsafe(static_cast<long>(rng() % 3000), static_cast<long>(rng() % 3000), rng() % 10);
    const std::string expected = ask(g);
    std::vector<std::string> got(4);
    std::vector<std::thread> readers;
    for (std::string& slot : got)
        readers.emplace_back([&g, &slot] { slot = ask(g); });
    for (std::thread& t : readers)
        t.join();
    for (const std::string& answers : got)
        EXPECT_EQ(answers, expected);
}

}  // namespace
