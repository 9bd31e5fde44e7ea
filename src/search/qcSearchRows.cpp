#include "qcSearchRows.h"

#include "qcDirectedGraph.h"
#include "search/qcChainRows.h"

qcSearchRows::qcSearchRows() = default;
qcSearchRows::~qcSearchRows() = default;

void qcSearchRows::forget()
{
    const std::lock_guard<std::mutex> lock(mMutex);
    mRows.reset();  // searches still reading them hold their own share
    mGraph = nullptr;
}

bool qcSearchRows::holdsRows() const
{
    const std::lock_guard<std::mutex> lock(mMutex);
    return mRows != nullptr;
}

bool qcSearchRows::keeps(const qcDirectedGraph& graph) const
{
    return mRows && mGraph == &graph && mNodes == graph.numNodes() && mLinks == graph.numLinks();
}

std::shared_ptr<const qcChainRows> qcSearchRows::keptRowsOf(const qcDirectedGraph& graph) const
{
    const std::lock_guard<std::mutex> lock(mMutex);
    return keeps(graph) ? mRows : nullptr;
}

std::shared_ptr<const qcChainRows> qcSearchRows::rowsOf(const qcDirectedGraph& graph)
{
    // Searches that come here at once wait for the first to lay the rows out, rather than
    // each laying out its own.
    const std::lock_guard<std::mutex> lock(mMutex);
    if (!keeps(graph)) {
        mRows = std::make_shared<const qcChainRows>(graph);
        mGraph = &graph;
        mNodes = graph.numNodes();
        mLinks = graph.numLinks();
    }
    return mRows;
}
