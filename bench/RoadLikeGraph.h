#ifndef QCGRAPH_BENCH_ROAD_LIKE_GRAPH_H
#define QCGRAPH_BENCH_ROAD_LIKE_GRAPH_H

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "qcDirectedGraph.h"

// A road-like graph: n random points in a 1000 x 1000 square, each linked both ways to its 3
// nearest neighbours, a link's score its length times a random factor in [1, 1.3). The same
// seed gives the same graph.
inline qcDirectedGraph roadLikeGraph(long n, unsigned seed)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> coordinate(0.0, 1000.0), factor(1.0, 1.3);
    const long side = std::max(1L, static_cast<long>(std::sqrt(static_cast<double>(n) / 2.0)));
    const auto cellOf = [side](double c) { return std::min(side - 1, static_cast<long>(c / 1000.0 * side)); };
    std::vector<std::vector<long>> cells(static_cast<std::size_t>(side * side));
    std::vector<qcVector<2>> at(static_cast<std::size_t>(n));
    qcDirectedGraph g;
    for (long i = 0; i < n; ++i) {
        at[i] = qcVector<2>(coordinate(rng), coordinate(rng));
        qcDirectedGraphNode node;
        node.position(at[i]);
        g.addNode(node);
        cells[cellOf(at[i].y()) * side + cellOf(at[i].x())].push_back(i);
    }
    g.reserveLinks(6 * n);
    std::vector<std::pair<double, long>> near;
    for (long i = 0; i < n; ++i) {
        const long cx = cellOf(at[i].x()), cy = cellOf(at[i].y());
        // Rings of cells until three points are found and the ring beyond cannot hold a nearer.
        for (long r = 1;; ++r) {
            near.clear();
            for (long y = std::max(0L, cy - r); y <= std::min(side - 1, cy + r); ++y)
                for (long x = std::max(0L, cx - r); x <= std::min(side - 1, cx + r); ++x)
                    for (const long j : cells[y * side + x])
                        if (j != i)
                            near.emplace_back(std::hypot(at[i].x() - at[j].x(), at[i].y() - at[j].y()), j);
            if (near.size() >= 3 || r > side) {
                std::partial_sort(near.begin(), near.begin() + std::min<std::size_t>(3, near.size()), near.end());
                if (near.size() < 3 || near[2].first <= static_cast<double>(r) * 1000.0 / side)
                    break;
            }
        }
        for (std::size_t k = 0; k < 3 && k < near.size(); ++k) {
            const double score = near[k].first * factor(rng);
            g.addLinkFastUnsafe(i, near[k].second, score);
            g.addLinkFastUnsafe(near[k].second, i, score);
        }
    }
    return g;
}

#endif
