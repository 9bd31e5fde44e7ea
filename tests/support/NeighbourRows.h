#ifndef QCTEST_NEIGHBOUR_ROWS_H
#define QCTEST_NEIGHBOUR_ROWS_H

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

#include "index/qcDissection.h"

namespace qctest {

using Edges = std::vector<std::pair<std::int32_t, std::int32_t>>;

// The rows of neighbours of n nodes joined by `edges` both ways, once each, self-loops left out.
inline qcNeighbourRows rowsOf(std::size_t n, const Edges& edges)
{
    Edges both;
    for (const auto& [a, b] : edges)
        if (a != b)
            both.insert(both.end(), {{a, b}, {b, a}});
    std::sort(both.begin(), both.end());
    both.erase(std::unique(both.begin(), both.end()), both.end());
    qcNeighbourRows rows;
    rows.start.assign(n + 1, 0);
    for (const auto& [a, b] : both) {
        ++rows.start[static_cast<std::size_t>(a) + 1];
        rows.node.push_back(b);
    }
    std::partial_sum(rows.start.begin(), rows.start.end(), rows.start.begin());
    return rows;
}

}  // namespace qctest

#endif
