// Many questions of one graph: the distances from one node to all, and the index.
#include <pybind11/functional.h>
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BindingSupport.h"
#include "CallLimits.h"
#include "PyGraph.h"
#include "Records.h"
#include "qcShortestPathIndex.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

// The index with the Python graph it answers for, which it keeps alive, and the graph's
// revision then: once the graph has changed, queries refuse until update().
class Index {
public:
    Index(py::object graph, qcShortestPathIndex index)
        : mGraphObject(std::move(graph)), mGraph(mGraphObject.cast<const Graph&>()), mRevision(mGraph.revision),
          mIndex(std::move(index))
    {
    }

    const qcShortestPathIndex& current() const
    {
        if (mGraph.revision != mRevision)
            throw std::runtime_error("the graph has changed since the index was made: call update()");
        return mIndex;
    }
    std::int32_t node(Int i, const char* argument) const { return mGraph.node(i, argument); }
    const Graph& graph() const { return mGraph; }

    void update(const CallLimits& limits)
    {
        if (mReaders.load() != 0)
            throw std::runtime_error("the index is being read by another thread");
        try {
            limits.run([&] {
                Searching busy(mGraph, limits);
                mIndex.update(mGraph.graph);
            });
        } catch (const qcInvariantFailure&) {
            throw py::value_error("the graph has changed in more than its scores, or has a negative score");
        }
        mRevision = mGraph.revision;
    }

    // Counts a reader of the index, which update() then waits for, and lets other Python
    // threads run meanwhile.
    class Reading {
    public:
        explicit Reading(const Index& idx) : mCount(idx.mReaders) {}

    private:
        CountedCall mCount;
        py::gil_scoped_release mRelease;
    };

private:
    py::object mGraphObject;
    const Graph& mGraph;
    std::uint64_t mRevision;
    qcShortestPathIndex mIndex;
    mutable std::atomic<int> mReaders{0};
};

std::vector<std::int32_t> nodesOf(const Index& idx, const std::vector<Int>& nodes, const char* argument)
{
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i < nodes.size(); ++i)
        out.push_back(idx.node(nodes[i], (std::string(argument) + "[" + std::to_string(i) + "]").c_str()));
    return out;
}

std::unique_ptr<Index> makeIndex(py::object graph, double memoryBound, bool customizable,
                                 std::optional<std::function<void(double)>> progress, const CallLimits& limits)
{
    const Graph& g = graph.cast<const Graph&>();
    if (!(memoryBound >= 0.0))
        throw py::value_error("memory_bound = " + std::to_string(memoryBound) + " is not 0 or more");
    qcShortestPathIndex::Options options;
    options.memoryBound = memoryBound;
    options.customizable = customizable;
    if (progress)
        options.progress = [&progress](double share) {
            py::gil_scoped_acquire python;
            (*progress)(share);
        };
    std::optional<qcShortestPathIndex> built;
    try {
        limits.run([&] {
            Searching busy(g, limits);
            built.emplace(g.graph, options);
        });
    } catch (const qcInvariantFailure&) {
        throw py::value_error("the graph has a negative score on a link the searches use");
    } catch (const std::length_error& e) {
        PyErr_SetString(PyExc_MemoryError, e.what());
        throw py::error_already_set();
    }
    return std::make_unique<Index>(std::move(graph), std::move(*built));
}

}  // namespace

void bindIndex(py::module_& m)
{
    auto graph = py::reinterpret_borrow<py::class_<Graph>>(m.attr("Graph"));
    graph.def("distances", [](const Graph& g, Int a, std::optional<double> timeout, std::shared_ptr<qcCancelToken> cancel) {
        const std::int32_t start = g.node(a, "a");
        std::vector<double> distances;
        qcIndexArray links;
        const CallLimits limits(timeout, std::move(cancel));
        limits.run([&] {
            Searching busy(g, limits);
            g.graph.shortestPathTree(start, distances, links, g.rows);
        });
        return std::make_pair(py::array_t<double>(static_cast<py::ssize_t>(distances.size()), distances.data()),
                              py::array_t<std::int32_t>(static_cast<py::ssize_t>(links.size()), links.data()));
    }, "a"_a, "timeout"_a = py::none(), "cancel"_a = py::none(),
    "The cheapest paths from a to every node, as two numpy arrays: the distance of each node (inf where "
    "unreached) and the link it is reached by (-1 at a and where unreached). Time O(m log m). IndexError for "
    "an a that is not a node; timeout= and cancel= as for shortest_path.");
    graph.def("index", [](py::object self, double memoryBound, bool customizable,
                          std::optional<std::function<void(double)>> progress, std::optional<double> timeout,
                          std::shared_ptr<qcCancelToken> cancel) {
        const CallLimits limits(timeout, std::move(cancel));
        return makeIndex(std::move(self), memoryBound, customizable, std::move(progress), limits);
    }, "memory_bound"_a = 4.0, "customizable"_a = true, "progress"_a = py::none(), "timeout"_a = py::none(), "cancel"_a = py::none(),
    "An index of the graph's cheapest paths (a contraction hierarchy): then distance() and path() answer in "
    "microseconds. Building takes seconds on a million nodes of a road network; ValueError on a negative score, "
    "MemoryError past memory_bound times the graph's own memory (0: no bound). customizable=False "
    "builds quicker and makes update() contract again. progress(share) is called now "
    "and then; timeout= and cancel= stop the build as for shortest_path.");

    py::class_<Index>(m, "Index", "An index of a graph's cheapest paths; made by Graph.index().")
        .def("distance", [](const Index& idx, Int a, Int b) {
            const std::int32_t from = idx.node(a, "a"), to = idx.node(b, "b");
            const qcShortestPathIndex& index = idx.current();
            Index::Reading reading(idx);
            return index.distance(from, to);
        }, "a"_a, "b"_a, "The cheapest path's score from a to b, inf when b cannot be reached.")
        .def("path", [](const Index& idx, Int a, Int b) -> std::optional<PathRecord> {
            const std::int32_t from = idx.node(a, "a"), to = idx.node(b, "b");
            const qcShortestPathIndex& index = idx.current();
            PathRecord p;
            {
                Index::Reading reading(idx);
                p.score = index.path(from, to, p.nodes, p.links);
            }
            if (p.nodes.empty())
                return std::nullopt;
            return p;
        }, "a"_a, "b"_a, "A cheapest path from a to b, or None.")
        .def("distances", [](const Index& idx, const std::vector<Int>& sources, const std::vector<Int>& targets) {
            const std::vector<std::int32_t> from = nodesOf(idx, sources, "sources"), to = nodesOf(idx, targets, "targets");
            const qcShortestPathIndex& index = idx.current();
            std::vector<double> table;
            {
                Index::Reading reading(idx);
                index.distances(from, to, table);
            }
            py::array_t<double> out({static_cast<py::ssize_t>(from.size()), static_cast<py::ssize_t>(to.size())});
            std::copy(table.begin(), table.end(), out.mutable_data());
            return out;
        }, "sources"_a, "targets"_a,
        "The table of distances, a numpy array of len(sources) rows and len(targets) columns (inf: unreached). "
        "Time: one upward search per source and per target.")
        .def("update", [](Index& idx, std::optional<double> timeout, std::shared_ptr<qcCancelToken> cancel) {
            const CallLimits limits(timeout, std::move(cancel));
            idx.update(limits);
        }, "timeout"_a = py::none(), "cancel"_a = py::none(),
        "Makes the index exact again after link scores changed, in about the time of a build. ValueError if anything "
        "but scores changed (then make a new index); timeout= and cancel= as for shortest_path.")
        .def_property_readonly("memory_bytes", [](const Index& idx) { return idx.current().memoryBytes(); },
                               "The bytes the index holds.")
        .def("save", [](const Index& idx, const std::string& path) {
            std::ofstream out(path, std::ios::binary);
            idx.current().save(out);
            out.close();
            if (!out)
                throw std::runtime_error("cannot write " + path);
        }, "path"_a, "Writes the index to a file.")
        .def_static("load", [](const std::string& path, py::object graph) {
            std::ifstream in(path, std::ios::binary);
            if (!in)
                throw std::runtime_error("cannot read " + path);
            qcShortestPathIndex index = qcShortestPathIndex::load(in);
            const Graph& g = graph.cast<const Graph&>();
            if (!index.isCurrent(g.graph))
                throw py::value_error(path + " is not an index of this graph");
            return std::make_unique<Index>(std::move(graph), std::move(index));
        }, "path"_a, "graph"_a,
        "An index read from a file made by save(); ValueError unless it was made from a graph equal to `graph`.");
}
