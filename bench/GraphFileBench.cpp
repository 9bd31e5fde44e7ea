// Loading large graph files with the tool's readers: a random graph of 2.5M nodes and 10M
// arcs, as a DIMACS file and as an edge list, written once per run into /tmp.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <random>
#include <string>

#include "GraphFiles.h"

namespace {

constexpr long benchNodes = 2500000;
constexpr long benchArcs = 10000000;

// Writes the arcs with to_chars into a large buffer, so making the file takes a second or two.
std::string writeRandomGraph(GraphFormat format)
{
    const std::string path = format == GraphFormat::dimacs ? "/tmp/qcgraph-bench-10M.gr"
                                                           : "/tmp/qcgraph-bench-10M.txt";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return {};
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<long> node(0, benchNodes - 1);
    std::uniform_int_distribution<long> weight(1, 10000);
    const long base = format == GraphFormat::dimacs ? 1 : 0;
    if (format == GraphFormat::dimacs)
        std::fprintf(out, "c random graph for the load benchmark\np sp %ld %ld\n", benchNodes,
                     benchArcs);
    std::string buffer;
    char number[24];
    auto put = [&](long value) {
        buffer.append(number, std::to_chars(number, number + sizeof number, value).ptr);
    };
    for (long i = 0; i < benchArcs; ++i) {
        if (format == GraphFormat::dimacs)
            buffer += "a ";
        put(node(rng) + base);
        buffer += ' ';
        put(node(rng) + base);
        buffer += ' ';
        put(weight(rng));
        buffer += '\n';
        if (buffer.size() > (std::size_t(1) << 22)) {
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    std::fclose(out);
    return path;
}

void loadBench(benchmark::State& state, GraphFormat format)
{
    static const std::string dimacs = writeRandomGraph(GraphFormat::dimacs);
    static const std::string edges = writeRandomGraph(GraphFormat::edges);
    const std::string& path = format == GraphFormat::dimacs ? dimacs : edges;
    if (path.empty()) {
        state.SkipWithError("cannot write the graph file into /tmp");
        return;
    }
    std::uint64_t lines = 0;
    for (auto _ : state) {
        const GraphFile file = readGraphFile(path, format);
        lines += file.lines;
        benchmark::DoNotOptimize(file.graph.numLinks());
    }
    state.counters["nodes"] = static_cast<double>(benchNodes);
    state.counters["arcs"] = static_cast<double>(benchArcs);
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

void BM_LoadDimacs(benchmark::State& state) { loadBench(state, GraphFormat::dimacs); }
void BM_LoadEdgeList(benchmark::State& state) { loadBench(state, GraphFormat::edges); }

}  // namespace

BENCHMARK(BM_LoadDimacs)->Unit(benchmark::kMillisecond)->MinTime(5.0);
BENCHMARK(BM_LoadEdgeList)->Unit(benchmark::kMillisecond)->MinTime(5.0);
