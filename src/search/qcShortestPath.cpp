#include "qcDirectedGraph.h"

#include <algorithm>
#include <cstddef>

#include "graph/qcChainCursor.h"
#include "qcAttention.h"
#include "search/qcSearchHeap.h"

namespace {

// The distance of a node of which no way is known yet; a way must cost strictly less.
constexpr double unreached = 1.0e12;

enum class NodeState : std::uint8_t { unvisited, queued, settled };

// Everything the search keeps per node, side by side so that one relaxation touches one record.
struct NodeRecord {
    double distance = unreached;
    std::int32_t predecessorNode = -1;
    std::int32_t predecessorLink = -1;
    NodeState state = NodeState::unvisited;
};

std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

}  // namespace

void qcDirectedGraph::shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                                   qcIndexArray& links) const
{
    nodes.clear();
    links.clear();
    const long n = numNodes();
    if (start < 0 || start >= n || end < 0 || end >= n)
        return;

    std::vector<NodeRecord> record(static_cast<std::size_t>(n));
    qcSearchHeap heap;
    record[at(start)].distance = 0.0;
    record[at(start)].state = NodeState::queued;
    heap.push(0.0, start);

    for (long pass = 0;; ++pass) {
        if (pass % 64 == 0)
            qcAttention::check();

        // Lazy deletion: entries of nodes settled meanwhile are outdated.
        std::int32_t current = -1;
        do {
            current = heap.takeOut();
        } while (current != -1 && record[at(current)].state != NodeState::queued);
        if (current == -1)
            break;

        NodeRecord& settled = record[at(current)];
        settled.state = NodeState::settled;
        if (current == end)
            break;

        const double distance = settled.distance;
        for (qcChainCursor c(*this, mNodes[at(current)].mFirstChild); c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            if (l.flags & 1u)
                continue;
            const std::int32_t neighbour = l.mNodeA == current ? l.mNodeB : l.mNodeA;
            // Only a default slot reached through a broken chain has an end outside the graph.
            if (neighbour < 0 || neighbour >= n)
                continue;
            NodeRecord& next = record[at(neighbour)];
            const double candidate = distance + l.mScore;
            // NaN and anything from 1.0e12 up never pass this test, so never enter the heap.
            if (next.state != NodeState::settled && candidate < next.distance) {
                next.distance = candidate;
                next.state = NodeState::queued;
                next.predecessorNode = current;
                next.predecessorLink = l.mId;
                heap.push(candidate, neighbour);
            }
        }
    }

    if (record[at(end)].state != NodeState::settled)
        return;
    std::int32_t k = end;
    nodes.push_back(k);
    while (k != start && record[at(k)].predecessorNode != -1) {
        links.push_back(record[at(k)].predecessorLink);
        k = record[at(k)].predecessorNode;
        nodes.push_back(k);
    }
    std::reverse(nodes.begin(), nodes.end());
    std::reverse(links.begin(), links.end());
}

void qcDirectedGraph::shortestPath(std::int32_t link, qcIndexArray& nodes, qcIndexArray& links) const
{
    if (link < 0 || link >= numLinks()) {
        nodes.clear();
        links.clear();
        return;
    }
    const qcDirectedGraphLink& l = mLinks[at(link)];
    shortestPath(l.mNodeA, l.mNodeB, nodes, links);
}
