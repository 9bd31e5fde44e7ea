#include "qcShortestPathIndex.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include "graph/qcChainCursor.h"
#include "graph/qcIndex.h"
#include "index/qcContraction.h"
#include "index/qcCustomization.h"
#include "index/qcDissection.h"
#include "index/qcGraphPrint.h"
#include "index/qcIndexData.h"
#include "index/qcIndexQuery.h"

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
// As in the two-node search, a total from here up counts as unreached.
constexpr double unreached = 1.0e12;

double orUnreached(double d) { return d < unreached ? d : infinity; }

// The arcs the two-node search can take, as it meets them: along each node's chain, links with
// flags bit 0 and scores that can never be part of a way below `unreached` left out; of
// parallel arcs the cheapest, the first in chain order on a tie. Throws on a negative score.
std::vector<qcGraphArc> arcsOf(const qcDirectedGraph& graph)
{
    const long n = graph.numNodes();
    std::vector<qcGraphArc> arcs;
    std::vector<std::int32_t> slotOf(at(n), -1);  // where the arc to a node from the current one is
    std::vector<std::int32_t> slotFrom(at(n), -1);
    for (long u = 0; u < n; ++u) {
        for (qcChainCursor c(graph, graph.node(u).firstChild()); c.valid(); c.next()) {
            const qcDirectedGraphLink& l = c.link();
            const long v = l.nodeA() == u ? l.nodeB() : l.nodeA();
            if ((l.flags & 1u) || v < 0 || v >= n || v == u)
                continue;
            const double score = l.score();
            if (score < 0.0)
                throw qcInvariantFailure();
            if (!(score < unreached))
                continue;
            if (slotFrom[at(v)] == u) {
                qcGraphArc& known = arcs[at(slotOf[at(v)])];
                if (score < known.weight)
                    known = qcGraphArc{toIndex(u), toIndex(v), c.index(), score};
                continue;
            }
            slotFrom[at(v)] = toIndex(u);
            slotOf[at(v)] = static_cast<std::int32_t>(arcs.size());
            arcs.push_back(qcGraphArc{toIndex(u), toIndex(v), c.index(), score});
        }
    }
    return arcs;
}

// The edges of the links whose scores may count after an update, either way, once.
qcNeighbourRows edgesOf(const qcDirectedGraph& graph)
{
    const long n = graph.numNodes();
    std::vector<std::pair<std::int32_t, std::int32_t>> ends;
    for (long l = 0; l < graph.numLinks(); ++l) {
        const qcDirectedGraphLink& link = graph.link(l);
        if (!qfMayCount(link, n))
            continue;
        ends.emplace_back(toIndex(link.nodeA()), toIndex(link.nodeB()));
        ends.emplace_back(toIndex(link.nodeB()), toIndex(link.nodeA()));
    }
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    qcNeighbourRows rows;
    rows.start.assign(at(n) + 1, 0);
    rows.node.reserve(ends.size());
    for (const auto& [a, b] : ends) {
        ++rows.start[at(a) + 1];
        rows.node.push_back(b);
    }
    for (std::size_t v = 0; v < at(n); ++v)
        rows.start[v + 1] += rows.start[v];
    return rows;
}

// An order by nested dissection and its chordal graph, when the graph has small cuts: at most
// `maxEdges` edges, and triangles few enough that going over them all costs far less than a
// contraction.
qcChordalGraph customizable(const qcDirectedGraph& graph, std::size_t maxEdges)
{
    const qcNeighbourRows edges = edgesOf(graph);
    std::vector<double> x(edges.numNodes()), y(edges.numNodes());
    for (std::size_t v = 0; v < x.size(); ++v) {
        x[v] = graph.node(static_cast<long>(v)).position().x();
        y[v] = graph.node(static_cast<long>(v)).position().y();
    }
    const double maxTriangles = 16.0 * static_cast<double>(graph.numNodes() + graph.numLinks()) + 65536.0;
    std::vector<std::int32_t> order = qfDissectionOrder(edges, x, y, maxTriangles);
    if (order.empty())
        return {};
    return qfChordalGraph(edges, std::move(order), maxEdges, maxTriangles);
}

qcShortestPathIndex::Workspace& threadWorkspace()
{
    // One per thread, for the forms without a workspace argument.
    thread_local qcShortestPathIndex::Workspace workspace;
    return workspace;
}

std::size_t graphBytes(const qcDirectedGraph& graph)
{
    return at(graph.numNodes()) * sizeof(qcDirectedGraphNode) + at(graph.numLinks()) * sizeof(qcDirectedGraphLink);
}

}  // namespace

qcShortestPathIndex::Workspace::Workspace() : mArrays(std::make_unique<Arrays>()) {}
qcShortestPathIndex::Workspace::~Workspace() = default;
qcShortestPathIndex::Workspace::Workspace(Workspace&&) noexcept = default;
qcShortestPathIndex::Workspace& qcShortestPathIndex::Workspace::operator=(Workspace&&) noexcept = default;

qcShortestPathIndex::qcShortestPathIndex() : mData(std::make_unique<Data>()) {}
qcShortestPathIndex::qcShortestPathIndex(std::unique_ptr<Data> data) : mData(std::move(data)) {}
qcShortestPathIndex::~qcShortestPathIndex() = default;
qcShortestPathIndex::qcShortestPathIndex(qcShortestPathIndex&&) noexcept = default;
qcShortestPathIndex& qcShortestPathIndex::operator=(qcShortestPathIndex&&) noexcept = default;

qcShortestPathIndex::qcShortestPathIndex(const qcDirectedGraph& graph) : qcShortestPathIndex(graph, Options()) {}

qcShortestPathIndex::qcShortestPathIndex(const qcDirectedGraph& graph, const Options& options)
    : mData(std::make_unique<Data>())
{
    const std::vector<qcGraphArc> arcs = arcsOf(graph);
    // Every arc costs its record and a row entry (a link's score, too, which is left out here).
    constexpr std::size_t arcBytes = sizeof(qcHierarchyArc) + sizeof(qcHierarchyStep);
    const double bound = options.memoryBound * static_cast<double>(graphBytes(graph)) / arcBytes;
    constexpr auto unbounded = std::numeric_limits<std::size_t>::max();
    const std::size_t numLinks = at(graph.numLinks());
    qcContractionLimits limits{unbounded, unbounded, qfCoreTableNodes(at(graph.numNodes()), numLinks), options.progress};
    if (options.maxPairs < static_cast<double>(unbounded))
        limits.maxPairs = options.maxPairs > 0.0 ? static_cast<std::size_t>(options.maxPairs) : 0;
    if (options.memoryBound > 0.0 && bound < static_cast<double>(limits.maxArcs))
        limits.maxArcs = std::max<std::size_t>(static_cast<std::size_t>(bound), 4096);
    // Where the graph has small cuts, the hierarchy of a chordal graph serves queries better
    // than one contracted by searches, and takes a fraction of the time to make.
    if (options.customizable) {
        if (options.progress)
            options.progress(0.0);
        // An edge costs its two arcs and what the customization keeps of it.
        const std::size_t maxEdges = limits.maxArcs == unbounded ? unbounded
            : static_cast<std::size_t>(static_cast<double>(limits.maxArcs) * arcBytes / (2 * arcBytes + qcCustomization::edgeBytes));
        qcChordalGraph chordal = customizable(graph, maxEdges);
        if (!chordal.empty()) {
            qcCustomization customization(std::move(chordal), graph);
            customization.reserve(mData->hierarchy);
            customization.customize(graph, unreached, mData->hierarchy);
            mData->customization = std::move(customization);
        }
    }
    if (mData->customization.empty()) {
        mData->hierarchy = qfContract(at(graph.numNodes()), arcs, {}, 0, limits);
        mData->hierarchy.coreTable = qfTabulateCore(mData->hierarchy, numLinks);
    }
    mData->maxPairs = limits.maxPairs;
    mData->numLinks = graph.numLinks();
    const qcGraphPrints prints = qfGraphPrints(graph, mData->prints);
    mData->structure = prints.structure;
    mData->scores = prints.scores;
}

void qcShortestPathIndex::update(const qcDirectedGraph& graph)
{
    const qcGraphPrints prints = qfGraphPrints(graph, mData->prints);
    if (prints.structure != mData->structure || graph.numNodes() != numNodes())
        throw qcInvariantFailure();
    if (!mData->customization.empty()) {
        mData->customization.customize(graph, unreached, mData->hierarchy);
        mData->scores = prints.scores;
        return;
    }
    const std::vector<qcGraphArc> arcs = arcsOf(graph);
    // The kept order may suit the new scores badly (on a grid, whose last nodes have many
    // neighbours, the shortcuts can multiply, and each contraction costs the more): past twice
    // the arcs it had, or at a node of more pairs than the build would contract, the index is
    // built anew.
    const qcHierarchy& h = mData->hierarchy;
    const qcContractionLimits limits{2 * h.arcs.size() + 4096, mData->maxPairs, 0, nullptr};
    try {
        mData->hierarchy = qfContract(at(graph.numNodes()), arcs, h.nodeOfRank, h.coreFrom, limits);
        mData->hierarchy.coreTable = qfTabulateCore(mData->hierarchy, at(graph.numLinks()));
        mData->scores = prints.scores;
    } catch (const std::length_error&) {
        Options anew;
        anew.memoryBound = 0.0;
        anew.customizable = false;  // as before
        *this = qcShortestPathIndex(graph, anew);
    }
}

bool qcShortestPathIndex::isCurrent(const qcDirectedGraph& graph) const
{
    const qcGraphPrints prints = qfGraphPrints(graph, mData->prints);
    return graph.numNodes() == numNodes() && prints.structure == mData->structure && prints.scores == mData->scores;
}

long qcShortestPathIndex::numNodes() const { return static_cast<long>(mData->hierarchy.numNodes()); }

std::size_t qcShortestPathIndex::memoryBytes() const
{
    const qcHierarchy& h = mData->hierarchy;
    return sizeof(Data) + (h.nodeOfRank.size() + h.rankOfNode.size() + h.upStart.size() + h.downStart.size() + h.parent.size()) * 4 +
           h.arcs.capacity() * sizeof(qcHierarchyArc) + h.linkScores.capacity() * sizeof(double) + h.coreTable.memoryBytes() +
           mData->customization.memoryBytes() + (h.up.capacity() + h.down.capacity()) * sizeof(qcHierarchyStep);
}

void qcShortestPathIndex::checkNode(std::int32_t node) const
{
    if (node < 0 || node >= numNodes())
        throw qcInvariantFailure();
}

double qcShortestPathIndex::distance(std::int32_t a, std::int32_t b) const { return distance(a, b, threadWorkspace()); }

double qcShortestPathIndex::distance(std::int32_t a, std::int32_t b, Workspace& workspace) const
{
    checkNode(a);
    checkNode(b);
    const qcHierarchy& h = mData->hierarchy;
    return orUnreached(qfIndexMeet(h, *workspace.mArrays, h.rankOfNode[at(a)], h.rankOfNode[at(b)]).distance);
}

double qcShortestPathIndex::path(std::int32_t a, std::int32_t b, qcIndexArray& nodes, qcIndexArray& links) const
{
    return path(a, b, nodes, links, threadWorkspace());
}

double qcShortestPathIndex::path(std::int32_t a, std::int32_t b, qcIndexArray& nodes, qcIndexArray& links,
                                 Workspace& workspace) const
{
    checkNode(a);
    checkNode(b);
    nodes.clear();
    links.clear();
    const qcHierarchy& h = mData->hierarchy;
    const qcIndexMeeting meeting = qfIndexMeet(h, *workspace.mArrays, h.rankOfNode[at(a)], h.rankOfNode[at(b)]);
    if (!(meeting.distance < unreached))
        return infinity;
    return qfIndexUnpack(h, *workspace.mArrays, meeting, nodes, links);
}

void qcShortestPathIndex::distances(const qcIndexArray& sources, const qcIndexArray& targets,
                                    std::vector<double>& table) const
{
    for (const std::int32_t v : sources)
        checkNode(v);
    for (const std::int32_t v : targets)
        checkNode(v);
    const qcHierarchy& h = mData->hierarchy;
    Workspace::Arrays& w = *threadWorkspace().mArrays;
    // Each target leaves its distance from every node its upward search reaches in that node's
    // bucket; each source's upward search then meets the buckets of the nodes it reaches. In
    // the core only the sources search through: a target's search stops at the core nodes it
    // enters by, which keeps the core's buckets small.
    struct Entry {
        std::int32_t node;
        std::int32_t target;
        double distance;
    };
    std::vector<Entry> entries;
    for (std::size_t j = 0; j < targets.size(); ++j)
        qfIndexUpwardSearch(h, w, 1, h.rankOfNode[at(targets[j])], qcIndexCore::entered, [&](std::int32_t node, double d) {
            entries.push_back(Entry{node, static_cast<std::int32_t>(j), d});
        });
    std::vector<std::uint32_t> bucketStart(h.numNodes() + 1, 0);
    for (const Entry& e : entries)
        ++bucketStart[at(e.node) + 1];
    for (std::size_t v = 0; v < h.numNodes(); ++v)
        bucketStart[v + 1] += bucketStart[v];
    std::vector<Entry> buckets(entries.size());
    {
        std::vector<std::uint32_t> next(bucketStart.begin(), bucketStart.end() - 1);
        for (const Entry& e : entries)
            buckets[next[at(e.node)]++] = e;
    }
    std::vector<double> result(sources.size() * targets.size(), infinity);
    for (std::size_t i = 0; i < sources.size(); ++i) {
        double* const row = result.data() + i * targets.size();
        qfIndexUpwardSearch(h, w, 0, h.rankOfNode[at(sources[i])], qcIndexCore::searched, [&](std::int32_t node, double d) {
            for (std::uint32_t k = bucketStart[at(node)]; k < bucketStart[at(node) + 1]; ++k)
                row[buckets[k].target] = std::min(row[buckets[k].target], d + buckets[k].distance);
        });
        for (std::size_t j = 0; j < targets.size(); ++j)
            row[j] = orUnreached(row[j]);
    }
    table.swap(result);
}
