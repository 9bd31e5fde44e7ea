#ifndef QCGRAPH_PYTHON_GRAPH_H
#define QCGRAPH_PYTHON_GRAPH_H

#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>

#include "BindingSupport.h"
#include "qcDirectedGraph.h"

// The graph as Python holds it. Searches run without the GIL, so another Python thread could
// otherwise grow the graph's arrays under a running search; the changing calls refuse instead.
class Graph {
public:
    qcDirectedGraph& changing()
    {
        if (searches.load() != 0)
            throw std::runtime_error("the graph is being searched by another thread");
        ++revision;
        return graph;
    }

    std::int32_t node(long long i, const char* argument) const
    {
        return checkedIndex(i, graph.numNodes(), "node", argument);
    }

    qcDirectedGraph graph;
    mutable std::atomic<int> searches{0};
    std::uint64_t revision = 0;  // counts the changing calls, so that an index can tell it is stale
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
    SignalCheckScope mSignals;
    pybind11::gil_scoped_release mRelease;
};

#endif
