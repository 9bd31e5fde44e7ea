// add_links input, checked whole before the graph is touched.
#include "EdgeInput.h"

#include <pybind11/numpy.h>

#include <cmath>
#include <string>
#include <utility>

#include "BindingSupport.h"

namespace py = pybind11;

namespace {
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
}  // namespace

void EdgeInput::readArray(py::handle edges, long numNodes)
{
    // Integer arrays come in as doubles: exact for every node index.
    auto table = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(edges);
    if (!table)
        throw py::error_already_set();
    if (table.ndim() != 2 || table.shape(1) < 2 || static_cast<std::size_t>(table.shape(1)) > mMostWidth)
        throw py::value_error(mName + ": an array must have shape (m, 2)" + (mMostWidth == 3 ? " or (m, 3)" : "") + ", got " +
                              py::repr(edges.attr("shape")).cast<std::string>());
    mCells = table.data();
    mWidth = static_cast<std::size_t>(table.shape(1));
    mRows = static_cast<std::size_t>(table.shape(0));
    mTable = std::move(table);
    for (std::size_t i = 0; i < mRows; ++i)
        for (std::size_t end = 0; end < 2; ++end) {
            const double v = mCells[i * mWidth + end];
            // A fraction, NaN or infinity names no node either.
            if (!(v >= 0 && v < static_cast<double>(numNodes) && v == std::floor(v)))
                throw py::index_error(row(i) + ": " + py::repr(py::float_(v)).cast<std::string>() +
                                      " is not a node index (0 to " + std::to_string(numNodes - 1) + ")");
        }
}

void EdgeInput::readSequence(py::handle edges, long numNodes)
{
    std::vector<Edge>& out = mEdges;
    std::size_t i = 0;
    for (py::handle item : py::iter(edges)) {
        const std::string name = row(i++);
        if (!py::isinstance<py::sequence>(item) || py::len(item) < 2 || py::len(item) > mMostWidth)
            throw py::value_error(name + " = " + py::repr(item).cast<std::string>() + " is not (a, b)" +
                                  (mMostWidth == 3 ? " or (a, b, score)" : ""));
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
    mRows = out.size();
}

EdgeInput::EdgeInput(py::handle edges, long numNodes, const char* name, bool scores)
    : mName(name), mMostWidth(scores ? 3 : 2)
{
    if (isArray(edges))
        readArray(edges, numNodes);
    else
        readSequence(edges, numNodes);
}
