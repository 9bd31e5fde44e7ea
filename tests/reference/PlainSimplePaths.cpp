#include "reference/PlainSimplePaths.h"

#include <algorithm>
#include <limits>
#include <set>
#include <tuple>

namespace qcref {
namespace {

struct Found {
    double score;
    int length;
    qcIndexArray nodes, links;
    // Score, then length, then the node sequences from the end backwards.
    bool operator<(const Found& o) const
    {
        return std::tie(score, length) < std::tie(o.score, o.length) ||
               (std::tie(score, length) == std::tie(o.score, o.length) &&
                std::lexicographical_compare(nodes.rbegin(), nodes.rend(), o.nodes.rbegin(), o.nodes.rend()));
    }
};

// Extends `way` (ending at its last node) by the best way to end around `blocked` nodes whose
// first step goes to no node of `banned`.
bool search(const qcDirectedGraph& g, int end, const std::vector<bool>& blocked, const qcIndexArray& banned, Found& way)
{
    const int from = way.nodes.back();
    std::vector<Found> best(g.numNodes());
    std::vector<bool> seen(g.numNodes()), done(g.numNodes());
    std::vector<int> pred(g.numNodes(), -1), via(g.numNodes());
    best[from] = way;
    seen[from] = true;
    for (int u;;) {
        u = -1;
        for (int v = 0; v < g.numNodes(); ++v)
            if (seen[v] && !done[v] && (u < 0 || std::tie(best[v].score, best[v].length) < std::tie(best[u].score, best[u].length)))
                u = v;
        if (u < 0)
            return false;
        if (u == end)
            break;
        done[u] = true;
        for (long l = g.node(u).firstChild(); l != -1; l = g.link(l).nextChild()) {
            const qcDirectedGraphLink& k = g.link(l);
            const int w = k.nodeB();
            if ((k.flags & 1U) != 0 || !(k.score() < std::numeric_limits<double>::infinity()) || blocked[w] || w == u ||
                (u == from && std::count(banned.begin(), banned.end(), w) != 0))
                continue;
            const Found c{best[u].score + k.score(), best[u].length + 1, {}, {}};
            if (!(c.score < std::numeric_limits<double>::infinity()))
                continue;  // finite scores whose sum overflows make no path
            // Of parallel links the cheaper one is taken even where both round to one total.
            const bool tie = seen[w] && std::tie(c.score, c.length) == std::tie(best[w].score, best[w].length);
            if (!seen[w] || std::tie(c.score, c.length) < std::tie(best[w].score, best[w].length) ||
                (tie && (u < pred[w] || (u == pred[w] && k.score() < g.link(via[w]).score())))) {
                seen[w] = true;
                best[w] = c;
                pred[w] = u;
                via[w] = l;
            }
        }
    }
    const std::size_t prefix = way.nodes.size();
    for (int v = end; v != from; v = pred[v]) {
        way.nodes.insert(way.nodes.begin() + prefix, v);
        way.links.insert(way.links.begin() + static_cast<std::ptrdiff_t>(prefix - 1), via[v]);
    }
    std::tie(way.score, way.length) = std::tie(best[end].score, best[end].length);
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
    if (start == end || search(graph, end, std::vector<bool>(graph.numNodes()), {}, first))
        candidates.insert(first);
    while (static_cast<int>(listed.size()) < k && !candidates.empty()) {
        listed.push_back(*candidates.begin());
        candidates.erase(candidates.begin());
        const Found last = listed.back();
        for (std::size_t i = 0; i + 1 < last.nodes.size(); ++i) {
            Found way{0.0, static_cast<int>(i), {last.nodes.begin(), last.nodes.begin() + i + 1}, {last.links.begin(), last.links.begin() + i}};
            std::vector<bool> blocked(graph.numNodes());
            for (const std::int32_t l : way.links)
                way.score += graph.link(l).score();
            for (const std::int32_t v : way.nodes)
                blocked[v] = true;
            qcIndexArray banned;
            for (const Found& p : listed)
                if (p.nodes.size() > i + 1 && std::equal(way.nodes.begin(), way.nodes.end(), p.nodes.begin()))
                    banned.push_back(p.nodes[i + 1]);
            if (search(graph, end, blocked, banned, way) &&
                std::none_of(listed.begin(), listed.end(), [&](const Found& p) { return p.nodes == way.nodes; }))
                candidates.insert(way);
        }
    }
    for (const Found& p : listed) {
        paths.emplace_back(p.nodes, p.links);
        scores.push_back(p.score);
    }
}

}  // namespace qcref
