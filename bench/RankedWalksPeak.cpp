// One ranked search in a process of its own, so that the process's peak memory is the search's
// (bench/ranked-peak runs it under /usr/bin/time for this checkout and an earlier revision).
//   ranked_walks_peak random K    10k nodes, 4 links each to random targets, from 0 to 9999
//   ranked_walks_peak grid K      1000 x 1000 grid, links both ways, corner to corner
// Scores uniform in [1, 100); the same graphs as RankedWalksBench and ShortestPathBench.
// Prints the walks found, the last score and the search's time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include <qcDirectedGraph.h>

#include "GridGraph.h"

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "random") != 0 && std::strcmp(argv[1], "grid") != 0)) {
        std::fprintf(stderr, "usage: ranked_walks_peak random|grid K\n");
        return 2;
    }
    const bool random = std::strcmp(argv[1], "random") == 0;
    qcDirectedGraph g;
    std::mt19937 rng(random ? 3 : 1);
    std::uniform_real_distribution<double> score(1.0, 100.0);
    const long side = 1000, n = random ? 10000 : side * side;
    if (random) {
        for (long i = 0; i < n; ++i)
            g.addNode(qcDirectedGraphNode());
        for (long v = 0; v < n; ++v)
            for (int j = 0; j < 4; ++j)
                g.addLinkFastUnsafe(v, static_cast<long>(rng() % n), score(rng));
    } else {
        g = gridGraph(side, [&] { return score(rng); });
    }
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    const auto start = std::chrono::steady_clock::now();
    g.shortestPath(0, static_cast<std::int32_t>(n - 1), std::atoi(argv[2]), -1, -1, paths, scores);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu walks, last score %.17g, search %.2f s\n", scores.size(), scores.empty() ? 0.0 : scores.back(), seconds);
    return 0;
}
