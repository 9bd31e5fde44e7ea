// The adjacency-list functions on random and chain-shaped lists. Cliques run beside the
// Boost Graph Library's connected_components on the same undirected graph (the Boost graph is
// built outside the timed loop; qfComputeCliques builds its neighbour tables inside it). The
// connection path runs beside the plain procedure of the tests where that finishes in seconds.
#include <benchmark/benchmark.h>

#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/connected_components.hpp>

#include <random>

#include "qfAdjacencyLists.h"
#include "reference/PlainAdjacency.h"

namespace {

using BoostGraph = boost::adjacency_list<boost::vecS, boost::vecS, boost::undirectedS>;

// n nodes and `links` entries, each from a random node to a random node.
qcAdjacencyLists randomLinks(std::int32_t n, long links)
{
    std::mt19937 rng(2026);
    std::uniform_int_distribution<std::int32_t> node(0, n - 1);
    qcAdjacencyLists lists(static_cast<std::size_t>(n));
    for (long k = 0; k < links; ++k) {
        const std::int32_t from = node(rng);
        lists[static_cast<std::size_t>(from)].push_back(node(rng));
    }
    return lists;
}

// Node i points to i + 1.
qcAdjacencyLists chain(std::int32_t n)
{
    qcAdjacencyLists lists(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i + 1 < n; ++i)
        lists[static_cast<std::size_t>(i)].push_back(i + 1);
    return lists;
}

const qcAdjacencyLists& cliqueInput(int shape)
{
    static const qcAdjacencyLists random = randomLinks(1000000, 4000000);
    static const qcAdjacencyLists longChain = chain(1000000);
    return shape == 0 ? random : longChain;
}

void label(benchmark::State& state, const qcAdjacencyLists& lists, const char* shape)
{
    std::size_t entries = 0;
    for (const auto& list : lists)
        entries += list.size();
    state.SetLabel(std::string(shape) + " n=" + std::to_string(lists.size()) +
                   " entries=" + std::to_string(entries));
}

void BM_Cliques(benchmark::State& state)
{
    const auto& lists = cliqueInput(static_cast<int>(state.range(0)));
    qcCliques result;
    for (auto _ : state) {
        qfComputeCliques(lists, result);
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["cliques"] = static_cast<double>(result.size());
    label(state, lists, state.range(0) == 0 ? "random" : "chain");
}

void BM_BoostConnectedComponents(benchmark::State& state)
{
    const auto& lists = cliqueInput(static_cast<int>(state.range(0)));
    BoostGraph graph(lists.size());
    for (std::size_t i = 0; i < lists.size(); ++i)
        for (const std::int32_t k : lists[i])
            boost::add_edge(i, static_cast<std::size_t>(k), graph);
    std::vector<int> component(lists.size());
    int count = 0;
    for (auto _ : state) {
        count = boost::connected_components(graph, component.data());
        benchmark::DoNotOptimize(component.data());
    }
    state.counters["cliques"] = count;
    label(state, lists, state.range(0) == 0 ? "random" : "chain");
}

// n lists of random ids. Sparse: 0 to 4 entries over ids 0 to n + n/10 - 1 (some beyond the
// nodes), so some roots share no id and cost 0, and every later root stops at once. Dense: 2 to
// 5 entries over ids 0 to n/2 - 1, so every root has to spread over the whole graph.
qcAdjacencyLists randomIdLists(std::int32_t n, bool dense)
{
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_int_distribution<int> length(dense ? 2 : 0, dense ? 5 : 4);
    std::uniform_int_distribution<std::int32_t> id(0, dense ? n / 2 - 1 : n + n / 10 - 1);
    qcAdjacencyLists lists(static_cast<std::size_t>(n));
    for (auto& list : lists)
        for (int k = length(rng); k > 0; --k)
            list.push_back(id(rng));
    return lists;
}

// Arguments: n, then 1 for dense lists, 0 for sparse ones.
template <void (*Path)(const qcAdjacencyLists&, std::vector<qcConnectionRecord>&)>
void BM_Connection(benchmark::State& state)
{
    const bool dense = state.range(1) != 0;
    const qcAdjacencyLists lists = randomIdLists(static_cast<std::int32_t>(state.range(0)), dense);
    std::vector<qcConnectionRecord> records;
    for (auto _ : state) {
        Path(lists, records);
        benchmark::DoNotOptimize(records.data());
    }
    state.counters["records"] = static_cast<double>(records.size());
    label(state, lists, dense ? "dense" : "sparse");
}

void BM_ConnectionPath(benchmark::State& state) { BM_Connection<qfComputeConnectionPath>(state); }
void BM_PlainConnectionPath(benchmark::State& state)
{
    BM_Connection<qcref::plainConnectionPath>(state);
}

}  // namespace

// Argument 0: 1M nodes with 4M random links; 1: a chain of 1M nodes.
BENCHMARK(BM_Cliques)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoostConnectedComponents)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConnectionPath)
    ->ArgsProduct({{500, 2000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainConnectionPath)
    ->ArgsProduct({{500, 2000, 10000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
