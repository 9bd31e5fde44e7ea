// Loading graph files with the file library: a random graph of 2.5M nodes and 10M links as a
// DIMACS file, an edge list and a Matrix Market file, and one of 250k nodes and 1M links as
// GraphML, each written once per run into /tmp by the library's own writers.
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>

#include "qcGraphFiles.h"

namespace {

qcDirectedGraph randomGraph(long nodes, long links)
{
    qcDirectedGraph graph;
    for (long i = 0; i < nodes; ++i)
        graph.addNode(qcDirectedGraphNode());
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<long> node(0, nodes - 1);
    std::uniform_int_distribution<long> weight(1, 10000);
    graph.reserveLinks(links);
    for (long k = 0; k < links; ++k)
        graph.addLinkFastUnsafe(node(rng), node(rng), static_cast<double>(weight(rng)));
    return graph;
}

// The file of the format, or "" when it cannot be written.
std::string benchFile(qcGraphFormat format)
{
    const bool small = format == qcGraphFormat::graphml;
    const std::string path = std::string("/tmp/qcgraph-bench-") + (small ? "1M" : "10M") +
                             (format == qcGraphFormat::dimacs  ? ".gr"
                              : format == qcGraphFormat::mtx   ? ".mtx"
                              : format == qcGraphFormat::edges ? ".txt"
                                                               : ".graphml");
    qcGraphWriteOptions options;
    options.coordinates = qcCoordinates::none;
    try {
        qfWriteGraph(path, small ? randomGraph(250000, 1000000) : randomGraph(2500000, 10000000), options);
    } catch (const qcGraphFileError&) {
        return "";
    }
    return path;
}

void loadBench(benchmark::State& state, qcGraphFormat format)
{
    // Google Benchmark calls this once for every trial count: the file is written at the first.
    static std::map<qcGraphFormat, std::string> files;
    if (files.count(format) == 0)
        files[format] = benchFile(format);
    const std::string& path = files[format];
    if (path.empty()) {
        state.SkipWithError("cannot write the graph file into /tmp");
        return;
    }
    qcGraphReadOptions options;
    options.maxNodes = qcMaxNodesLimit;
    std::uint64_t lines = 0;
    long links = 0;
    for (auto _ : state) {
        const qcGraphFile file = qfReadGraph(path, options);
        lines += file.lines;
        links = file.graph.numLinks();
        benchmark::DoNotOptimize(links);
    }
    state.counters["links"] = static_cast<double>(links);
    state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

void BM_LoadDimacs(benchmark::State& state) { loadBench(state, qcGraphFormat::dimacs); }
void BM_LoadEdgeList(benchmark::State& state) { loadBench(state, qcGraphFormat::edges); }
void BM_LoadMatrixMarket(benchmark::State& state) { loadBench(state, qcGraphFormat::mtx); }
void BM_LoadGraphml(benchmark::State& state) { loadBench(state, qcGraphFormat::graphml); }

}  // namespace

BENCHMARK(BM_LoadDimacs)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(BM_LoadEdgeList)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(BM_LoadMatrixMarket)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(BM_LoadGraphml)->Unit(benchmark::kMillisecond)->MinTime(5.0);
