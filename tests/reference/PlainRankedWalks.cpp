#include "reference/PlainRankedWalks.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace qcref {

namespace {

qcDirectedGraphPath pathThrough(const qcDirectedGraph& graph, const qcIndexArray& sequence)
{
    qcIndexArray links;
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        long k = graph.node(sequence[i - 1]).firstChild();
        while (k != -1 && graph.link(k).nodeB() != sequence[i])
            k = graph.link(k).nextChild();
        links.push_back(static_cast<std::int32_t>(k));
    }
    return qcDirectedGraphPath(sequence, links);
}

}  // namespace

void plainRankedWalks(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                      std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength,
                      std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
{
    minLength = std::max(minLength, 0);
    if (maxLength < 0) maxLength = std::numeric_limits<std::int32_t>::max();
    std::vector<std::int32_t> node{start}, length{0}, parent{-1};
    std::vector<double> cost{0.0};
    std::vector<std::size_t> open{0};
    std::vector<std::int32_t> selected(static_cast<std::size_t>(graph.numNodes()), 0);
    paths.clear();
    scores.clear();
    if (start == end && minLength != 0) selected[static_cast<std::size_t>(end)] = -1;

    while (!open.empty() && selected[static_cast<std::size_t>(end)] < maxNumPaths) {
        double best = std::numeric_limits<double>::infinity();
        std::size_t at = open.size();
        for (std::size_t i = 0; i < open.size(); ++i) {
            if (cost[open[i]] < best) {
                best = cost[open[i]];
                at = i;
            }
        }
        if (at == open.size()) break;
        const std::size_t e = open[at];
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));

        const std::int32_t u = node[e];
        const std::int32_t len = length[e];
        const std::int32_t count = ++selected[static_cast<std::size_t>(u)];
        if (u == end && minLength <= len && len <= maxLength) {
            qcIndexArray sequence;
            for (std::int32_t p = static_cast<std::int32_t>(e); p != -1; p = parent[static_cast<std::size_t>(p)])
                sequence.push_back(node[static_cast<std::size_t>(p)]);
            std::reverse(sequence.begin(), sequence.end());
            paths.push_back(pathThrough(graph, sequence));
            scores.push_back(cost[e]);
        }
        if (count <= maxNumPaths && len < maxLength) {
            for (long k = graph.node(u).firstChild(); k != -1; k = graph.link(k).nextChild()) {
                node.push_back(static_cast<std::int32_t>(graph.link(k).nodeB()));
                cost.push_back(cost[e] + graph.link(k).score());
                length.push_back(len + 1);
                parent.push_back(static_cast<std::int32_t>(e));
                open.push_back(node.size() - 1);
            }
        }
    }
}

const char* differsFromPlain(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                             std::int32_t maxNumPaths, std::int32_t minLength, std::int32_t maxLength)
{
    std::vector<qcDirectedGraphPath> paths(1), plainPaths;
    std::vector<double> scores(1, 9.0), plainScores;
    graph.shortestPath(start, end, maxNumPaths, minLength, maxLength, paths, scores);
    plainRankedWalks(graph, start, end, maxNumPaths, minLength, maxLength, plainPaths, plainScores);
    if (paths != plainPaths) return "walks differ";
    return scores == plainScores ? nullptr : "scores differ";
}

}  // namespace qcref
