// Graph: the container, its searches, trace and picture.
#include <pybind11/stl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BindingSupport.h"
#include "EdgeInput.h"
#include "FileBindings.h"
#include "PyGraph.h"
#include "Records.h"
#include "qcConStream.h"
#include "qcDirectedGraph.h"
#include "qcSimplePaths.h"
#include "qcSvgTablet.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

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

std::optional<PathRecord> shortestPath(const Graph& g, Int a, Int b, std::optional<double> timeout,
                                       std::shared_ptr<qcCancelToken> cancel)
{
    PathRecord p;
    const std::int32_t start = g.node(a, "a"), end = g.node(b, "b");
    const CallLimits limits(timeout, std::move(cancel));
    limits.run([&] {
        Searching busy(g, limits);
        g.graph.shortestPath(start, end, p.nodes, p.links, g.rows);
    });
    if (p.nodes.empty())
        return std::nullopt;
    for (std::int32_t l : p.links)
        p.score += g.graph.link(l).score();
    return p;
}

std::vector<PathRecord> records(const std::vector<qcDirectedGraphPath>& paths, const std::vector<double>& scores)
{
    std::vector<PathRecord> out;
    for (std::size_t i = 0; i < paths.size(); ++i)
        out.push_back({paths[i].nodes(), paths[i].links(), scores[i]});
    return out;
}

std::vector<PathRecord> rankedWalks(const Graph& g, Int a, Int b, Int k, std::optional<Int> minLength,
                                    std::optional<Int> maxLength, std::optional<double> timeout,
                                    std::shared_ptr<qcCancelToken> cancel)
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
    const CallLimits limits(timeout, std::move(cancel));
    limits.run([&] {
        Searching busy(g, limits);
        // A search that can list nothing would take every node it reaches k times first.
        if ((start == end && least <= 0) || g.graph.reaches(start, end))
            g.graph.shortestPath(start, end, count, least, most, paths, scores);
    });
    return records(paths, scores);
}

// The library refuses the whole graph for one negative score; say so.
[[noreturn]] void refuseNegativeScores()
{
    throw py::value_error("a link that is not skipped has a negative score: loopless paths need scores >= 0");
}

std::vector<PathRecord> simplePaths(const Graph& g, Int a, Int b, Int k, std::optional<double> timeout,
                                    std::shared_ptr<qcCancelToken> cancel)
{
    const std::int32_t start = g.node(a, "a"), end = g.node(b, "b");
    const std::int32_t count = checkedCount(k, 1, "k");
    std::vector<qcDirectedGraphPath> paths;
    std::vector<double> scores;
    const CallLimits limits(timeout, std::move(cancel));
    try {
        limits.run([&] {
            Searching busy(g, limits);
            g.graph.simplePaths(start, end, count, paths, scores);
        });
    } catch (const qcInvariantFailure&) {
        refuseNegativeScores();
    }
    return records(paths, scores);
}

// The lazy form: each next() lists one more path. The lister reads the graph when made, so a
// change afterwards would go unseen; the iterator refuses to go on instead.
class SimplePathIterator {
public:
    SimplePathIterator(py::object owner, Int a, Int b) : mOwner(std::move(owner)), mGraph(mOwner.cast<const Graph&>())
    {
        const std::int32_t start = mGraph.node(a, "a"), end = mGraph.node(b, "b");
        mRevision = mGraph.revision;
        try {
            Searching busy(mGraph, CallLimits::none());
            mLister = std::make_unique<qcSimplePaths>(mGraph.graph, start, end);
        } catch (const qcInvariantFailure&) {
            refuseNegativeScores();
        }
    }

    PathRecord next()
    {
        if (mGraph.revision != mRevision)
            throw std::runtime_error("the graph changed since the iterator was made");
        if (mRunning.exchange(true))
            throw std::runtime_error("the iterator is already running in another thread");
        struct Done {
            std::atomic<bool>& running;
            ~Done() { running = false; }
        } done{mRunning};
        qcDirectedGraphPath path;
        PathRecord out;
        bool found = false;
        {
            Searching busy(mGraph, CallLimits::none());
            found = mLister->next(path, out.score);
        }
        if (!found)
            throw py::stop_iteration();
        out.nodes = path.nodes();
        out.links = path.links();
        return out;
    }

private:
    py::object mOwner;  // keeps the graph alive
    const Graph& mGraph;
    std::uint64_t mRevision = 0;
    std::unique_ptr<qcSimplePaths> mLister;
    std::atomic<bool> mRunning{false};
};

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
    py::class_<SimplePathIterator>(m, "SimplePathIterator",
                                   "The loopless paths between two nodes, cheapest first, found one per next().")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &SimplePathIterator::next);
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
        .def("shortest_path", &shortestPath, "a"_a, "b"_a, "timeout"_a = py::none(), "cancel"_a = py::none(),
             "The cheapest path from a to b, passing over skip links, or None. Time O(m log m) for the m links "
             "reached. IndexError for an end that is not a node. timeout= seconds and cancel= a Cancel stop it at "
             "the next abort check (every 64 passes) with TimeoutError or Cancelled; Ctrl-C too.")
        .def("ranked_walks", &rankedWalks, "a"_a, "b"_a, "k"_a, "min_length"_a = py::none(),
             "max_length"_a = py::none(), "timeout"_a = py::none(), "cancel"_a = py::none(),
             "Up to k walks from a to b as the library's ranked search lists them: with scores >= 0 and no bounds "
             "the k cheapest, cheapest first (the rules stand in qcDirectedGraph.h); [] at once (one sweep of the "
             "nodes reachable from a) when no walk leads to b. Memory and time grow with the walks taken, up to k "
             "for every node reached. IndexError for an end that is not a node, ValueError for k < 1, a negative "
             "bound or min_length > max_length. timeout= and cancel= as for shortest_path (every 64 takings).")
        .def("simple_paths", &simplePaths, "a"_a, "b"_a, "k"_a, "timeout"_a = py::none(), "cancel"_a = py::none(),
             "Up to k loopless paths from a to b, cheapest first (ties: fewer links, then the nodes "
             "compared from the end backwards), passing over skip links. IndexError for an end that is not a "
             "node, ValueError for k < 1 or a negative score; timeout= and cancel= as for shortest_path.")
        .def("iter_simple_paths", [](py::object self, Int a, Int b) { return std::make_unique<SimplePathIterator>(self, a, b); },
             "a"_a, "b"_a,
             "The loopless paths from a to b, cheapest first, each found when asked for; the graph must not "
             "change meanwhile.")
        .def("trace", [](const Graph& g) {
                 TraceCapture capture;
                 g.graph.mTrace();
                 return capture.text();
             }, "The library's trace text. Takes over the process-wide trace stream meanwhile.")
        .def("to_svg", [](const Graph& g, const py::object& path) { return svgOf(g.graph, path); },
             "path"_a = py::none(),
             "An SVG document of the graph; path, a Path or a pair (nodes, links), drawn wide over it.")
        .def("_repr_svg_", [](const Graph& g) { return svgOf(g.graph, py::none()); },
             "The picture a notebook shows.")
        .def("write", [](const Graph& g, const py::object& path, const std::optional<std::string>& format) {
                 const std::string file = fileSystemPath(path);
                 Searching busy(g, CallLimits::none());
                 writeGraphFile(g.graph, file, format);
             }, "path"_a, "format"_a = py::none(),
             "Writes the graph to a file, in the format named (dimacs, edges, mtx, graphml, dot) or else by the "
             "file name.");
    m.def("read", [](const py::object& path, const std::optional<std::string>& format, const std::string& weight,
                     std::optional<long long> maxNodes) {
              auto g = std::make_unique<Graph>();
              py::object ids = readGraphFile(g->graph, path, format, weight, maxNodes);
              return py::make_tuple(py::cast(std::move(g)), ids);
          }, "path"_a, "format"_a = py::none(), "weight"_a = "weight", "max_nodes"_a = py::none(),
          "The graph of a file and its node ids (a range, or a list of str for GraphML).");
}
