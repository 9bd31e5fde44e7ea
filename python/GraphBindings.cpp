// Graph: the container, its searches, trace and picture.
#include <pybind11/stl.h>

#include <atomic>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BindingSupport.h"
#include "EdgeInput.h"
#include "Records.h"
#include "qcConStream.h"
#include "qcDirectedGraph.h"
#include "qcSvgTablet.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

// The graph as Python holds it. Searches run without the GIL, so another Python thread could
// otherwise grow the graph's arrays under a running search; the changing calls refuse instead.
class Graph {
public:
    qcDirectedGraph& changing()
    {
        if (searches.load() != 0)
            throw std::runtime_error("the graph is being searched by another thread");
        return graph;
    }

    std::int32_t node(long long i, const char* argument) const
    {
        return checkedIndex(i, graph.numNodes(), "node", argument);
    }

    qcDirectedGraph graph;
    mutable std::atomic<int> searches{0};
};

// Counts a search on the graph, then lets other Python threads run. The count goes up while the
// GIL is still held, so no changing call can slip in between.
class Searching {
public:
    explicit Searching(const Graph& g) : mCount(g) {}

private:
    struct Count {
        explicit Count(const Graph& g) : graph(g) { ++graph.searches; }
        ~Count() { --graph.searches; }
        const Graph& graph;
    } mCount;
    SignalCheckScope mSignals;
    py::gil_scoped_release mRelease;
};

// Takes over the process-wide trace stream while it lives.
class TraceCapture {
public:
    TraceCapture() : mPrevious(qfNoxOut().rdbuf(mText.rdbuf())) {}
    ~TraceCapture() { qfNoxOut().rdbuf(mPrevious); }
    std::wstring text() const { return mText.str(); }

private:
    std::wostringstream mText;
    std::wstreambuf* mPrevious;
};

// A path given to to_svg, a Path or a pair (nodes, links), every index checked.
PathRecord drawnPath(const qcDirectedGraph& g, const py::object& path)
{
    PathRecord out;
    if (py::isinstance<PathRecord>(path))
        out = path.cast<PathRecord>();
    else {
        std::pair<std::vector<Int>, std::vector<Int>> pair;
        try {
            pair = path.cast<decltype(pair)>();
        } catch (const py::cast_error&) {
            throw py::type_error("path must be a Path or a pair (nodes, links) of int lists");
        }
        out.nodes.assign(pair.first.begin(), pair.first.end());
        out.links.assign(pair.second.begin(), pair.second.end());
    }
    for (std::size_t i = 0; i < out.nodes.size(); ++i)
        checkedIndex(out.nodes[i], g.numNodes(), "node", "path nodes[" + std::to_string(i) + "]");
    for (std::size_t i = 0; i < out.links.size(); ++i)
        checkedIndex(out.links[i], g.numLinks(), "link", "path links[" + std::to_string(i) + "]");
    return out;
}

std::string svgOf(const qcDirectedGraph& g, const py::object& path)
{
    qcSvgTablet svg;
    g.draw(svg);
    if (!path.is_none()) {
        PathRecord p = drawnPath(g, path);
        svg.lineWidth(5.0);
        g.drawPath(svg, p.nodes, p.links);
    }
    std::ostringstream out;
    svg.write(out);
    return out.str();
}

std::optional<PathRecord> shortestPath(const Graph& g, Int a, Int b)
{
    PathRecord p;
    const std::int32_t start = g.node(a, "a"), end = g.node(b, "b");
    {
        Searching busy(g);
        g.graph.shortestPath(start, end, p.nodes, p.links);
    }
    if (p.nodes.empty())
        return std::nullopt;
    for (std::int32_t l : p.links)
        p.score += g.graph.link(l).score();
    return p;
}

std::vector<PathRecord> rankedWalks(const Graph& g, Int a, Int b, Int k, std::optional<Int> minLength,
                                    std::optional<Int> maxLength)
{
    const std::int32_t start = g.node(a, "a"), end = g.node(b, "b");
    const std::int32_t count = checkedCount(k, 1, "k");
    const std::int32_t least = minLength ? checkedCount(*minLength, 0, "min_length") : -1;
    const std::int32_t most = maxLength ? checkedCount(*maxLength, 0, "max_length") : -1;
    if (minLength && maxLength && least > most)
        throw py::value_error("min_length = " + std::to_string(least) + " is greater than max_length = " +
                              std::to_string(most));
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    {
        Searching busy(g);
        g.graph.shortestPath(start, end, count, least, most, paths, scores);
    }
    std::vector<PathRecord> out;
    for (std::size_t i = 0; i < paths.size(); ++i)
        out.push_back({paths[i].nodes(), paths[i].links(), scores[i]});
    return out;
}

std::vector<long> outLinks(const Graph& pg, Int i)
{
    const qcDirectedGraph& g = pg.graph;
    std::vector<long> chain;
    for (const qcChainEntry e : g.outLinks(pg.node(i, "i")))
        chain.push_back(e.index);
    return chain;
}

}  // namespace

void bindGraph(py::module_& m)
{
    py::class_<Graph>(m, "Graph", "A directed graph that only grows; nodes and links are named by index.")
        .def(py::init<>(), "An empty graph.")
        .def("__repr__", [](const Graph& g) {
            return "<qcgraph.Graph: " + std::to_string(g.graph.numNodes()) + " nodes, " +
                   std::to_string(g.graph.numLinks()) + " links>";
        })
        .def_property_readonly("num_nodes", [](const Graph& g) { return g.graph.numNodes(); }, "The number of nodes.")
        .def_property_readonly("num_links", [](const Graph& g) { return g.graph.numLinks(); }, "The number of links.")
        .def("add_node", [](Graph& g, double x, double y) {
                 qcDirectedGraphNode n;
                 n.position(qcVector<2>(x, y));
                 return g.changing().addNode(n);
             }, "x"_a = 0.0, "y"_a = 0.0, "Adds a node at (x, y) and returns its index.")
        .def("add_link", [](Graph& g, Int a, Int b, double score, bool skip) {
                 qcDirectedGraphLink l(g.node(a, "a"), g.node(b, "b"), score);
                 l.flags = skip ? 1U : 0U;
                 return g.changing().addLink(l);
             }, "a"_a, "b"_a, "score"_a = 1.0, "skip"_a = false,
             "Adds a link from a to b and returns its index; skip=True: shortest_path passes over it.")
        .def("add_links", [](Graph& g, py::handle edges) {
                 const EdgeInput batch(edges, g.graph.numNodes());
                 qcDirectedGraph& graph = g.changing();
                 const long first = graph.numLinks();
                 // Only a batch that at least doubles the array makes room for itself, so that
                 // many small batches still grow it geometrically.
                 if (static_cast<long>(batch.size()) >= first)
                     graph.reserveLinks(first + static_cast<long>(batch.size()));
                 for (std::size_t i = 0; i < batch.size(); ++i) {
                     const Edge e = batch[i];
                     graph.addLinkFastUnsafe(e.a, e.b, e.score);
                 }
                 return first;
             }, "edges"_a,
             "Adds links from (a, b) or (a, b, score) tuples or an (m, 2) or (m, 3) numpy array, all ends checked "
             "first; returns the index of the first.")
        .def("node", [](const Graph& g, Int i) {
                 const qcVector<2>& p = g.graph.node(g.node(i, "i")).position();
                 return std::make_pair(p.x(), p.y());
             }, "i"_a, "The position (x, y) of node i.")
        .def("move_node", [](Graph& g, Int i, double x, double y) {
                 const std::int32_t n = g.node(i, "i");
                 qcDirectedGraphNode record = g.graph.node(n);
                 record.position(qcVector<2>(x, y));
                 g.changing().node(n, record);
             }, "i"_a, "x"_a, "y"_a, "Moves node i to (x, y); its links stay.")
        .def("link", [](const Graph& g, Int i) {
                 const qcDirectedGraphLink& l = g.graph.link(checkedIndex(i, g.graph.numLinks(), "link", "i"));
                 return LinkRecord{l.nodeA(), l.nodeB(), l.score(), (l.flags & 1U) != 0};
             }, "i"_a, "A copy of link i.")
        .def("out_links", &outLinks, "i"_a, "The links leaving node i, in chain order (the newest first).")
        .def("shortest_path", &shortestPath, "a"_a, "b"_a,
             "The cheapest path from a to b, passing over skip links, or None.")
        .def("ranked_walks", &rankedWalks, "a"_a, "b"_a, "k"_a, "min_length"_a = py::none(),
             "max_length"_a = py::none(), "Up to k walks from a to b as the library's ranked search lists them: with scores >= 0\n"
             "and no bounds the k cheapest, cheapest first. The rules stand in qcDirectedGraph.h.")
        .def("trace", [](const Graph& g) {
                 TraceCapture capture;
                 g.graph.mTrace();
                 return capture.text();
             }, "The library's trace text. Takes over the process-wide trace stream meanwhile.")
        .def("to_svg", [](const Graph& g, const py::object& path) { return svgOf(g.graph, path); },
             "path"_a = py::none(),
             "An SVG document of the graph; path, a Path or a pair (nodes, links), drawn wide over it.")
        .def("_repr_svg_", [](const Graph& g) { return svgOf(g.graph, py::none()); },
             "The picture a notebook shows.");
}
