// Loopless paths on a 1000 x 1000 grid (links both ways between 4-neighbours, integer scores
// from 1 to 100), corner to corner, with the search's peak memory beside the graph's own size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "GridGraph.h"
#include "qcDirectedGraph.h"

namespace {

const qcDirectedGraph& grid()
{
    static qcDirectedGraph g;
    if (g.numNodes() == 0) {
        const long side = 1000;
        std::mt19937 rng(5);
        std::uniform_int_distribution<int> score(1, 100);
        g = gridGraph(side, [&] { return score(rng); });
    }
    return g;
}

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM").
double statusBytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) * 1024.0;
    return 0.0;
}

// The peak resident size counts from here: the kernel resets it on "5" in clear_refs.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_SimplePathsGrid(benchmark::State& state)
{
    const qcDirectedGraph& g = grid();
    const auto k = static_cast<std::int32_t>(state.range(0));
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    double extra = 0.0;
    for (auto _ : state) {
        paths = {};
        scores = {};
        const double before = statusBytes("VmRSS");
        resetPeak();
        g.simplePaths(0, static_cast<std::int32_t>(g.numNodes() - 1), k, paths, scores);
        extra = std::max(extra, statusBytes("VmHWM") - before);
    }
    const double graphBytes = static_cast<double>(g.numNodes()) * sizeof(qcDirectedGraphNode) +
                              static_cast<double>(g.numLinks()) * sizeof(qcDirectedGraphLink);
    state.counters["paths"] = static_cast<double>(paths.size());
    state.counters["last_score"] = scores.empty() ? 0.0 : scores.back();
    state.counters["graph_MB"] = graphBytes / 1e6;
    state.counters["search_peak_MB"] = extra / 1e6;
    state.counters["peak_per_graph"] = extra / graphBytes;
}
BENCHMARK(BM_SimplePathsGrid)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
