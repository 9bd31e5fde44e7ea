#ifndef QC_SHORTEST_PATH_INDEX_H
#define QC_SHORTEST_PATH_INDEX_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "qcDirectedGraph.h"
#include "qcExport.h"

// An index of a graph's cheapest paths (a contraction hierarchy), built once, that then answers
// distance and path questions in microseconds where a search takes milliseconds, and tables of
// sources by targets in one upward search per source and target.
//
// It covers the links the two-node shortestPath() uses: links with flags bit 0 set, and scores
// of NaN, +infinity or 1.0e12 and more, are left out, and so is a total of 1.0e12 or more
// (unreached: +infinity). A distance equals the two-node search's path score exactly when the
// scores are whole numbers (and totals stay below 2^53), and within a relative 1e-12 otherwise,
// as the sums are added in another order. Among equally cheap paths it returns one, always the
// same for the same index, not necessarily the two-node search's.
//
// The index holds no reference to the graph; it answers for the graph it was built or last
// updated from. isCurrent() tells whether a graph is that one. Queries are const and may run
// from many threads at once, each with a Workspace of its own (the forms without one use one
// kept by the calling thread). Bad node indices throw qcInvariantFailure.
class QC_EXPORT qcShortestPathIndex {
public:
    struct Options {
        // Building throws std::length_error once the index would take more than this many
        // times the graph's own memory (nodes and links); 0 lifts the bound. On graphs without
        // a hierarchy (random links between far nodes) an index grows without end.
        double memoryBound = 4.0;
        // A node whose contraction would weigh more than this many pairs of links in and out is
        // not contracted: it and all nodes left form a core. A core whose size squared is at
        // most 4096 or half the graph's nodes and links gets a table of the cheapest ways
        // between its nodes (12 bytes a pair), which queries look up; a larger one they search.
        // Once the nodes left would fit such a table, a node of more than half this many pairs
        // already stays in the core. A lower value builds quicker (on grids, whose last nodes
        // have many neighbours) and answers slower; 0 leaves every node in the core.
        double maxPairs = 10000.0;
        // Where the nodes' positions cut the graph small, as on road networks, builds the index
        // with no searches, on an order of the nodes by those cuts and the edges that
        // eliminating the nodes in that order makes; update() then needs no searches either.
        // Elsewhere (grids) the build gives the order up early and contracts by searches.
        bool customizable = true;
        // Called now and then while building, with the share of nodes contracted so far (0 to
        // 1); once, with 0, for an index built with no searches.
        std::function<void(double)> progress;
    };

    // What one query needs besides the index: a few arrays the size of the index's graph,
    // reused from query to query. One per thread.
    class QC_EXPORT Workspace {
    public:
        Workspace();
        ~Workspace();
        Workspace(Workspace&&) noexcept;
        Workspace& operator=(Workspace&&) noexcept;

        struct Arrays;  // the library's own

    private:
        friend class qcShortestPathIndex;
        std::unique_ptr<Arrays> mArrays;
    };

    // An index of no nodes.
    qcShortestPathIndex();
    // Builds the index: time about O(n log n) on road networks, longer on grids. Throws
    // qcInvariantFailure on a negative score of a link the two-node search would use, and
    // std::length_error past the memory bound. Calls qcAttention::check() every 64 nodes
    // contracted and now and then while ordering; what it throws passes through.
    explicit qcShortestPathIndex(const qcDirectedGraph& graph);
    qcShortestPathIndex(const qcDirectedGraph& graph, const Options& options);
    ~qcShortestPathIndex();
    qcShortestPathIndex(qcShortestPathIndex&&) noexcept;
    qcShortestPathIndex& operator=(qcShortestPathIndex&&) noexcept;

    long numNodes() const;
    // Bytes the index holds.
    std::size_t memoryBytes() const;

    // The cheapest path's score from a to b, +infinity when b cannot be reached.
    double distance(std::int32_t a, std::int32_t b) const;
    double distance(std::int32_t a, std::int32_t b, Workspace& workspace) const;
    // Fills nodes and links (emptied first) with a cheapest path from a to b, as node and link
    // indices of the graph, and returns its score (the link scores added from a); +infinity
    // and both empty when b cannot be reached.
    double path(std::int32_t a, std::int32_t b, qcIndexArray& nodes, qcIndexArray& links) const;
    double path(std::int32_t a, std::int32_t b, qcIndexArray& nodes, qcIndexArray& links, Workspace& workspace) const;
    // The distances from every source to every target, row by row: table[i * targets.size() + j]
    // is the distance from sources[i] to targets[j]. Time: one upward search per source and
    // per target. Throws qcInvariantFailure, table untouched, on an index that is not a node.
    void distances(const qcIndexArray& sources, const qcIndexArray& targets, std::vector<double>& table) const;

    // Makes the index exact again after link scores changed, keeping the order of the nodes: a
    // fraction of a build (on road networks, whose index is customized, about 0.02). Calls
    // qcAttention::check() meanwhile; an abort leaves the index as it was. When the kept order
    // would give more than twice the arcs,
    // or come to a node of more pairs of links in and out than the build's Options::maxPairs
    // (the default after load()) allowed (grids, whose last nodes gain neighbours under other
    // scores), the index is built anew with the default options and no memory bound instead.
    // Throws qcInvariantFailure, the index unchanged, when graph differs from the index's in
    // anything but scores (nodes, links, ends, chains, flags bit 0), or on a negative score.
    void update(const qcDirectedGraph& graph);
    // Whether graph equals, in structure and scores, the graph the index answers for. Time O(m).
    bool isCurrent(const qcDirectedGraph& graph) const;

    // A versioned binary form with a checksum. load() throws std::runtime_error on anything but
    // a sound index (wrong form, version, checksum or contents, short input); what it returns
    // answers every query within its nodes without reading outside an array. load() makes a
    // small core's table again (see Options::maxPairs), calling qcAttention::check() meanwhile.
    void save(std::ostream& out) const;
    static qcShortestPathIndex load(std::istream& in);

    struct Data;  // the library's own

private:
    explicit qcShortestPathIndex(std::unique_ptr<Data> data);
    void checkNode(std::int32_t node) const;
    std::unique_ptr<Data> mData;
};

#endif
