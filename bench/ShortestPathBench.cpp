// Two-node shortest path: qcgraph against Boost.Graph (compressed sparse rows), LEMON (static
// digraph) and igraph on the same graph and pair, in the same process. Each peer is stopped at
// the target and gives back the path's nodes.

#include <benchmark/benchmark.h>

#include <boost/graph/compressed_sparse_row_graph.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>
#include <igraph.h>
#include <lemon/dijkstra.h>
#include <lemon/static_graph.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "qcDirectedGraph.h"

namespace {

struct Weight {
    double w;
};
using BoostGraph = boost::compressed_sparse_row_graph<boost::directedS, boost::no_property, Weight>;
using BoostVertex = boost::graph_traits<BoostGraph>::vertex_descriptor;

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

// LEMON's static digraph wants its arcs sorted by source; the weights follow the same order.
struct LemonGraph {
    lemon::StaticDigraph graph;
    std::unique_ptr<lemon::StaticDigraph::ArcMap<double>> weight;

    explicit LemonGraph(const EdgeList& e)
    {
        std::vector<std::size_t> order(e.ends.size());
        for (std::size_t k = 0; k < order.size(); ++k)
            order[k] = k;
        std::stable_sort(order.begin(), order.end(),
                         [&e](std::size_t x, std::size_t y) { return e.ends[x].first < e.ends[y].first; });
        std::vector<std::pair<int, int>> arcs;
        arcs.reserve(order.size());
        for (std::size_t k : order)
            arcs.emplace_back(e.ends[k].first, e.ends[k].second);
        graph.build(static_cast<int>(e.numNodes), arcs.begin(), arcs.end());
        weight = std::make_unique<lemon::StaticDigraph::ArcMap<double>>(graph);
        for (std::size_t i = 0; i < order.size(); ++i)
            (*weight)[graph.arc(static_cast<int>(i))] = e.weights[order[i]].w;
    }
};

struct IgraphGraph {
    igraph_t graph;
    igraph_vector_t weights;

    explicit IgraphGraph(const EdgeList& e)
    {
        igraph_vector_int_t ends;
        igraph_vector_int_init(&ends, static_cast<igraph_integer_t>(2 * e.ends.size()));
        igraph_vector_init(&weights, static_cast<igraph_integer_t>(e.ends.size()));
        for (std::size_t k = 0; k < e.ends.size(); ++k) {
            VECTOR(ends)[2 * k] = e.ends[k].first;
            VECTOR(ends)[2 * k + 1] = e.ends[k].second;
            VECTOR(weights)[k] = e.weights[k].w;
        }
        if (igraph_create(&graph, &ends, static_cast<igraph_integer_t>(e.numNodes), IGRAPH_DIRECTED) != IGRAPH_SUCCESS)
            throw std::runtime_error("igraph_create failed");
        igraph_vector_int_destroy(&ends);
    }
    ~IgraphGraph()
    {
        igraph_destroy(&graph);
        igraph_vector_destroy(&weights);
    }
    IgraphGraph(const IgraphGraph&) = delete;
    IgraphGraph& operator=(const IgraphGraph&) = delete;
};

// One input, held in every library's form, with the pair to search between.
struct Input {
    qcDirectedGraph graph;
    std::unique_ptr<BoostGraph> boost;
    std::unique_ptr<LemonGraph> lemon;
    std::unique_ptr<IgraphGraph> igraph;
    std::int32_t start = 0;
    std::int32_t end = 0;
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
    in->lemon = std::make_unique<LemonGraph>(edges);
    in->igraph = std::make_unique<IgraphGraph>(edges);
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
        lemon::Dijkstra<lemon::StaticDigraph, lemon::StaticDigraph::ArcMap<double>> all(in->lemon->graph,
                                                                                       *in->lemon->weight);
        all.run(in->lemon->graph.node(0));
        double far = 0.0;
        for (std::int32_t v = 0; v < n; ++v) {
            const auto node = in->lemon->graph.node(v);
            if (all.reached(node) && all.dist(node) > far) {
                far = all.dist(node);
                in->end = v;
            }
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
    std::size_t nodes = 1;
    for (BoostVertex v = static_cast<BoostVertex>(in.end); v != static_cast<BoostVertex>(in.start) && pred[v] != v;
         v = pred[v])
        ++nodes;
    return nodes;
}

std::size_t lemonSearch(const Input& in)
{
    const lemon::StaticDigraph& g = in.lemon->graph;
    lemon::Dijkstra<lemon::StaticDigraph, lemon::StaticDigraph::ArcMap<double>> d(g, *in.lemon->weight);
    if (!d.run(g.node(in.start), g.node(in.end)))
        return 0;
    return static_cast<std::size_t>(d.path(g.node(in.end)).length()) + 1;
}

std::size_t igraphSearch(const Input& in)
{
    igraph_vector_int_t vertices;
    igraph_vector_int_init(&vertices, 0);
    igraph_get_shortest_path_dijkstra(&in.igraph->graph, &vertices, nullptr, in.start, in.end,
                                      &in.igraph->weights, IGRAPH_OUT);
    const auto nodes = static_cast<std::size_t>(igraph_vector_int_size(&vertices));
    igraph_vector_int_destroy(&vertices);
    return nodes;
}

std::size_t qcgraphSearch(const Input& in)
{
    qcIndexArray nodes, links;
    in.graph.shortestPath(in.start, in.end, nodes, links);
    return nodes.size();
}

// Every library must find a path of the same number of nodes, or the comparison means nothing.
template <std::size_t (*search)(const Input&), const Input& (*input)()>
void run(benchmark::State& state)
{
    const Input& in = input();
    std::size_t pathNodes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(pathNodes = search(in));
    if (pathNodes != qcgraphSearch(in))
        state.SkipWithError("the path differs in length from qcgraph's");
    state.counters["nodes"] = static_cast<double>(in.graph.numNodes());
    state.counters["links"] = static_cast<double>(in.graph.numLinks());
    state.counters["path_nodes"] = static_cast<double>(pathNodes);
}

const Input& gridInput() { return grid(1000); }
const Input& randomInput() { return randomGraph(false); }
const Input& shuffledInput() { return randomGraph(true); }

// Best of the repetitions beside Google Benchmark's mean and median: the figure least disturbed
// by whatever else the machine runs.
double best(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

#define QCGRAPH_PEER(name, library, search, input)                                                    \
    BENCHMARK(run<search, input>)                                                                     \
        ->Name("ShortestPath/" name "/" library)                                                      \
        ->Unit(benchmark::kMillisecond)                                                               \
        ->ComputeStatistics("best", best)
#define QCGRAPH_PEERS(name, input)                                                                     \
    QCGRAPH_PEER(name, "qcgraph", qcgraphSearch, input);                                              \
    QCGRAPH_PEER(name, "boost", boostSearch, input);                                                  \
    QCGRAPH_PEER(name, "lemon", lemonSearch, input);                                                  \
    QCGRAPH_PEER(name, "igraph", igraphSearch, input)

QCGRAPH_PEERS("grid_1000x1000", gridInput);
QCGRAPH_PEERS("random_1M_4M", randomInput);
QCGRAPH_PEERS("random_1M_4M_shuffled_links", shuffledInput);

}  // namespace
