// Ranked walks: the library's search beside the plain open-list scan it replaces, on the same
// graphs and bounds, with the peak heap memory of one search.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "GridGraph.h"
#include "qcDirectedGraph.h"
#include "reference/PlainRankedWalks.h"

// Heap accounting for the peak-memory counter: replaces the global allocation functions of the
// benchmark program (the library's allocations come here too). Counts only while switched on.
namespace {
bool gCounting = false;
long long gLiveBytes = 0;
long long gPeakBytes = 0;
}  // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    if (gCounting) {
        gLiveBytes += static_cast<long long>(malloc_usable_size(p));
        gPeakBytes = std::max(gPeakBytes, gLiveBytes);
    }
    return p;
}

void operator delete(void* p) noexcept
{
    if (p != nullptr && gCounting)
        gLiveBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

struct Input {
    qcDirectedGraph graph;
    std::int32_t start = 0;
    std::int32_t end = 0;
};

// n nodes with 4 links each to uniformly random targets, scores uniform in [1, 100).
const Input& randomGraph()
{
    static Input in;
    if (in.graph.numNodes() == 0) {
        const long n = 10000;
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> score(1.0, 100.0);
        for (long i = 0; i < n; ++i)
            in.graph.addNode(qcDirectedGraphNode());
        for (long v = 0; v < n; ++v)
            for (int j = 0; j < 4; ++j)
                in.graph.addLinkFastUnsafe(v, static_cast<long>(rng() % n), score(rng));
        in.start = 0;
        in.end = static_cast<std::int32_t>(n - 1);
    }
    return in;
}

// A 300 x 300 grid, links both ways between 4-neighbours, scores uniform in [1, 100); between
// two nodes 20 steps apart near the middle.
const Input& grid()
{
    static Input in;
    if (in.graph.numNodes() == 0) {
        const int side = 300;
        std::mt19937 rng(4);
        std::uniform_real_distribution<double> score(1.0, 100.0);
        in.graph = gridGraph(side, [&] { return score(rng); });
        in.start = 140 * side + 140;
        in.end = 150 * side + 150;
    }
    return in;
}

using Search = void (*)(const qcDirectedGraph&, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                       std::int32_t, std::vector<qcDirectedGraphPath>&, std::vector<double>&);

void librarySearch(const qcDirectedGraph& g, std::int32_t start, std::int32_t end, std::int32_t k,
                   std::int32_t minLength, std::int32_t maxLength, std::vector<qcDirectedGraphPath>& paths,
                   std::vector<double>& scores)
{
    g.shortestPath(start, end, k, minLength, maxLength, paths, scores);
}

// Times the search with default bounds; the first run also measures the peak heap memory
// (outputs included).
void run(benchmark::State& state, const Input& in, Search search)
{
    const auto k = static_cast<std::int32_t>(state.range(0));
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    gLiveBytes = gPeakBytes = 0;
    gCounting = true;
    for (auto _ : state) {
        search(in.graph, in.start, in.end, k, -1, -1, paths, scores);
        gCounting = false;
        benchmark::DoNotOptimize(paths.data());
    }
    state.counters["nodes"] = static_cast<double>(in.graph.numNodes());
    state.counters["links"] = static_cast<double>(in.graph.numLinks());
    state.counters["k"] = static_cast<double>(k);
    state.counters["paths"] = static_cast<double>(paths.size());
    state.counters["peak_bytes"] = static_cast<double>(gPeakBytes);
}

void Random10kx40k_qcgraph(benchmark::State& s) { run(s, randomGraph(), librarySearch); }
void Grid300x300_qcgraph(benchmark::State& s) { run(s, grid(), librarySearch); }
void Grid300x300_plain(benchmark::State& s) { run(s, grid(), qcref::plainRankedWalks); }

}  // namespace

BENCHMARK(Random10kx40k_qcgraph)->Name("RankedWalks/random_10k_40k/qcgraph")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Grid300x300_qcgraph)->Name("RankedWalks/grid_300x300_20_steps/qcgraph")->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
// The plain scan costs (open walks) x (takings): on the random graph it needs 27 s already for
// k = 10, and on the grid about 10 min for k = 1000, so only these two run.
BENCHMARK(Grid300x300_plain)->Name("RankedWalks/grid_300x300_20_steps/plain")->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);
