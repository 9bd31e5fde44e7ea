#include "qcSimplePaths.h"

#include "search/qcSimplePathSearch.h"

qcSimplePaths::qcSimplePaths(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end,
                             std::int32_t limit)
{
    if (start < 0 || start >= graph.numNodes() || end < 0 || end >= graph.numNodes() || limit < 1)
        throw qcInvariantFailure();
    mSearch = std::make_unique<qcSimplePathSearch>(graph, start, end, limit);
}

qcSimplePaths::~qcSimplePaths() = default;

bool qcSimplePaths::next(qcDirectedGraphPath& path, double& score) { return mSearch->next(path, score); }

void qcDirectedGraph::simplePaths(std::int32_t start, std::int32_t end, std::int32_t k,
                                  std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores) const
{
    qcSimplePaths lister(*this, start, end, k);
    paths.clear();
    scores.clear();
    qcDirectedGraphPath path;
    double score = 0.0;
    while (lister.next(path, score)) {
        paths.push_back(path);
        scores.push_back(score);
    }
}
