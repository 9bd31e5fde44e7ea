#ifndef QCGRAPH_PYTHON_PY_GRAPH_H
#define QCGRAPH_PYTHON_PY_GRAPH_H

// The graph as Python holds it, and the guard every search on it runs under; shared by the
// files that bind Graph's methods.

#include <atomic>
#include <cstdint>
#include <stdexcept>

#include "BindingSupport.h"
#include "CallLimits.h"
#include "qcDirectedGraph.h"
#include "qcSearchRows.h"

// Searches run without the GIL, so another Python thread could otherwise grow the graph's
// arrays under a running search; the changing calls refuse instead.
class Graph {
public:
    qcDirectedGraph& changing()
    {
        if (searches.load() != 0)
            throw std::runtime_error("the graph is being searched by another thread");
        ++revision;
        rows.forget();
        return graph;
    }

    std::int32_t node(long long i, const char* argument) const
    {
        return checkedIndex(i, graph.numNodes(), "node", argument);
    }

    qcDirectedGraph graph;
    mutable std::atomic<int> searches{0};
    std::uint64_t revision = 0;  // counts the changing calls, so that an index can tell it is stale
    // The links laid out for long searches, made by the first and kept until the graph changes.
    mutable qcSearchRows rows;
};

// Counts a search on the graph, binds the call's limits to this thread, then lets other Python
// threads run. The count goes up while the GIL is still held, so no changing call can slip in
// between.
class Searching {
public:
    Searching(const Graph& g, const CallLimits& limits) : mCount(g.searches), mBound(limits) {}

private:
    CountedCall mCount;
    SignalCheckScope mSignals;
    CallLimits::Bound mBound;
    pybind11::gil_scoped_release mRelease;
};

// Graph's array and batch methods, added to the class that bindGraph made.
void bindBulk(pybind11::module_& m);
void bindBatch(pybind11::module_& m);

#endif
