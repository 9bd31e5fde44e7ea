#include "search/qcPathSteps.h"

#include <limits>

#include "graph/qcChainCursor.h"

qcPathSteps::qcPathSteps(const qcDirectedGraph& graph)
{
    const std::size_t n = static_cast<std::size_t>(graph.numNodes());
    mOutStart.reserve(n + 1);
    mOutStart.push_back(0);
    // Where in the row of the node being read its step to b stands; valid when rowOf[b] is it.
    std::vector<std::uint32_t> stepTo(n);
    std::vector<std::int32_t> rowOf(n, -1);
    std::vector<std::uint32_t> entering(n + 1, 0);
    for (std::int32_t u = 0; at(u) < n; ++u) {
        for (qcChainCursor c(graph, graph.node(u).firstChild()); c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            if ((l.flags & 1U) != 0)
                continue;
            if (l.score() < 0.0)
                throw qcInvariantFailure();
            const std::int32_t b = static_cast<std::int32_t>(l.nodeB());
            // A broken chain may reach a placeholder slot, which has no ends.
            if (b < 0 || at(b) >= n || b == u || !(l.score() < std::numeric_limits<double>::infinity()))
                continue;
            if (rowOf[at(b)] == u) {
                qcPathStep& kept = mOut[stepTo[at(b)]];
                if (l.score() < kept.score)
                    kept = {b, c.index(), l.score()};
                continue;
            }
            rowOf[at(b)] = u;
            stepTo[at(b)] = static_cast<std::uint32_t>(mOut.size());
            mOut.push_back({b, c.index(), l.score()});
            ++entering[at(b) + 1];
        }
        mOutStart.push_back(static_cast<std::uint32_t>(mOut.size()));
    }
    for (std::size_t v = 0; v < n; ++v)
        entering[v + 1] += entering[v];
    mInStart = entering;
    mIn.resize(mOut.size());
    for (std::int32_t u = 0; at(u) < n; ++u)
        for (const qcPathStep* s = outBegin(u); s != outEnd(u); ++s)
            mIn[entering[at(s->node)]++] = {u, s->link, s->score};
}
