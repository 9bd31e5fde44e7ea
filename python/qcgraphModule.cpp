// The compiled part of the Python package qcgraph.
#include <pybind11/stl.h>

#include <string>
#include <tuple>
#include <vector>

#include "BindingSupport.h"
#include "FileBindings.h"
#include "PyGraph.h"
#include "qcgraphVersion.h"
#include "qfAdjacencyLists.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {
std::string entry(std::size_t i, std::size_t j)
{
    return "lists[" + std::to_string(i) + "][" + std::to_string(j) + "]";
}

// The lists as the library takes them; every entry must lie in 0 to `bound` - 1, which for the
// cliques is a node index (IndexError) and for the connection path any id (ValueError).
qcAdjacencyLists adjacency(const std::vector<std::vector<Int>>& lists, bool nodes)
{
    qcAdjacencyLists out(lists.size());
    for (std::size_t i = 0; i < lists.size(); ++i)
        for (std::size_t j = 0; j < lists[i].size(); ++j)
            out[i].push_back(nodes ? checkedIndex(lists[i][j], static_cast<long>(lists.size()), "node", entry(i, j))
                                   : checkedCount(lists[i][j], 0, entry(i, j).c_str()));
    return out;
}
}  // namespace

PYBIND11_MODULE(_qcgraph, m)
{
    m.doc() = "Directed graphs of positioned nodes and scored links, with cheapest-path and ranked-walk searches.";
    m.attr("__version__") = QCGRAPH_VERSION_STRING;
    installSignalCheck(m);
    bindCallLimits(m);
    bindRecords(m);
    bindGraph(m);
    bindIndex(m);
    bindFiles(m);
    bindBulk(m);
    bindBatch(m);

    m.def("cliques", [](const std::vector<std::vector<Int>>& lists) {
              qcAdjacencyLists input = adjacency(lists, true);
              qcCliques result;
              {
                  py::gil_scoped_release release;
                  qfComputeCliques(input, result);
              }
              return result;
          }, "lists"_a,
          "The weakly connected groups of the adjacency lists, in order of their smallest node.");
    m.def("connection_path", [](const std::vector<std::vector<Int>>& lists) {
              qcAdjacencyLists input = adjacency(lists, false);
              std::vector<qcConnectionRecord> records;
              {
                  py::gil_scoped_release release;
                  qfComputeConnectionPath(input, records);
              }
              std::vector<std::tuple<long, long, long>> out;
              for (const qcConnectionRecord& r : records)
                  out.emplace_back(r.root, r.ids.first, r.ids.second);
              return out;
          }, "lists"_a, "The (root, first id, other id) records of the least-cost connection root.");
}
