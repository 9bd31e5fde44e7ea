// Graph: the container, its searches, trace and picture.
#include <pybind11/stl.h>

#include <atomic>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "BindingSupport.h"
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
    Graph() = default;
    Graph(const Graph& other) : graph(other.graph) {}

    qcDirectedGraph& changing()
    {
        if (searches.load() != 0)
            throw std::runtime_error("the graph is being searched by another thread");
        return graph;
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

using PathPair = std::pair<qcIndexArray, qcIndexArray>;

qcIndexArray indices(const std::vector<Index>& list) { return qcIndexArray(list.begin(), list.end()); }

Graph copyOf(const Graph& g) { return g; }

}  // namespace

void bindGraph(py::module_& m)
{
    using Node = qcDirectedGraphNode;
    using Link = qcDirectedGraphLink;
    py::class_<Graph>(m, "Graph", "A directed graph that only grows; nodes and links are named by index.")
        .def(py::init<>(), "An empty graph.")
        .def("copy", &copyOf, "An independent copy of the graph.")
        .def("__copy__", &copyOf, "An independent copy of the graph.")
        .def("__deepcopy__", [](const Graph& g, py::dict) { return copyOf(g); }, "memo"_a,
             "An independent copy of the graph.")
        .def("__eq__", [](const Graph& a, const Graph& b) { return a.graph == b.graph; }, py::is_operator(),
             "Same nodes and same links, record by record.")
        .def("__len__", [](const Graph& g) { return g.graph.numNodes(); }, "The number of nodes.")
        .def_property_readonly("num_nodes", [](const Graph& g) { return g.graph.numNodes(); }, "The number of nodes.")
        .def_property_readonly("num_links", [](const Graph& g) { return g.graph.numLinks(); }, "The number of links.")
        .def("add_node", [](Graph& g, double x, double y) {
                 Node n;
                 n.position(qcVector<2>(x, y));
                 return g.changing().addNode(n);
             }, "x"_a, "y"_a, "Adds a node at (x, y) and returns its index.")
        .def("add_node", [](Graph& g, const Node& n) { return g.changing().addNode(n); }, "node"_a,
             "Adds a copy of node (give it first_child -1) and returns its index.")
        .def("add_link", [](Graph& g, Index a, Index b, double score) { return g.changing().addLink(Link(a, b, score)); },
             "a"_a, "b"_a, "score"_a = 1.0,
             "Adds a link from a to b and returns its index; a bad end raises InvariantFailure, leaving an unchained slot.")
        .def("add_link", [](Graph& g, const Link& l) { return g.changing().addLink(l); }, "link"_a,
             "Adds a copy of link and returns its index; a bad end raises InvariantFailure, leaving an unchained slot.")
        .def("add_link_fast_unsafe", [](Graph& g, Index a, Index b, double score) { g.changing().addLinkFastUnsafe(a, b, score); },
             "a"_a, "b"_a, "score"_a = 1.0,
             "Adds a link unchecked: a bad end goes to the assertion hook (stderr) and nothing is stored.")
        .def("node", [](const Graph& g, Index i) { return g.graph.node(i); }, "i"_a, "A copy of node i.")
        .def("set_node", [](Graph& g, Index i, const Node& n) { g.changing().node(i, n); }, "i"_a, "node"_a,
             "Replaces node i, first_child included; to move a node, change a copy from node(i).")
        .def("link", [](const Graph& g, Index i) { return g.graph.link(i); }, "i"_a, "A copy of link i.")
        .def("set_link", [](Graph& g, Index i, const Link& l) { g.changing().link(i, l); }, "i"_a, "link"_a,
             "Replaces link i and moves it to the head of its node_a's chain.")
        .def("links_from", [](const Graph& pg, Index node) {
                 const qcDirectedGraph& g = pg.graph;
                 std::vector<long> chain;
                 // A foreign chain ends as in the library's own walks: at an index outside the
                 // link array, or after num_links steps.
                 for (long l = g.node(node).firstChild(); l >= 0 && l < g.numLinks() &&
                                                         static_cast<long>(chain.size()) < g.numLinks();
                      l = g.link(l).nextChild())
                     chain.push_back(l);
                 return chain;
             }, "node"_a, "The links leaving node, in chain order (newest stored first).")
        .def("shortest_path", [](const Graph& g, Index start, Index end) {
                 PathPair path;
                 Searching busy(g);
                 g.graph.shortestPath(start, end, path.first, path.second);
                 return path;
             }, "start"_a, "end"_a,
             "The cheapest path as (nodes, links), skipping links with flags bit 0; ([], []) if there is none.")
        .def("shortest_path_over", [](const Graph& g, Index link) {
                 PathPair path;
                 Searching busy(g);
                 g.graph.shortestPath(link, path.first, path.second);
                 return path;
             }, "link"_a, "The cheapest path between the ends of link, as (nodes, links).")
        .def("ranked_paths", [](const Graph& g, Index start, Index end, Index k, Index minLength, Index maxLength) {
                 std::vector<qcDirectedGraphPath> paths;
                 std::vector<double> scores;
                 {
                     Searching busy(g);
                     g.graph.shortestPath(start, end, k, minLength, maxLength, paths, scores);
                 }
                 py::list out;
                 for (std::size_t i = 0; i < paths.size(); ++i)
                     out.append(py::make_tuple(scores[i], paths[i].nodes(), paths[i].links()));
                 return out;
             }, "start"_a, "end"_a, "k"_a, "min_length"_a = -1, "max_length"_a = -1,
             "Up to k walks as (score, nodes, links), cheapest first, ties in order found; lengths < 0: no bound.")
        .def("trace", [](const Graph& g) {
                 TraceCapture capture;
                 g.graph.mTrace();
                 return capture.text();
             },
             "The trace text. Takes over the process-wide trace stream meanwhile: not safe against other threads tracing.")
        .def("svg", [](const Graph& g, std::optional<std::pair<std::vector<Index>, std::vector<Index>>> path, double lineWidth) {
                 qcSvgTablet svg;
                 g.graph.draw(svg);
                 if (path) {
                     svg.lineWidth(lineWidth);
                     g.graph.drawPath(svg, indices(path->first), indices(path->second));
                 }
                 std::ostringstream out;
                 svg.write(out);
                 return out.str();
             }, "path"_a = py::none(), "line_width"_a = 5.0,
             "An SVG document of the graph; path, a (nodes, links) pair, is drawn over it line_width wide.");
}
