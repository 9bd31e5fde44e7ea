#ifndef QC_DIRECTED_GRAPH_H
#define QC_DIRECTED_GRAPH_H

// Directed graphs of positioned nodes and scored links, with cheapest-path and ranked-walk
// searches, a text trace and drawing.
//
// Nodes and links are plain values held by value in the graph and named by index: a 32-bit
// signed integer counted from 0 in the order of adding, where -1 means "none". Every node keeps
// a chain of the links that leave it (firstChild, then nextChild from link to link until -1),
// the most recently stored link first. Violated preconditions throw a default-constructed
// qcInvariantFailure before anything changes. A graph may be read by several threads at once
// while nobody changes it.
//
// Broken chains: the graph keeps every chain within the link array, but node(i, n) takes the
// record as given, so a node written back with a foreign firstChild can start a chain that
// leaves the array. Every walk of a chain (trace, drawing, both searches, link replacement)
// stops at the first index outside the link array, or after numLinks() steps, as if the chain
// ended there; nothing reads outside an array. Only drawLink() throws for it, as for any link
// number beyond a chain's end; the ranked search also reports it to qstd_assert_.
//
// Consistency checks inside the library report a number to qstd_assert_ (qstdAssert.h) and go
// on; docs/assertions.md lists the numbers and what each means.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "qcException.h"
#include "qcExport.h"
#include "qcVector.h"

class qcDirectedGraph;
class qcGraphicList;
class qcSearchRows;
class qcUITablet;

// A sequence of node or link indices.
using qcIndexArray = std::vector<std::int32_t>;

// A point of the graph: a position in the plane plus the graph's bookkeeping.
//
// Index values set through a `long` parameter that do not fit in 32 bits are stored as -1.
class QC_EXPORT qcDirectedGraphNode {
public:
    // Bits of the flags argument of draw().
    static constexpr unsigned long drawLabel = 1;  // the node's id at its position
    static constexpr unsigned long drawLinks = 2;  // a segment for each outgoing link

    // firstChild -1, position (0, 0), id -1 until a graph stores the node.
    qcDirectedGraphNode();

    // The node's index in its graph (written by the graph when it stores the node).
    long id() const { return mId; }
    // The first link of the node's chain of outgoing links, or -1 for none.
    long firstChild() const { return mFirstChild; }

    const qcVector<2>& position() const { return mPosition; }
    void position(const qcVector<2>& p) { mPosition = p; }

    // All fields equal, compared in the order firstChild, position, reserved word, id.
    bool operator==(const qcDirectedGraphNode& other) const;

    // Writes "Node <id> links:" and one line per outgoing link, in chain order, to qfNoxOut().
    // The node must belong to graph.
    void mTrace(const qcDirectedGraph& graph) const;

    // Appends the node's label (flags bit drawLabel) and/or the segments of its outgoing links
    // in chain order (bit drawLinks); other bits are ignored. The node must belong to graph.
    void draw(qcGraphicList& list, const qcDirectedGraph& graph, unsigned long flags) const;
    void draw(qcUITablet& tablet, const qcDirectedGraph& graph, unsigned long flags) const;

    // Appends the node's label, then the segment of the link at position linkNumber of its
    // chain (0 is firstChild). Throws qcInvariantFailure, after the label, when linkNumber is
    // negative or not less than the chain's length (up to where a broken chain stops); the
    // tablet form then draws nothing.
    void drawLink(qcGraphicList& list, const qcDirectedGraph& graph, long linkNumber) const;
    void drawLink(qcUITablet& tablet, const qcDirectedGraph& graph, long linkNumber) const;

private:
    friend class qcDirectedGraph;

    std::int32_t mFirstChild = -1;
    qcVector<2> mPosition;
    std::int32_t mReserved = 0;  // copied and compared with the record, never otherwise used
    std::int32_t mId = -1;
};

// A directed, scored link from nodeA to nodeB.
//
// Index values set through a `long` parameter that do not fit in 32 bits are stored as -1.
class QC_EXPORT qcDirectedGraphLink {
public:
    // With its defaults also the default constructor: ends -1 and -1, score 1.0, flags 0,
    // id -1, nextChild -1. The arguments are not tested; the graph tests the ends when it
    // stores the link.
    qcDirectedGraphLink(long nodeA = -1, long nodeB = -1, double score = 1.0);

    // Bit 0 set: the two-node shortestPath() passes over this link. No other bit has a meaning
    // to the library. Set it on a copy before storing the link.
    std::uint32_t flags = 0;

    long id() const { return mId; }
    long nodeA() const { return mNodeA; }
    long nodeB() const { return mNodeB; }
    long nextChild() const { return mNextChild; }
    double score() const { return mScore; }

    void nodeA(long a);
    void nodeB(long b);
    // The graph overwrites nextChild whenever it stores a link.
    void nextChild(long next);
    void score(double s) { mScore = s; }

    // All fields equal, compared in the order flags, nodeA, nodeB, id, score, nextChild; the
    // score exactly as a double (0.0 equals -0.0, a NaN score is unequal to itself).
    bool operator==(const qcDirectedGraphLink& other) const;

    // Writes "link <id>: <nodeA> to <nodeB> score <score>" to qfNoxOut().
    void mTrace() const;

    // Appends a segment from the position of graph node nodeA to that of nodeB. Throws
    // qcInvariantFailure, appending nothing, when either end is not a node of graph.
    void draw(qcGraphicList& list, const qcDirectedGraph& graph) const;
    void draw(qcUITablet& tablet, const qcDirectedGraph& graph) const;

private:
    friend class qcDirectedGraph;

    std::int32_t mNodeA;
    std::int32_t mNodeB;
    std::int32_t mId = -1;
    double mScore;
    std::int32_t mNextChild = -1;
};

// One link of a chain: its index in the graph and the stored link.
struct qcChainEntry {
    std::int32_t index;
    const qcDirectedGraphLink& link;
};

// The links leaving a node, in chain order (the newest first), for a range-for loop:
//
//   for (auto [k, l] : graph.outLinks(node)) use(k, l.nodeB(), l.score());
//
// The walk follows nextChild and ends at -1; it also stops at an index outside the link array
// and after numLinks() steps, so a chain broken by a foreign firstChild (see "Broken chains"
// at the top) ends there, as every walk of the library does. Each step costs O(1). The range
// reads the graph's link array in place: it is valid until the next addLink() or
// addLinkFastUnsafe(), and links replaced meanwhile with link(i, l) change the walk.
class qcChainRange {
public:
    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = qcChainEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = qcChainEntry;

        // The end of every chain.
        iterator() = default;

        qcChainEntry operator*() const
        {
            return {static_cast<std::int32_t>(mIndex), mLinks[static_cast<std::size_t>(mIndex)]};
        }
        iterator& operator++()
        {
            mIndex = mLinks[static_cast<std::size_t>(mIndex)].nextChild();
            --mStepsLeft;
            return *this;
        }
        iterator operator++(int)
        {
            iterator before = *this;
            ++*this;
            return before;
        }
        // All ends are equal, wherever the chain stopped.
        bool operator==(const iterator& other) const
        {
            return atEnd() ? other.atEnd() : mIndex == other.mIndex && mStepsLeft == other.mStepsLeft;
        }
        bool operator!=(const iterator& other) const { return !(*this == other); }

        // At the end: true when the chain stopped before reaching -1 (a broken chain).
        bool brokeOff() const { return mIndex != -1; }

    private:
        friend class qcChainRange;
        iterator(const qcDirectedGraphLink* links, long numLinks, long first)
            : mLinks(links), mNumLinks(numLinks), mIndex(first), mStepsLeft(numLinks) {}
        bool atEnd() const { return mIndex < 0 || mIndex >= mNumLinks || mStepsLeft <= 0; }

        const qcDirectedGraphLink* mLinks = nullptr;
        long mNumLinks = 0;
        long mIndex = -1;
        long mStepsLeft = 0;
    };

    // The chain that starts at link `first` of graph (-1, or any index outside the link array:
    // an empty chain). Constant time.
    qcChainRange(const qcDirectedGraph& graph, long first);

    iterator begin() const { return mBegin; }
    iterator end() const { return iterator(); }

private:
    iterator mBegin;
};

// A path through a graph: the nodes visited and the links taken. Either both sequences are
// empty, or there is exactly one node more than links. The record never looks at a graph.
class QC_EXPORT qcDirectedGraphPath {
public:
    // The empty path.
    qcDirectedGraphPath();
    // Copies both sequences; throws qcInvariantFailure if they break the size rule.
    qcDirectedGraphPath(const qcIndexArray& nodes, const qcIndexArray& links);

    const qcIndexArray& nodes() const { return mNodes; }
    const qcIndexArray& links() const { return mLinks; }

    // Both empty, or one node more than links. Constant time.
    bool sizeValid() const;
    // Throws qcInvariantFailure unless sizeValid().
    void verifySize() const;
    // These three call verifySize() first. Constant time.
    bool isEmpty() const;
    bool isSingleton() const;
    // At least one link, and the first node equals the last.
    bool isLoop() const;
    // Some node index occurs more than once. Time O(n log n) for n nodes.
    bool hasCycle() const;

    bool operator==(const qcDirectedGraphPath& other) const;
    bool operator!=(const qcDirectedGraphPath& other) const;

private:
    qcIndexArray mNodes;
    qcIndexArray mLinks;
};

// The graph: nodes and links held by value, each node with its chain of outgoing links. It only
// grows; stored records can be replaced, never removed.
class QC_EXPORT qcDirectedGraph {
public:
    qcDirectedGraph();

    // Node arrays equal, then link arrays equal, record by record from index 0.
    bool operator==(const qcDirectedGraph& other) const;

    long numNodes() const { return static_cast<long>(mNodes.size()); }
    long numLinks() const { return static_cast<long>(mLinks.size()); }

    // Stores a copy of n as a new node and returns its index (the old numNodes()); the stored
    // id is the index. Give it a record whose firstChild is -1. Amortised constant time.
    long addNode(const qcDirectedGraphNode& n);
    // Replaces node i by a copy of n (firstChild included) and sets its id to i. To move a node,
    // read it with node(i), change the copy and write it back, which keeps its chain. A record
    // of another graph brings its firstChild along: see "Broken chains" at the top.
    // Throws qcInvariantFailure unless 0 <= i < numNodes().
    void node(long i, const qcDirectedGraphNode& n);
    // The stored node i, valid until the next addNode(). Throws qcInvariantFailure unless
    // 0 <= i < numNodes().
    const qcDirectedGraphNode& node(long i) const
    {
        if (i < 0 || i >= numNodes())
            throw qcInvariantFailure();
        return mNodes[static_cast<std::size_t>(i)];
    }

    // Appends a default slot, then stores l there with link(i, l) and returns the index (the
    // old numLinks()). When that store throws, the default slot (ends -1, id -1) stays behind:
    // numLinks() has grown by one, the slot stands in no chain, and link(i, l) can fill it later.
    long addLink(const qcDirectedGraphLink& l);
    // Appends a link from nodeA to nodeB without raising exceptions; its index is the old
    // numLinks(). A bad end is reported to qstd_assert_ (566 for nodeA, 567 for nodeB); if the
    // hook returns, nothing is stored. Constant time besides the array's growth.
    void addLinkFastUnsafe(long nodeA, long nodeB, double score);
    // Makes room for `links` links in all, so that adding up to that many moves the link array
    // at most once, here. Smaller values than numLinks() change nothing.
    void reserveLinks(long links);
    // Replaces link i by a copy of l (its id becomes i) and moves it to the head of the chain of
    // its nodeA, taking it out of its old chain; the other links keep their order. Throws
    // qcInvariantFailure unless 0 <= i < numLinks(), then unless nodeA, then nodeB, of l is a
    // node. A stored id other than -1 or i is reported to qstd_assert_ (597). Time: one walk of
    // the old chain up to the link.
    void link(long i, const qcDirectedGraphLink& l);
    // The stored link i, valid until the next addLink() or addLinkFastUnsafe(). Throws
    // qcInvariantFailure unless 0 <= i < numLinks().
    const qcDirectedGraphLink& link(long i) const
    {
        if (i < 0 || i >= numLinks())
            throw qcInvariantFailure();
        return mLinks[static_cast<std::size_t>(i)];
    }

    // The links leaving node i, in chain order (the newest first): see qcChainRange. Throws
    // qcInvariantFailure unless 0 <= i < numNodes(). Constant time; O(1) a step.
    qcChainRange outLinks(long i) const { return qcChainRange(*this, node(i).firstChild()); }

    // The cheapest path from start to end, skipping links whose flags have bit 0 set. Fills
    // nodes with the path's nodes from start to end and links with the links between them; both
    // are emptied first and stay empty when end cannot be reached at a total score below 1.0e12,
    // or when start or end is not a node. start == end gives the one-node path.
    // Ties: links are tried in chain order, a node keeps the predecessor that first gave it its
    // final distance, and nodes at equal distance are settled in the order of a binary min-heap
    // with one entry per improvement (a pushed entry never rises above an equal key; a sinking
    // one takes the right child on a tie), so the same graph always gives the same path. Once a
    // node is settled it is never reopened, so with negative scores the path need not be the
    // cheapest.
    // Calls qcAttention::check() before passes 1, 65, 129, ...; what it throws passes through
    // with both arrays empty. Time O(m log m) for the m links reached (docs/internals.md tells
    // how it is made fast). On a graph of more than about 260k nodes the calling thread keeps the
    // search's working memory (about 30 bytes a node and 16 a link) for its next search, until
    // the thread ends. Threads may search one graph at once while nobody changes it.
    void shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes,
                      qcIndexArray& links) const;
    // The same path, the links laid out once for many searches of this graph (qcSearchRows).
    void shortestPath(std::int32_t start, std::int32_t end, qcIndexArray& nodes, qcIndexArray& links,
                      qcSearchRows& rows) const;
    // The same between the ends of link `link` (which takes part like any other link). Both
    // arrays stay empty when `link` is not a link index.
    void shortestPath(std::int32_t link, qcIndexArray& nodes, qcIndexArray& links) const;

    // The cheapest paths from start to every node, by the rules of the two-node shortestPath():
    // the path read back from predecessorLinks to any node is the one shortestPath(start, node)
    // gives, and distances[node] is its score. Fills both arrays with one entry per node
    // (emptied first): the distance, +infinity where no path costs less than 1.0e12, and the
    // link by which the node is reached (-1 at start and where unreached). Throws
    // qcInvariantFailure, leaving both untouched, when start is not a node. Calls
    // qcAttention::check() before passes 1, 65, 129, ...; what it throws passes through with
    // both arrays untouched. Time O(m log m) for the m links reached.
    void shortestPathTree(std::int32_t start, std::vector<double>& distances, qcIndexArray& predecessorLinks) const;
    // The same tree, the links laid out once for many searches of this graph (qcSearchRows).
    void shortestPathTree(std::int32_t start, std::vector<double>& distances, qcIndexArray& predecessorLinks,
                          qcSearchRows& rows) const;

    // Ranked walks from start to end, with their scores (the sum of the walk's link scores,
    // added from the start) in the parallel array. Walks may repeat nodes and links. The search
    // grows walks from start, always taking next the cheapest walk not taken yet (ties: the one
    // made first); a node may be continued from on its first maxNumPaths takings, each continuing
    // the walk along every link of the node's chain, and every taking at end counts toward
    // maxNumPaths, the search stopping at the last. Walks taken at end within the length
    // bounds are listed, in taking order. With scores >= 0 and no length bounds these are the
    // maxNumPaths cheapest walks, cheapest first; otherwise not always:
    // - With bounds every taking counts, also of a walk too short to be listed or too long to
    //   go on. With maxLength 2 on the links 0-1 (score 0), 1-2 (0), 2-3 (0), 0-2 (10), 0-3
    //   (20) and maxNumPaths 1, from 0 to 3 the one walk listed is 0, 3 (20), not 0, 2, 3 (10):
    //   walk 0, 1, 2 used node 2's one taking and could not go on.
    // - Parallel links (several from a to b) make a walk each, with its own score, but the
    //   path's link list names for the step a -> b the first such link of a's chain, so its
    //   scores need not add up to the listed score.
    // - Negative scores: the listing follows the taking order, which need not be sorted.
    // A negative minLength means 0 and a negative maxLength means no bound. Throws
    // qcInvariantFailure, leaving both outputs untouched, when start or end is not a node, when
    // 0 <= maxLength < minLength, or when maxNumPaths < 1. Link flags are not looked at; a walk
    // whose cost is NaN or +infinity is never taken.
    // Calls qcAttention::check() before takings 1, 65, 129, ...; what it throws passes through
    // and the walks listed so far stay in the outputs. Memory is kept for the walks taken, not
    // for every walk made: a record per taking that continues a walk (at most maxNumPaths per
    // node reached; 16 bytes each without negative scores, 8 with one, 4 more with length
    // bounds), tens of bytes per link of the nodes reached and per node, and with a negative
    // score 24 bytes per taking whose continuations are not all taken yet. Bound maxLength or
    // maxNumPaths to limit it. Threads may search one graph at once while nobody changes it.
    void shortestPath(std::int32_t start, std::int32_t end, std::int32_t maxNumPaths,
                      std::int32_t minLength, std::int32_t maxLength,
                      std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores) const;

    // Whether a walk of one link or more leads from start to end over links whose score is not
    // NaN or +infinity (flags not looked at), as the search above walks them: a sweep of the
    // nodes reachable from start, O(n + m), without abort checks. The search above takes every
    // node it reaches maxNumPaths times before it finds that no walk exists; ask this first.
    // Throws qcInvariantFailure when start or end is not a node.
    bool reaches(std::int32_t start, std::int32_t end) const;

    // The up to k cheapest loopless paths (no node twice) from start to end, cheapest first,
    // with their scores (link scores added from the start); both outputs emptied first. Links
    // with flags bit 0 set, self-links and links of NaN or +infinite score are passed over; of
    // parallel links a path takes the cheapest (the first in chain order on a tie). Ties: fewer
    // links first, then the node sequences compared from the end backwards (lower index first).
    // start == end gives the one-node path alone; no path leaves both outputs empty. Throws
    // qcInvariantFailure, outputs untouched, when start or end is not a node, k < 1, or a link
    // not passed over has a negative score. Calls qcAttention::check() before every 64th step of
    // its searches; what it throws passes through, the paths listed so far staying in the
    // outputs. Time: one Dijkstra search to end, then one guided search per deviation that can
    // still be among the k; memory O(n + m + k * path length). See qcSimplePaths.
    void simplePaths(std::int32_t start, std::int32_t end, std::int32_t k,
                     std::vector<qcDirectedGraphPath>& paths, std::vector<double>& scores) const;

    // Writes the node count and every node's trace, in index order, to qfNoxOut().
    void mTrace() const;

    // Appends, for every node in index order, its label and then its outgoing segments.
    void draw(qcGraphicList& list) const;
    void draw(qcUITablet& tablet) const;
    // Appends the labels of the listed nodes, then the segments of the listed links. Throws
    // qcInvariantFailure, before appending for that entry, on an index that is not in the graph.
    void drawPath(qcGraphicList& list, const qcIndexArray& nodes, const qcIndexArray& links) const;
    void drawPath(qcUITablet& tablet, const qcIndexArray& nodes, const qcIndexArray& links) const;

private:
    friend class qcChainRange;  // a walk of a chain reads mLinks directly
    friend class qcChainRows;   // and so does the library's row-by-row copy of the chains
    friend class qcPathSearch;  // and the cheapest-path search

    // Links the stored link i into the head of the chain of its nodeA.
    void pushChainHead(std::int32_t i);
    // Takes link oldId out of the chain of node owner; does nothing if the chain lacks it.
    void unchain(std::int32_t owner, std::int32_t oldId, std::int32_t oldNext);

    std::vector<qcDirectedGraphNode> mNodes;
    std::vector<qcDirectedGraphLink> mLinks;
};

inline qcChainRange::qcChainRange(const qcDirectedGraph& graph, long first)
    : mBegin(graph.mLinks.data(), graph.numLinks(), first)
{
}

#endif
