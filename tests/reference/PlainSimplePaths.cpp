#include "reference/PlainSimplePaths.h"

#include <algorithm>
#include <limits>
#include <set>
#include <tuple>

namespace qcref {
namespace {

struct Found {
    double score;
    std::int32_t length;
    qcIndexArray nodes;
    qcIndexArray links;
    // Equal score and length, then the node sequences from the end backwards.
    bool operator<(const Found& o) const
    {
        if (score != o.score || length != o.length)
            return std::tie(score, length) < std::tie(o.score, o.length);
        return std::lexicographical_compare(nodes.rbegin(), nodes.rend(), o.nodes.rbegin(), o.nodes.rend());
    }
};

// The best way from `from` (reached at score, length) to end avoiding `blocked` nodes and, as
// first step, the nodes in `banned`; the way's nodes after `from` and its links are appended.
bool search(const qcDirectedGraph& g, std::int32_t from, double score, std::int32_t length, std::int32_t end,
            const std::vector<bool>& blocked, const std::vector<std::int32_t>& banned, Found& out)
{
    const std::size_t n = static_cast<std::size_t>(g.numNodes());
    std::vector<double> cost(n, std::numeric_limits<double>::infinity());
    std::vector<std::int32_t> len(n, 0), pred(n, -1), via(n, -1);
    std::vector<bool> done(n, false), seen(n, false);
    cost[static_cast<std::size_t>(from)] = score;
    len[static_cast<std::size_t>(from)] = length;
    seen[static_cast<std::size_t>(from)] = true;
    for (;;) {
        std::int32_t u = -1;
        for (std::size_t v = 0; v < n; ++v)
            if (seen[v] && !done[v] &&
                (u < 0 || std::tie(cost[v], len[v]) < std::tie(cost[static_cast<std::size_t>(u)], len[static_cast<std::size_t>(u)])))
                u = static_cast<std::int32_t>(v);
        if (u < 0)
            return false;
        if (u == end)
            break;
        done[static_cast<std::size_t>(u)] = true;
        for (long l = g.node(u).firstChild(); l != -1; l = g.link(l).nextChild()) {
            const qcDirectedGraphLink& k = g.link(l);
            const std::size_t w = static_cast<std::size_t>(k.nodeB());
            if ((k.flags & 1U) != 0 || !(k.score() < std::numeric_limits<double>::infinity()) || blocked[w] ||
                static_cast<std::int32_t>(w) == u ||
                (u == from && std::count(banned.begin(), banned.end(), k.nodeB()) != 0))
                continue;
            const double c = cost[static_cast<std::size_t>(u)] + k.score();
            const std::int32_t h = len[static_cast<std::size_t>(u)] + 1;
            const bool better = !seen[w] || std::tie(c, h) < std::tie(cost[w], len[w]);
            if (better || (c == cost[w] && h == len[w] && u < pred[w])) {
                seen[w] = true;
                cost[w] = c;
                len[w] = h;
                pred[w] = u;
                via[w] = static_cast<std::int32_t>(l);
            }
        }
    }
    qcIndexArray nodes, links;
    for (std::int32_t v = end; v != from; v = pred[static_cast<std::size_t>(v)]) {
        nodes.insert(nodes.begin(), v);
        links.insert(links.begin(), via[static_cast<std::size_t>(v)]);
    }
    out.score = cost[static_cast<std::size_t>(end)];
    out.length = len[static_cast<std::size_t>(end)];
    out.nodes.insert(out.nodes.end(), nodes.begin(), nodes.end());
    out.links.insert(out.links.end(), links.begin(), links.end());
    return true;
}

}  // namespace

void plainSimplePaths(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, std::int32_t k,
                      std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores)
{
    paths.clear();
    scores.clear();
    std::vector<Found> listed;
    std::set<Found> candidates;
    Found first{0.0, 0, {start}, {}};
    const std::vector<bool> none(static_cast<std::size_t>(graph.numNodes()), false);
    if (start == end || search(graph, start, 0.0, 0, end, none, {}, first))
        candidates.insert(first);
    while (static_cast<std::int32_t>(listed.size()) < k && !candidates.empty()) {
        listed.push_back(*candidates.begin());
        candidates.erase(candidates.begin());
        const Found& last = listed.back();
        for (std::size_t i = 0; i + 1 < last.nodes.size(); ++i) {
            Found root{0.0, static_cast<std::int32_t>(i), {last.nodes.begin(), last.nodes.begin() + static_cast<long>(i) + 1},
                       {last.links.begin(), last.links.begin() + static_cast<long>(i)}};
            for (const std::int32_t l : root.links)
                root.score += graph.link(l).score();
            std::vector<bool> blocked = none;
            for (const std::int32_t v : root.nodes)
                blocked[static_cast<std::size_t>(v)] = true;
            std::vector<std::int32_t> banned;
            for (const Found& p : listed)
                if (p.nodes.size() > i + 1 && std::equal(root.nodes.begin(), root.nodes.end(), p.nodes.begin()))
                    banned.push_back(p.nodes[i + 1]);
            if (search(graph, last.nodes[i], root.score, root.length, end, blocked, banned, root) &&
                std::find_if(listed.begin(), listed.end(), [&](const Found& p) { return p.nodes == root.nodes; }) ==
                    listed.end())
                candidates.insert(root);
        }
    }
    for (const Found& p : listed) {
        paths.emplace_back(p.nodes, p.links);
        scores.push_back(p.score);
    }
}

}  // namespace qcref
