#include "index/qcHierarchy.h"

#include "graph/qcIndex.h"

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

void qcHierarchy::forEachArcRecord(const std::function<void(const qcArcRecord&)>& each) const
{
    // A shortcut's arcs come before it, so their starts and weights are known by then; its
    // weight is the sum the contraction made.
    std::vector<std::int32_t> from(arcs.size());
    std::vector<double> weight(arcs.size());
    for (std::size_t a = 0; a < arcs.size(); ++a) {
        const qcHierarchyArc& arc = arcs[a];
        const bool link = arc.isLink();
        from[a] = link ? -1 - arc.second : from[at(arc.first)];
        weight[a] = link ? linkScores[a] : weight[at(arc.first)] + weight[at(arc.second)];
        each(qcArcRecord{from[a], arc.to, arc.first, link ? -1 : arc.second, weight[a]});
    }
}
