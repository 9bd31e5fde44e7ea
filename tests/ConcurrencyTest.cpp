#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "qcGraphicList.h"
#include "support/GraphTestSupport.h"

// Readers share one graph and nothing else; under ThreadSanitizer this also shows that reading
// writes nothing shared.
TEST(Concurrency, ThreadsReadingOneConstGraphGetTheSingleThreadAnswers)
{
    std::mt19937 rng(5);
    qcDirectedGraph g = qctest::makeGraph(3000, {});
    for (long k = 0; k < 6000; ++k)
        g.addLinkFastUnsafe(static_cast<long>(rng() % 3000), static_cast<long>(rng() % 3000), rng() % 10);
    const auto ask = [&g] {  // paths, ranked walks and the number of graphics, as text
        std::string answers;
        for (std::int32_t s = 0; s < 20; ++s) {
            qcIndexArray nodes, links;
            std::vector<qcDirectedGraphPath> walks;
            std::vector<double> scores;
            g.shortestPath(s, 2999 - s, nodes, links);
            g.shortestPath(s, 2999 - s, 5, -1, 12, walks, scores);
            answers += testing::PrintToString(links) + testing::PrintToString(scores);
        }
        qcGraphicList list;
        g.draw(list);
        return answers + std::to_string(list.size());
    };
    const std::string expected = ask();
    std::vector<std::string> got(4);
    std::vector<std::thread> readers;
    for (std::string& slot : got)
        readers.emplace_back([&ask, &slot] { slot = ask(); });
    for (std::thread& t : readers)
        t.join();
    for (const std::string& answers : got)
        EXPECT_EQ(answers, expected);
}
