// add_links input, read whole and checked before the graph is touched.
#include "EdgeInput.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <string>

#include "BindingSupport.h"

namespace py = pybind11;

namespace {
std::string row(std::size_t i) { return "edges[" + std::to_string(i) + "]"; }

// Whether edges is a numpy array. Asks numpy only when something has loaded it already, so the
// module never needs numpy itself.
bool isArray(py::handle edges)
{
    PyObject* numpy = PyImport_GetModule(py::str("numpy").ptr());
    if (!numpy) {
        PyErr_Clear();
        return false;
    }
    return py::isinstance(edges, py::reinterpret_steal<py::object>(numpy).attr("ndarray"));
}

std::vector<Edge> readArray(py::handle edges, long numNodes)
{
    // Integer arrays come in as doubles: exact for every node index.
    auto table = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(edges);
    if (!table)
        throw py::error_already_set();
    if (table.ndim() != 2 || (table.shape(1) != 2 && table.shape(1) != 3))
        throw py::value_error("edges: an array must have shape (m, 2) or (m, 3), got " +
                              py::repr(edges.attr("shape")).cast<std::string>());
    auto cell = table.unchecked<2>();
    const bool scored = table.shape(1) == 3;
    std::vector<Edge> out(static_cast<std::size_t>(table.shape(0)));
    for (py::ssize_t i = 0; i < table.shape(0); ++i) {
        Edge& e = out[static_cast<std::size_t>(i)];
        for (int end = 0; end < 2; ++end) {
            double v = cell(i, end);
            // A fraction, NaN or infinity names no node either.
            if (!(v >= 0 && v < static_cast<double>(numNodes) && v == std::floor(v)))
                throw py::index_error(row(static_cast<std::size_t>(i)) + ": " + py::repr(py::float_(v)).cast<std::string>() +
                                      " is not a node index (0 to " + std::to_string(numNodes - 1) + ")");
            (end == 0 ? e.a : e.b) = static_cast<std::int32_t>(v);
        }
        e.score = scored ? cell(i, 2) : 1.0;
    }
    return out;
}

std::vector<Edge> readSequence(py::handle edges, long numNodes)
{
    std::vector<Edge> out;
    std::size_t i = 0;
    for (py::handle item : py::iter(edges)) {
        const std::string name = row(i++);
        if (!py::isinstance<py::sequence>(item) || (py::len(item) != 2 && py::len(item) != 3))
            throw py::value_error(name + " = " + py::repr(item).cast<std::string>() +
                                  " is not (a, b) or (a, b, score)");
        py::sequence t = py::reinterpret_borrow<py::sequence>(item);
        try {
            out.push_back({checkedIndex(t[0].cast<Int>(), numNodes, "node", name + "[0]"),
                           checkedIndex(t[1].cast<Int>(), numNodes, "node", name + "[1]"),
                           t.size() == 3 ? t[2].cast<double>() : 1.0});
        } catch (const py::cast_error&) {
            throw py::type_error(name + " = " + py::repr(item).cast<std::string>() +
                                 ": the ends must be ints and the score a number");
        }
    }
    return out;
}
}  // namespace

std::vector<Edge> readEdges(py::handle edges, long numNodes)
{
    return isArray(edges) ? readArray(edges, numNodes) : readSequence(edges, numNodes);
}
