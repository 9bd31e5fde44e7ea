// The figures of the index of cheapest paths beside the two-node search, one run on the same
// graphs and pairs: the 1000 x 1000 grid with random whole scores 1-99, the road network of
// Rome (rome99.gr) and a road-like graph of 1M nodes.
//
//   qcgraph_index_figures [--graphs grid,rome,road] [--scale S] [--rome FILE]
//
// Times are the thread's CPU time, so that other work on the machine does not count, but for
// the build's and the update's, which use both cores (a contraction shares its long searches
// and its first priorities between two threads, a customization its graph's halves). Every
// index distance of the 10,000 pairs (100 sources by 100 targets) is compared with the
// two-node search's score, read from the one-to-all search of each source, which gives the
// same paths; the two-node search itself is timed on 100 of the pairs.
#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "GridGraph.h"
#include "RoadLikeGraph.h"
#include "qcShortestPathIndex.h"

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double timed(const std::function<void()>& f)
{
    const double start = cpuSeconds();
    f();
    return cpuSeconds() - start;
}

// For work that runs on more threads than this one.
double wallTimed(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The arcs of a DIMACS shortest-path file.
qcDirectedGraph dimacs(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    qcDirectedGraph g;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind, sp;
        fields >> kind;
        long a = 0, b = 0;
        if (kind == "p" && fields >> sp >> a)
            for (long i = 0; i < a; ++i)
                g.addNode(qcDirectedGraphNode());
        double w = 0.0;
        if (kind == "a" && fields >> a >> b >> w)
            g.addLinkFastUnsafe(a - 1, b - 1, w);
    }
    return g;
}

double mb(double bytes) { return bytes / 1e6; }

std::string relativeText(double r)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1e", r);
    return text;
}

// How far a is from b, relative to b; 0 when both are +infinity.
double relative(double a, double b) { return a == b ? 0.0 : std::abs(a - b) / b; }

void figures(const char* name, const qcDirectedGraph& g, bool wholeScores)
{
    const double graphBytes = static_cast<double>(g.numNodes()) * sizeof(qcDirectedGraphNode) +
                              static_cast<double>(g.numLinks()) * sizeof(qcDirectedGraphLink);
    std::printf("\n## %s: %ld nodes, %ld links, %.1f MB\n\n", name, g.numNodes(), g.numLinks(), mb(graphBytes));
    std::mt19937 rng(20261207);
    const auto anyNode = [&] { return static_cast<std::int32_t>(rng() % static_cast<unsigned>(g.numNodes())); };
    qcIndexArray sources(100), targets(100);
    for (auto& s : sources)
        s = anyNode();
    for (auto& t : targets)
        t = anyNode();

    qcIndexArray nodes, links;
    std::vector<double> tree;
    qcIndexArray via;
    double searchTime = 0.0, treeTime = 0.0, farthestTime = 0.0;
    std::vector<double> want;  // sources by targets, from the one-to-all searches
    // Untimed: the first search of a graph takes the memory that the later ones find kept.
    g.shortestPathTree(sources[0], tree, via);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        // Untimed: it finds the farthest node, and leaves the caches as warm for the timed tree
        // below as for the search to that node.
        g.shortestPathTree(sources[i], tree, via);
        for (const auto t : targets)
            want.push_back(tree[static_cast<std::size_t>(t)]);
        searchTime += timed([&] { g.shortestPath(sources[i], targets[i], nodes, links); });
        std::int32_t farthest = sources[i];
        for (std::size_t v = 0; v < tree.size(); ++v)
            if (std::isfinite(tree[v]) && tree[v] > tree[static_cast<std::size_t>(farthest)])
                farthest = static_cast<std::int32_t>(v);
        farthestTime += timed([&] { g.shortestPath(sources[i], farthest, nodes, links); });
        treeTime += timed([&] { g.shortestPathTree(sources[i], tree, via); });
    }
    const double search = searchTime / 100;

    qcShortestPathIndex index;
    const double build = wallTimed([&] { index = qcShortestPathIndex(g); });  // on both cores
    const double memory = static_cast<double>(index.memoryBytes());
    qcShortestPathIndex::Workspace w;
    std::vector<double> got(want.size());
    const double query = timed([&] {
        for (std::size_t k = 0; k < want.size(); ++k)
            got[k] = index.distance(sources[k / 100], targets[k % 100], w);
    }) / static_cast<double>(want.size());
    std::size_t differ = 0;
    double worst = 0.0;
    for (std::size_t k = 0; k < want.size(); ++k)
        if (got[k] != want[k]) {
            ++differ;
            worst = std::max(worst, relative(got[k], want[k]));
        }
    const double path = timed([&] {
        for (std::size_t k = 0; k < want.size(); ++k)
            index.path(sources[k / 100], targets[k % 100], nodes, links, w);
    }) / static_cast<double>(want.size());

    qcIndexArray many(1000), others(1000);
    for (auto& s : many)
        s = anyNode();
    for (auto& t : others)
        t = anyNode();
    std::vector<double> table;
    const double tableTime = timed([&] { index.distances(many, others, table); });

    qcDirectedGraph changed = g;
    for (long l = 0; l < changed.numLinks(); ++l) {
        qcDirectedGraphLink link = changed.link(l);
        link.score(wholeScores ? std::floor(link.score() * (1.0 + (rng() % 30) / 100.0)) : link.score() * (1.0 + (rng() % 30) / 100.0));
        changed.link(l, link);
    }
    const double update = wallTimed([&] { index.update(changed); });
    changed.shortestPathTree(sources[0], tree, via);
    // Whole scores stay whole, and then the distances are exact; else within a relative 1e-12.
    std::size_t staleAfterUpdate = 0;
    for (const auto t : targets)
        staleAfterUpdate += relative(index.distance(sources[0], t, w), tree[static_cast<std::size_t>(t)]) > 1e-12 ? 1 : 0;
    const double queryAfterUpdate = timed([&] {
        for (std::size_t k = 0; k < want.size(); ++k)
            got[k] = index.distance(sources[k / 100], targets[k % 100], w);
    }) / static_cast<double>(want.size());

    std::printf("| figure | value |\n|---|---|\n");
    std::printf("| two-node search (mean of 100 pairs) | %.2f ms |\n", search * 1e3);
    std::printf("| index build (wall time) | %.2f s |\n", build);
    std::printf("| index memory | %.1f MB (%.2fx the graph) |\n", mb(memory), memory / graphBytes);
    std::printf("| distance query (mean of 10,000 pairs) | %.1f us (%.0fx faster than the search) |\n", query * 1e6,
                search / query);
    std::printf("| path query, shortcuts unpacked | %.1f us (%.0fx) |\n", path * 1e6, search / path);
    std::printf("| distances equal to the two-node search's | %zu of %zu%s |\n", want.size() - differ, want.size(),
                differ == 0 ? "" : (" (the others within " + relativeText(worst) + " relative)").c_str());
    std::printf("| table 1000 x 1000 | %.2f s |\n", tableTime);
    std::printf("| update after new scores (wall time: a customized index uses both cores) | %.2f s (%.2f of the build), then %.1f MB and %.1f us a distance query; "
                "%zu of 100 distances wrong after |\n",
                update, update / build, mb(static_cast<double>(index.memoryBytes())), queryAfterUpdate * 1e6,
                staleAfterUpdate);
    std::printf("| one to all | %.1f ms, the two-node search to the farthest node %.1f ms |\n", treeTime / 100 * 1e3,
                farthestTime / 100 * 1e3);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string graphs = "grid,rome,road", rome = "../shared/data/real/rome99.gr";
    double scale = 1.0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--graphs") == 0)
            graphs = argv[i + 1];
        else if (std::strcmp(argv[i], "--scale") == 0)
            scale = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--rome") == 0)
            rome = argv[i + 1];
    }
    const auto wanted = [&graphs](const char* name) { return graphs.find(name) != std::string::npos; };
    if (wanted("rome"))
        figures("rome99", dimacs(rome), true);
    if (wanted("road"))
        figures("road-like", roadLikeGraph(static_cast<long>(1000000 * scale), 3), false);
    if (wanted("grid")) {
        const long side = static_cast<long>(1000 * std::sqrt(scale));
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> score(1, 99);
        figures(("grid " + std::to_string(side) + " x " + std::to_string(side) + ", scores 1-99").c_str(),
                gridGraph(side, [&] { return score(rng); }), true);
    }
}
