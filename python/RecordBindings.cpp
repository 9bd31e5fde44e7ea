// Path and Link: read-only records.
#include <pybind11/stl.h>

#include <string>

#include "BindingSupport.h"
#include "Records.h"

namespace py = pybind11;

namespace {
std::string text(const py::object& v) { return py::repr(v).cast<std::string>(); }
}  // namespace

void bindRecords(py::module_& m)
{
    py::class_<PathRecord>(m, "Path", "A path or walk: nodes from start to end, the links between them, its score.")
        .def_readonly("nodes", &PathRecord::nodes, "The nodes, start and end included.")
        .def_readonly("links", &PathRecord::links, "The links, one fewer than the nodes.")
        .def_readonly("score", &PathRecord::score, "The sum of the links' scores, added from the start.")
        .def("__repr__", [](const PathRecord& p) {
            return "Path(nodes=" + text(py::cast(p.nodes)) + ", links=" + text(py::cast(p.links)) +
                   ", score=" + text(py::float_(p.score)) + ")";
        });

    py::class_<LinkRecord>(m, "Link", "A copy of a stored link: from a to b, its score, and whether searches skip it.")
        .def_readonly("a", &LinkRecord::a, "The node the link leaves.")
        .def_readonly("b", &LinkRecord::b, "The node the link reaches.")
        .def_readonly("score", &LinkRecord::score, "The link's cost.")
        .def_readonly("skip", &LinkRecord::skip, "Bit 0 of the flags: shortest_path passes over the link.")
        .def("__repr__", [](const LinkRecord& l) {
            return "Link(a=" + std::to_string(l.a) + ", b=" + std::to_string(l.b) + ", score=" +
                   text(py::float_(l.score)) + ", skip=" + (l.skip ? "True" : "False") + ")";
        });
}
