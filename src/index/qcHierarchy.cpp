#include "index/qcHierarchy.h"

#include "graph/qcIndex.h"

std::int32_t qcHierarchy::fromOf(std::int32_t arc) const
{
    // Each first arc has a lower index, so this ends.
    while (!arcs[at(arc)].isLink())
        arc = arcs[at(arc)].first;
    return -1 - arcs[at(arc)].second;
}

void qcHierarchy::setArcs(const std::vector<qcArcRecord>& records)
{
    arcs.clear();
    arcs.reserve(records.size());
    linkScores.clear();
    for (const qcArcRecord& r : records) {
        if (r.second == -1) {
            arcs.push_back(qcHierarchyArc{r.to, r.first, -1 - r.from});
            linkScores.push_back(r.weight);
        } else {
            arcs.push_back(qcHierarchyArc{r.to, r.first, r.second});
        }
    }
    linkScores.shrink_to_fit();
}

std::vector<qcArcRecord> qcHierarchy::arcRecords() const
{
    std::vector<qcArcRecord> records;
    records.reserve(arcs.size());
    for (std::size_t a = 0; a < arcs.size(); ++a) {
        const qcHierarchyArc& arc = arcs[a];
        if (arc.isLink()) {
            records.push_back(qcArcRecord{-1 - arc.second, arc.to, arc.first, -1, linkScores[a]});
        } else {
            // Both arcs come earlier, so their records are there; the sum is the one the
            // contraction made.
            const qcArcRecord& x = records[at(arc.first)];
            records.push_back(qcArcRecord{x.from, arc.to, arc.first, arc.second, x.weight + records[at(arc.second)].weight});
        }
    }
    return records;
}
