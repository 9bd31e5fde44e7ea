// Graph to and from arrays: nodes and links in bulk, numpy arrays out, scipy.sparse both ways.
// numpy and scipy are imported by the calls that need them, never by the module.
#include <pybind11/numpy.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "PyGraph.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {
using Doubles = py::array_t<double, py::array::c_style | py::array::forcecast>;
using Int32s = py::array_t<std::int32_t>;

template <class T>
py::array_t<T> copied(const std::vector<T>& v)
{
    return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
}

std::string shapeOf(const py::array& a) { return py::repr(a.attr("shape")).cast<std::string>(); }

// Room for `more` nodes beside the graph's, in 32-bit indices.
void checkRoom(const qcDirectedGraph& g, long long more, const char* argument)
{
    if (more > INT32_MAX - g.numNodes())
        throw py::value_error(std::string(argument) + ": " + std::to_string(more) + " more nodes than 32-bit indices hold");
}

long addNodes(Graph& pg, const py::object& nodes)
{
    qcDirectedGraph& g = pg.changing();
    const long first = g.numNodes();
    qcDirectedGraphNode record;
    if (PyLong_Check(nodes.ptr())) {
        const std::int32_t n = checkedCount(nodes.cast<Int>(), 0, "nodes");
        checkRoom(g, n, "nodes");
        for (std::int32_t i = 0; i < n; ++i)
            g.addNode(record);
        return first;
    }
    const Doubles xy = Doubles::ensure(nodes);
    if (!xy)
        throw py::error_already_set();
    if (xy.ndim() != 2 || xy.shape(1) != 2)
        throw py::value_error("nodes: an array of positions must have shape (n, 2), got " + shapeOf(xy));
    checkRoom(g, xy.shape(0), "nodes");
    const double* p = xy.data();
    for (py::ssize_t i = 0; i < xy.shape(0); ++i, p += 2) {
        record.position(qcVector<2>(p[0], p[1]));
        g.addNode(record);
    }
    return first;
}

Doubles positions(const Graph& pg)
{
    const qcDirectedGraph& g = pg.graph;
    Doubles out({static_cast<py::ssize_t>(g.numNodes()), py::ssize_t{2}});
    double* p = out.mutable_data();
    for (long i = 0; i < g.numNodes(); ++i, p += 2) {
        p[0] = g.node(i).position().x();
        p[1] = g.node(i).position().y();
    }
    return out;
}

py::tuple links(const Graph& pg)
{
    const qcDirectedGraph& g = pg.graph;
    const auto m = static_cast<py::ssize_t>(g.numLinks());
    Int32s a(m), b(m);
    Doubles score(m);
    for (long i = 0; i < g.numLinks(); ++i) {
        const qcDirectedGraphLink& l = g.link(i);
        a.mutable_data()[i] = static_cast<std::int32_t>(l.nodeA());
        b.mutable_data()[i] = static_cast<std::int32_t>(l.nodeB());
        score.mutable_data()[i] = l.score();
    }
    return py::make_tuple(a, b, score);
}

// The graph as a CSR matrix: row a holds, in column order, one entry per node b that a links
// to, the score of the cheapest such link (by <, so the first of equals, and a NaN stays
// only when it comes first).
py::object toScipy(const Graph& pg)
{
    const qcDirectedGraph& g = pg.graph;
    const std::size_t n = static_cast<std::size_t>(g.numNodes());
    std::vector<std::int64_t> start(n + 1, 0);
    for (long i = 0; i < g.numLinks(); ++i)
        ++start[static_cast<std::size_t>(g.link(i).nodeA()) + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    // Links by row, in index order within a row (a counting sort).
    std::vector<std::int32_t> byRow(static_cast<std::size_t>(g.numLinks()));
    std::vector<std::int64_t> next(start.begin(), start.end() - 1);
    for (long i = 0; i < g.numLinks(); ++i)
        byRow[static_cast<std::size_t>(next[static_cast<std::size_t>(g.link(i).nodeA())]++)] = static_cast<std::int32_t>(i);
    std::vector<std::int64_t> indptr(n + 1, 0);
    std::vector<std::int32_t> indices;
    std::vector<double> data;
    for (std::size_t a = 0; a < n; ++a) {
        const auto first = byRow.begin() + start[a], last = byRow.begin() + start[a + 1];
        std::stable_sort(first, last, [&](std::int32_t x, std::int32_t y) { return g.link(x).nodeB() < g.link(y).nodeB(); });
        for (auto k = first; k != last; ++k) {
            const qcDirectedGraphLink& l = g.link(*k);
            if (k != first && l.nodeB() == indices.back()) {
                if (l.score() < data.back())
                    data.back() = l.score();
            } else {
                indices.push_back(static_cast<std::int32_t>(l.nodeB()));
                data.push_back(l.score());
            }
        }
        indptr[a + 1] = static_cast<std::int64_t>(indices.size());
    }
    const py::object csr = py::module_::import("scipy.sparse").attr("csr_matrix");
    return csr(py::make_tuple(copied(data), copied(indices), copied(indptr)), "shape"_a = py::make_tuple(n, n));
}

std::unique_ptr<Graph> fromScipy(const py::object& matrix)
{
    if (!py::hasattr(matrix, "tocoo") || !py::hasattr(matrix, "shape"))
        throw py::type_error("from_scipy takes a scipy.sparse matrix, got " + py::repr(matrix.get_type()).cast<std::string>());
    const auto shape = matrix.attr("shape").cast<std::pair<long long, long long>>();
    if (shape.first != shape.second)
        throw py::value_error("from_scipy: the matrix must be square, got shape (" + std::to_string(shape.first) +
                              ", " + std::to_string(shape.second) + ")");
    const py::object coo = matrix.attr("tocoo")();
    using Int64s = py::array_t<std::int64_t, py::array::c_style | py::array::forcecast>;
    const Int64s rows = Int64s::ensure(coo.attr("row")), cols = Int64s::ensure(coo.attr("col"));
    const Doubles scores = Doubles::ensure(coo.attr("data"));
    if (!rows || !cols || !scores)
        throw py::error_already_set();
    for (py::ssize_t i = 0; i < rows.size(); ++i)
        for (const std::int64_t end : {rows.data()[i], cols.data()[i]})
            checkedIndex(end, static_cast<long>(shape.first), "node", "matrix entry " + std::to_string(i));
    auto out = std::make_unique<Graph>();
    addNodes(*out, py::int_(shape.first));
    qcDirectedGraph& g = out->graph;
    g.reserveLinks(static_cast<long>(rows.size()));
    for (py::ssize_t i = 0; i < rows.size(); ++i)
        g.addLinkFastUnsafe(static_cast<long>(rows.data()[i]), static_cast<long>(cols.data()[i]), scores.data()[i]);
    return out;
}
}  // namespace

void bindBulk(py::module_& m)
{
    auto graph = py::reinterpret_borrow<py::class_<Graph>>(m.attr("Graph"));
    graph
        .def("add_nodes", &addNodes, "nodes"_a,
             "Adds nodes in bulk and returns the index of the first: nodes=n adds n nodes at (0, 0); an (n, 2) "
             "array (or anything numpy turns into one) adds a node at each row's (x, y). Time O(n). A negative n raises ValueError, another shape ValueError, something that is no number array "
             "numpy's own error; nothing is added then. RuntimeError while another thread searches the graph.")
        .def("nodes", &positions,
             "The positions of all nodes as an (n, 2) float64 numpy array, row i the (x, y) of node i. Time O(n).")
        .def("links", &links,
             "The links as three numpy arrays (a, b, score), entry i of each from link i: int32 ends and "
             "float64 scores, in index order. g.add_links(numpy.column_stack(g.links())) copies them. Time O(m).")
        .def("to_scipy", &toScipy,
             "The graph as an n x n scipy.sparse.csr_matrix: entry (a, b) holds the score of the cheapest link "
             "from a to b (the first of equal ones), columns sorted in each row; skip links count like the "
             "others; a score of 0 stays as a stored zero. Time O(m log d) for d links leaving a node. Imports "
             "scipy (ImportError without it).");
    m.def("from_scipy", &fromScipy, "matrix"_a,
          "A new Graph of n nodes at (0, 0) from an n x n scipy.sparse matrix: a link from row to column for "
          "each stored entry, its value the score, in the order of matrix.tocoo() (row by row for CSR; stored "
          "zeros and duplicates of COO become links too). Time O(n + entries). A matrix that is not square "
          "raises ValueError, something else TypeError.");
}
