#ifndef QCGRAPH_GRAPH_CHECKS_H
#define QCGRAPH_GRAPH_CHECKS_H

// Checks shared by the unit tests and the fuzz targets (which have no GoogleTest): each returns
// the first fault it finds, or nullptr when there is none.

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "qcDirectedGraph.h"

namespace qctest {

// Ids equal indices; every link with an id stands exactly once in its nodeA's chain, with both
// ends in the graph; default slots (id -1) stand in no chain.
inline const char* graphFault(const qcDirectedGraph& g)
{
    std::vector<int> seen(static_cast<std::size_t>(g.numLinks()), 0);
    for (long n = 0; n < g.numNodes(); ++n) {
        if (g.node(n).id() != n) return "node id differs from its index";
        long last = g.node(n).firstChild();  // the chain must end at -1, not break off
        for (const auto [k, l] : g.outLinks(n)) {
            if (l.nodeA() != n) return "link in a foreign chain";
            ++seen[static_cast<std::size_t>(k)];
            last = l.nextChild();
        }
        if (last != -1) return "chain leaves the link array or loops";
    }
    for (long k = 0; k < g.numLinks(); ++k) {
        const qcDirectedGraphLink& l = g.link(k);
        if (seen[static_cast<std::size_t>(k)] != (l.id() == -1 ? 0 : 1) ||
            (l.id() != -1 && (l.id() != k || l.nodeB() < 0 || l.nodeB() >= g.numNodes())))
            return "link chained the wrong number of times, or stored with a wrong id or a bad end";
    }
    return nullptr;
}

// Nodes and links make a path of g: one node more than links (or neither), each link leading
// from the node before it to the node after it.
inline const char* pathFault(const qcDirectedGraph& g, const qcIndexArray& nodes, const qcIndexArray& links)
{
    if (nodes.empty() ? !links.empty() : links.size() + 1 != nodes.size())
        return "the path's sizes do not match";
    for (std::size_t k = 0; k < links.size(); ++k) {
        if (links[k] < 0 || links[k] >= g.numLinks())
            return "a path names no link";
        const qcDirectedGraphLink& l = g.link(links[k]);
        if (l.nodeA() != nodes[k] || l.nodeB() != nodes[k + 1])
            return "a link of the path does not join its nodes";
    }
    return nullptr;
}

// Stops a fuzz run with the fault.
inline void require(const char* fault)
{
    if (fault != nullptr) { std::fprintf(stderr, "finding: %s\n", fault); std::abort(); }
}
inline void require(bool ok, const char* what) { require(ok ? nullptr : what); }

}  // namespace qctest

#endif
