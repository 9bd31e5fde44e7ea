// Node and Link: the graph's records as plain Python values (copies, never views into a graph).
#include <pybind11/stl.h>

#include <string>
#include <utility>

#include "BindingSupport.h"
#include "qcDirectedGraph.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {
std::string text(double v) { return py::repr(py::float_(v)).cast<std::string>(); }
}  // namespace

void bindRecords(py::module_& m)
{
    using Node = qcDirectedGraphNode;
    py::class_<Node>(m, "Node", "A point of a graph: a position in the plane and the head of its chain of links.")
        .def(py::init([](double x, double y) {
                 Node n;
                 n.position(qcVector<2>(x, y));
                 return n;
             }),
             "x"_a = 0.0, "y"_a = 0.0, "A node at (x, y) in no graph yet: id and first_child are -1.")
        .def_property(
            "position", [](const Node& n) { return std::make_pair(n.position().x(), n.position().y()); },
            [](Node& n, std::pair<double, double> p) { n.position(qcVector<2>(p.first, p.second)); },
            "The position as a tuple (x, y).")
        .def_property_readonly("id", &Node::id, "The node's index in its graph, or -1.")
        .def_property_readonly("first_child", &Node::firstChild,
                               "The first link of the node's chain of outgoing links, or -1.")
        .def("__eq__", [](const Node& a, const Node& b) { return a == b; }, py::is_operator(),
             "All fields equal.")
        .def("__repr__", [](const Node& n) {
            return "Node(position=(" + text(n.position().x()) + ", " + text(n.position().y()) +
                   "), id=" + std::to_string(n.id()) + ", first_child=" + std::to_string(n.firstChild()) + ")";
        }, "The node's fields.");

    using Link = qcDirectedGraphLink;
    py::class_<Link>(m, "Link", "A directed, scored link from node_a to node_b.")
        .def(py::init([](Index a, Index b, double score) { return Link(a, b, score); }),
             "node_a"_a = -1, "node_b"_a = -1, "score"_a = 1.0,
             "A link in no graph yet: flags 0, id and next_child -1; the graph checks the ends.")
        .def_property("node_a", py::overload_cast<>(&Link::nodeA, py::const_),
                      [](Link& l, Index a) { l.nodeA(a); }, "The node the link leaves.")
        .def_property("node_b", py::overload_cast<>(&Link::nodeB, py::const_),
                      [](Link& l, Index b) { l.nodeB(b); }, "The node the link reaches.")
        .def_property("score", py::overload_cast<>(&Link::score, py::const_),
                      py::overload_cast<double>(&Link::score), "The link's cost.")
        .def_property("flags", [](const Link& l) { return l.flags; }, [](Link& l, Bits f) { l.flags = f; },
                      "32 bits; bit 0 set: shortest_path passes over the link.")
        .def_property_readonly("id", &Link::id, "The link's index in its graph, or -1.")
        .def_property("next_child", py::overload_cast<>(&Link::nextChild, py::const_),
                      [](Link& l, Index n) { l.nextChild(n); },
                      "The next link of the chain, or -1; the graph rewrites it when it stores the link.")
        .def("__eq__", [](const Link& a, const Link& b) { return a == b; }, py::is_operator(),
             "All fields equal, the score exactly.")
        .def("__repr__", [](const Link& l) {
            return "Link(node_a=" + std::to_string(l.nodeA()) + ", node_b=" + std::to_string(l.nodeB()) +
                   ", score=" + text(l.score()) + ", flags=" + std::to_string(l.flags) +
                   ", id=" + std::to_string(l.id()) + ", next_child=" + std::to_string(l.nextChild()) + ")";
        }, "The link's fields.");
}
