// The Python module qcgraph.
#include <pybind11/stl.h>

#include <tuple>
#include <vector>

#include "BindingSupport.h"
#include "qcAttention.h"
#include "qcgraphVersion.h"
#include "qfAdjacencyLists.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {
qcAdjacencyLists adjacency(const std::vector<std::vector<Index>>& lists)
{
    qcAdjacencyLists out;
    out.reserve(lists.size());
    for (const std::vector<Index>& list : lists)
        out.emplace_back(list.begin(), list.end());
    return out;
}
}  // namespace

PYBIND11_MODULE(qcgraph, m)
{
    m.doc() = "Directed graphs of positioned nodes and scored links, with cheapest-path and ranked-walk searches.";
    m.attr("__version__") = QCGRAPH_VERSION_STRING;
    py::register_exception<qcInvariantFailure>(m, "InvariantFailure", PyExc_ValueError);
    py::register_exception<qcAttentionAbort>(m, "Cancelled");
    bindRecords(m);
    bindGraph(m);

    m.def("cliques", [](const std::vector<std::vector<Index>>& lists) {
              qcCliques result;
              qfComputeCliques(adjacency(lists), result);
              return result;
          }, "lists"_a, py::call_guard<py::gil_scoped_release>(),
          "The weakly connected groups of the adjacency lists, in order of their smallest node.");
    m.def("connection_path", [](const std::vector<std::vector<Index>>& lists) {
              std::vector<qcConnectionRecord> records;
              qfComputeConnectionPath(adjacency(lists), records);
              std::vector<std::tuple<long, long, long>> out;
              for (const qcConnectionRecord& r : records)
                  out.emplace_back(r.root, r.ids.first, r.ids.second);
              return out;
          }, "lists"_a, py::call_guard<py::gil_scoped_release>(),
          "The (root, first, other) records of the least-cost connection root.");

    m.def("request_abort", &qcAttention::requestAbort,
          "Makes running and later searches raise Cancelled; process-wide, it stays until clear_abort().");
    m.def("clear_abort", &qcAttention::clearAbort, "Withdraws the process-wide abort request.");
    m.def("abort_requested", &qcAttention::abortRequested, "Whether the process-wide abort request is raised.");
}
