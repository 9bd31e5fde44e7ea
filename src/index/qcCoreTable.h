#ifndef QC_CORE_TABLE_H
#define QC_CORE_TABLE_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct qcHierarchy;

// Of a hierarchy's core, when it is small, the cheapest way between every two of its nodes, so
// that a query looks the ways through the core up instead of searching it. Nodes are named by
// rank, as in the hierarchy.
struct qcCoreTable {
    std::size_t size = 0;  // the core's nodes, 0 when there is no table
    std::int32_t first = 0;  // the core's first rank
    std::vector<double> distance;  // [(from - first) * size + to - first], +infinity for no way
    std::vector<std::int32_t> lastArc;  // the arc into `to` on that way, -1 at `from` itself

    std::size_t at(std::int32_t from, std::int32_t to) const
    {
        return static_cast<std::size_t>(from - first) * size + static_cast<std::size_t>(to - first);
    }
    double way(std::int32_t from, std::int32_t to) const { return distance[at(from, to)]; }
    std::size_t memoryBytes() const { return distance.size() * sizeof(double) + lastArc.size() * sizeof(std::int32_t); }
};

// The most nodes a core of a graph of numNodes nodes and numLinks links gets a table for: its size
// squared at most 4096 or half the nodes and links, so the table never costs more than a
// fraction of the graph.
std::size_t qfCoreTableNodes(std::size_t numNodes, std::size_t numLinks);

// The table of h's core, or none when the core has more than qfCoreTableNodes() nodes; numLinks
// is the graph's. Calls qcAttention::check() before every 64th core node's search.
qcCoreTable qfTabulateCore(const qcHierarchy& h, std::size_t numLinks);

#endif
