#include "reference/PlainAdjacency.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace qcref {

namespace {
constexpr std::int32_t maxCost = std::numeric_limits<std::int32_t>::max();
}

void plainCliques(const qcAdjacencyLists& lists, qcCliques& result)
{
    result.clear();
    const std::size_t n = lists.size();
    std::vector<std::vector<std::int32_t>> symmetric(n);
    for (std::size_t i = 0; i < n; ++i)
        for (const std::int32_t k : lists[i]) {
            symmetric[i].push_back(k);
            symmetric[static_cast<std::size_t>(k)].push_back(static_cast<std::int32_t>(i));
        }
    std::vector<bool> marks(n, false);
    for (;;) {
        const auto seed = std::find(marks.begin(), marks.end(), false);
        if (seed == marks.end()) break;
        std::vector<std::int32_t> clique{static_cast<std::int32_t>(seed - marks.begin())};
        for (std::size_t c = 0; c < clique.size(); ++c)  // the clique grows while it is read
            for (const std::int32_t k : symmetric[static_cast<std::size_t>(clique[c])])
                if (std::find(clique.begin(), clique.end(), k) == clique.end()) clique.push_back(k);
        result.push_back(clique);
        for (const std::int32_t m : clique)
            marks[static_cast<std::size_t>(m)] = true;
    }
}

std::int32_t plainConnectionCost(std::int32_t root, const qcAdjacencyLists& lists,
                                 std::vector<qcConnectionRecord>& records)
{
    records.clear();
    const std::size_t n = lists.size();
    std::vector<std::int32_t> depth(n, -1);
    depth[static_cast<std::size_t>(root)] = 0;
    const std::vector<std::int32_t> own = lists[static_cast<std::size_t>(root)];
    if (own.empty()) return maxCost;
    std::int32_t largest = 0;
    for (const auto& list : lists)
        for (const std::int32_t k : list)
            largest = std::max(largest, k);
    std::vector<std::int32_t> owner(static_cast<std::size_t>(largest) + 1, -1);
    for (const std::int32_t k : own)
        owner[static_cast<std::size_t>(k)] = root;
    for (std::size_t k = 1; k < own.size(); ++k)
        records.push_back({root, qcPair<long>(own[0], own[k])});

    long long cost = 0;
    for (bool gave = true; gave && std::find(owner.begin(), owner.end(), -1) != owner.end();) {
        gave = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (depth[i] != -1) continue;
            std::int32_t least = -1;
            for (const std::int32_t k : lists[i]) {
                const std::int32_t o = owner[static_cast<std::size_t>(k)];
                if (o != -1 && (least == -1 || depth[static_cast<std::size_t>(o)] < least))
                    least = depth[static_cast<std::size_t>(o)];
            }
            if (least == -1) continue;
            depth[i] = least + 1;
            gave = true;
            for (const std::int32_t k : lists[i])
                if (owner[static_cast<std::size_t>(k)] == -1) {
                    owner[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(i);
                    cost += depth[i];
                }
        }
    }
    return static_cast<std::int32_t>(std::min<long long>(cost, maxCost));
}

void plainConnectionPath(const qcAdjacencyLists& lists, std::vector<qcConnectionRecord>& records)
{
    std::int32_t least = maxCost;
    std::vector<qcConnectionRecord> best;
    for (std::size_t r = 0; r < lists.size(); ++r) {
        std::vector<qcConnectionRecord> mine;
        const std::int32_t cost = plainConnectionCost(static_cast<std::int32_t>(r), lists, mine);
        if (cost < least) {
            least = cost;
            best = mine;
        }
    }
    records = best;
}

const char* differsFromPlain(const qcAdjacencyLists& lists)
{
    std::int32_t least = 0, largest = -1;
    for (const auto& list : lists)
        for (const std::int32_t k : list)
            least = std::min(least, k), largest = std::max(largest, k);
    const bool idsAreNodes = least >= 0 && largest < static_cast<std::int64_t>(lists.size());
    qcCliques cliques{{99}}, plainResult{{99}};
    std::vector<qcConnectionRecord> records{{9, {1, 2}}}, plainRecords = records;
    // The plain procedures cannot cope with bad lists: they run only where the library must.
    if (idsAreNodes) plainCliques(lists, plainResult);
    if (least >= 0 && largest <= 4096)  // a table of that size per root
        plainConnectionPath(lists, plainRecords);
    try {
        qfComputeCliques(lists, cliques);
        if (!idsAreNodes) return "cliques accept an id outside the nodes";
    } catch (const qcInvariantFailure&) {
    }
    try {
        qfComputeConnectionPath(lists, records);
        if (least < 0) return "connection path accepts a negative entry";
    } catch (const qcInvariantFailure&) {
    }
    if (cliques != plainResult) return "cliques differ";
    return records == plainRecords || largest > 4096 ? nullptr : "connection records differ";
}

}  // namespace qcref
