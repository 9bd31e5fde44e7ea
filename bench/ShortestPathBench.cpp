// Two-node shortest path: qcgraph against Boost.Graph's Dijkstra (compressed sparse rows, stopped
// at the target by a visitor) on the same graph and pair, in the same process.

#include <benchmark/benchmark.h>

#include <boost/graph/compressed_sparse_row_graph.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "qcDirectedGraph.h"

namespace {

struct Weight {
    double w;
};
using BoostGraph = boost::compressed_sparse_row_graph<boost::directedS, boost::no_property, Weight>;
using BoostVertex = boost::graph_traits<BoostGraph>::vertex_descriptor;

// One input, held in both libraries' forms, with the pair to search between.
struct Input {
    qcDirectedGraph graph;
    std::unique_ptr<BoostGraph> boost;
    std::int32_t start = 0;
    std::int32_t end = 0;
};

struct EdgeList {
    long numNodes = 0;
    std::vector<std::pair<std::int32_t, std::int32_t>> ends;
    std::vector<Weight> weights;
    void add(std::int32_t a, std::int32_t b, double w)
    {
        ends.emplace_back(a, b);
        weights.push_back(Weight{w});
    }
};

std::unique_ptr<Input> makeInput(const EdgeList& edges, std::int32_t start, std::int32_t end)
{
    auto in = std::make_unique<Input>();
    for (long i = 0; i < edges.numNodes; ++i)
        in->graph.addNode(qcDirectedGraphNode());
    for (std::size_t k = 0; k < edges.ends.size(); ++k)
        in->graph.addLinkFastUnsafe(edges.ends[k].first, edges.ends[k].second, edges.weights[k].w);
    in->boost = std::make_unique<BoostGraph>(boost::edges_are_unsorted_multi_pass, edges.ends.begin(),
                                             edges.ends.end(), edges.weights.begin(),
                                             static_cast<std::size_t>(edges.numNodes));
    in->start = start;
    in->end = end;
    return in;
}

// A side x side grid, links both ways between 4-neighbours, scores uniform in [1, 100); from
// corner to corner.
const Input& grid(int side)
{
    static std::unique_ptr<Input> cached;
    if (!cached) {
        std::mt19937 rng(1);
        std::uniform_real_distribution<double> score(1.0, 100.0);
        EdgeList e;
        e.numNodes = static_cast<long>(side) * side;
        for (int r = 0; r < side; ++r)
            for (int c = 0; c < side; ++c) {
                const std::int32_t v = r * side + c;
                if (c + 1 < side) e.add(v, v + 1, score(rng));
                if (c > 0) e.add(v, v - 1, score(rng));
                if (r + 1 < side) e.add(v, v + side, score(rng));
                if (r > 0) e.add(v, v - side, score(rng));
            }
        cached = makeInput(e, 0, static_cast<std::int32_t>(e.numNodes - 1));
    }
    return *cached;
}

// n nodes with 4 links each to uniformly random targets, scores uniform in [1, 100). Stored node
// by node, or in shuffled order (each node's chain then scattered over the link array). The pair
// is node 0 and the reachable node farthest from it.
const Input& randomGraph(bool shuffled)
{
    static std::unique_ptr<Input> cached[2];
    std::unique_ptr<Input>& in = cached[shuffled ? 1 : 0];
    if (!in) {
        const long n = 1000000;
        std::mt19937 rng(2);
        std::uniform_real_distribution<double> score(1.0, 100.0);
        EdgeList e;
        e.numNodes = n;
        for (std::int32_t v = 0; v < n; ++v)
            for (int j = 0; j < 4; ++j)
                e.add(v, static_cast<std::int32_t>(rng() % n), score(rng));
        if (shuffled) {
            std::vector<std::size_t> order(e.ends.size());
            for (std::size_t k = 0; k < order.size(); ++k)
                order[k] = k;
            std::shuffle(order.begin(), order.end(), rng);
            EdgeList s;
            s.numNodes = n;
            for (std::size_t k : order)
                s.add(e.ends[k].first, e.ends[k].second, e.weights[k].w);
            e = std::move(s);
        }
        in = makeInput(e, 0, 0);
        std::vector<double> dist(static_cast<std::size_t>(n));
        const BoostGraph& g = *in->boost;
        boost::dijkstra_shortest_paths(
            g, 0,
            boost::distance_map(boost::make_iterator_property_map(dist.begin(), boost::get(boost::vertex_index, g)))
                .weight_map(boost::get(&Weight::w, g)));
        double far = 0.0;
        for (std::int32_t v = 0; v < n; ++v)
            if (dist[static_cast<std::size_t>(v)] < 1.0e300 && dist[static_cast<std::size_t>(v)] > far) {
                far = dist[static_cast<std::size_t>(v)];
                in->end = v;
            }
    }
    return *in;
}

struct TargetReached {};

struct StopAtTarget : boost::default_dijkstra_visitor {
    BoostVertex target;
    explicit StopAtTarget(BoostVertex t) : target(t) {}
    void examine_vertex(BoostVertex v, const BoostGraph&) const
    {
        if (v == target)
            throw TargetReached();
    }
};

// The path from Boost's predecessors, as our arrays would hold its nodes.
std::size_t boostSearch(const Input& in)
{
    const BoostGraph& g = *in.boost;
    const std::size_t n = boost::num_vertices(g);
    std::vector<double> dist(n);
    std::vector<BoostVertex> pred(n);
    const auto index = boost::get(boost::vertex_index, g);
    try {
        boost::dijkstra_shortest_paths(g, static_cast<BoostVertex>(in.start),
                                       boost::predecessor_map(boost::make_iterator_property_map(pred.begin(), index))
                                           .distance_map(boost::make_iterator_property_map(dist.begin(), index))
                                           .weight_map(boost::get(&Weight::w, g))
                                           .visitor(StopAtTarget(static_cast<BoostVertex>(in.end))));
    } catch (const TargetReached&) {
    }
    qcIndexArray nodes;
    for (BoostVertex v = static_cast<BoostVertex>(in.end);; v = pred[v]) {
        nodes.push_back(static_cast<std::int32_t>(v));
        if (v == static_cast<BoostVertex>(in.start) || pred[v] == v)
            break;
    }
    return nodes.size();
}

void label(benchmark::State& state, const Input& in, std::size_t pathNodes)
{
    state.counters["nodes"] = static_cast<double>(in.graph.numNodes());
    state.counters["links"] = static_cast<double>(in.graph.numLinks());
    state.counters["path_nodes"] = static_cast<double>(pathNodes);
}

void runQcgraph(benchmark::State& state, const Input& in)
{
    qcIndexArray nodes, links;
    for (auto _ : state) {
        in.graph.shortestPath(in.start, in.end, nodes, links);
        benchmark::DoNotOptimize(nodes.data());
    }
    label(state, in, nodes.size());
}

void runBoost(benchmark::State& state, const Input& in)
{
    std::size_t pathNodes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(pathNodes = boostSearch(in));
    label(state, in, pathNodes);
}

void Grid1000x1000_qcgraph(benchmark::State& s) { runQcgraph(s, grid(1000)); }
void Grid1000x1000_boost(benchmark::State& s) { runBoost(s, grid(1000)); }
void Random1Mx4M_qcgraph(benchmark::State& s) { runQcgraph(s, randomGraph(false)); }
void Random1Mx4M_boost(benchmark::State& s) { runBoost(s, randomGraph(false)); }
void Random1Mx4M_shuffledLinks_qcgraph(benchmark::State& s) { runQcgraph(s, randomGraph(true)); }
void Random1Mx4M_shuffledLinks_boost(benchmark::State& s) { runBoost(s, randomGraph(true)); }

}  // namespace

BENCHMARK(Grid1000x1000_qcgraph)->Name("ShortestPath/grid_1000x1000/qcgraph")->Unit(benchmark::kMillisecond);
BENCHMARK(Grid1000x1000_boost)->Name("ShortestPath/grid_1000x1000/boost")->Unit(benchmark::kMillisecond);
BENCHMARK(Random1Mx4M_qcgraph)->Name("ShortestPath/random_1M_4M/qcgraph")->Unit(benchmark::kMillisecond);
BENCHMARK(Random1Mx4M_boost)->Name("ShortestPath/random_1M_4M/boost")->Unit(benchmark::kMillisecond);
BENCHMARK(Random1Mx4M_shuffledLinks_qcgraph)
    ->Name("ShortestPath/random_1M_4M_shuffled_links/qcgraph")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Random1Mx4M_shuffledLinks_boost)
    ->Name("ShortestPath/random_1M_4M_shuffled_links/boost")
    ->Unit(benchmark::kMillisecond);
