#include "qfAdjacencyLists.h"

#include <cstddef>
#include <vector>

#include "adjacency/NodeIndex.h"
#include "qstdAssert.h"

namespace {

// For every node x, the nodes i that name x, in increasing i and once per entry. With the lists
// themselves this gives each node's neighbours in both directions without building a second,
// symmetric copy: incoming from below, own entries, incoming from above.
struct IncomingLists {
    // Entries of x: sources[begin(x) .. end[x]).
    std::vector<std::size_t> end;
    std::vector<Index> sources;

    std::size_t begin(std::size_t x) const { return x == 0 ? 0 : end[x - 1]; }
};

// Validates every id (0..n-1) while counting, so nothing is built for bad input.
IncomingLists buildIncoming(const qcAdjacencyLists& lists)
{
    const std::size_t n = lists.size();
    IncomingLists in;
    in.end.assign(n + 1, 0);
    for (const auto& list : lists)
        for (const Index k : list) {
            if (k < 0 || at(k) >= n)
                throw qcInvariantFailure();
            ++in.end[at(k) + 1];
        }
    for (std::size_t x = 1; x <= n; ++x)
        in.end[x] += in.end[x - 1];
    in.sources.resize(in.end[n]);
    // end[x] starts as begin(x) and is advanced past each source placed; afterwards it is x's end.
    for (std::size_t i = 0; i < n; ++i)
        for (const Index k : lists[i])
            in.sources[in.end[at(k)]++] = static_cast<Index>(i);
    return in;
}

}  // namespace

void qfComputeCliques(const qcAdjacencyLists& lists, qcCliques& result)
{
    requireNameableNodes(lists);
    const IncomingLists in = buildIncoming(lists);
    result.clear();

    const std::size_t n = lists.size();
    // All cliques back to back in reach order; the reach queue of the clique being grown is its
    // own tail, so no recursion and no second copy.
    std::vector<Index> order(n);
    std::vector<std::size_t> cliqueEnds;
    std::vector<unsigned char> held(n, 0);
    std::size_t placed = 0;
    auto reach = [&](Index y) {
        if (!held[at(y)]) {
            held[at(y)] = 1;
            order[placed++] = y;
        }
    };

    // Nodes below the seed cursor are all held, so it only moves forward.
    std::size_t seed = 0;
    while (placed < n) {
        while (seed < n && held[seed])
            ++seed;
        if (seed == n) {
            qstd_assert_(29);
            break;
        }
        reach(static_cast<Index>(seed));
        for (std::size_t cursor = placed - 1; cursor < placed; ++cursor) {
            const Index x = order[cursor];
            const std::size_t ux = at(x);
            std::size_t s = in.begin(ux);
            const std::size_t e = in.end[ux];
            for (; s < e && in.sources[s] < x; ++s)
                reach(in.sources[s]);
            for (const Index k : lists[ux])
                reach(k);
            for (; s < e; ++s)
                reach(in.sources[s]);
        }
        cliqueEnds.push_back(placed);
    }

    result.reserve(cliqueEnds.size());
    std::size_t first = 0;
    for (const std::size_t last : cliqueEnds) {
        result.emplace_back(order.begin() + static_cast<std::ptrdiff_t>(first),
                            order.begin() + static_cast<std::ptrdiff_t>(last));
        first = last;
    }
}

