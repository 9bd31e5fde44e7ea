#ifndef QC_SEARCH_ROWS_H
#define QC_SEARCH_ROWS_H

#include <memory>
#include <mutex>

#include "qcExport.h"

class qcDirectedGraph;
class qcChainRows;

// The links of a graph laid out node by node, kept for the next searches of the same graph.
// A two-node or one-to-all search that goes on long (past a sixteenth of the nodes) first lays
// the links out so for itself: two passes over them and fresh memory, on a large graph whose
// links were not added node by node about a third of the search. Searches given one
// qcSearchRows make that layout once between them, and use it from their first step once it is
// made. Paths and distances are the same with it and without.
//
// The rows are of the graph as it was when they were made. After any change to the graph (a
// node or link added, a score, flags, end or chain changed) call forget(), or searches answer
// for the graph as it was; rows of another graph, or of one with another number of nodes or
// links, are noticed and made anew. They take about 16 bytes a link and 4 a node, until
// forget(). Searches on many threads may share one at once.
class QC_EXPORT qcSearchRows {
public:
    qcSearchRows();
    ~qcSearchRows();
    qcSearchRows(const qcSearchRows&) = delete;
    qcSearchRows& operator=(const qcSearchRows&) = delete;

    // Drops the rows; the next long search makes them anew.
    void forget();
    // Whether rows are kept now.
    bool holdsRows() const;

private:
    friend class qcPathSearch;
    // The kept rows if they are of graph, else nullptr.
    std::shared_ptr<const qcChainRows> keptRowsOf(const qcDirectedGraph& graph) const;
    // The kept rows if they are of graph, else new ones, then kept.
    std::shared_ptr<const qcChainRows> rowsOf(const qcDirectedGraph& graph);
    bool keeps(const qcDirectedGraph& graph) const;

    mutable std::mutex mMutex;
    std::shared_ptr<const qcChainRows> mRows;
    const qcDirectedGraph* mGraph = nullptr;
    long mNodes = 0;
    long mLinks = 0;
};

#endif
