#ifndef QC_SIMPLE_PATH_SEARCH_H
#define QC_SIMPLE_PATH_SEARCH_H

#include <cstdint>
#include <queue>
#include <set>
#include <vector>

#include "qcDirectedGraph.h"
#include "search/qcPathSteps.h"
#include "search/qcSpurSearch.h"

// The loopless paths from start to end in the order (score, number of links, node sequence read
// backwards from the end), one at a time: Yen's deviations, as Lawler arranged them and as
// Kurz and Mutzel made them lazy.
//
// The paths listed share their beginnings, kept as a tree of prefixes. Every path not listed
// yet leaves that tree at exactly one prefix, by a step to a node none of that prefix's listed
// paths takes next; so the paths not yet listed fall into one class per prefix, and the next
// path is the best of the classes' best. A class enters a queue with a bound from below (its
// prefix's score plus its cheapest free step plus that step's tree score), and is searched only
// when that bound comes to the front; its best path then waits among the candidates. Listing a
// candidate changes its own class and adds one for each new prefix along it.
//
// Once `limit` paths are in sight (the candidates needed to fill it), every class or candidate
// that cannot beat the last of them is dropped, so memory stays within O(n + limit * path
// length), however many deviations are tried.
class qcSimplePathSearch {
public:
    qcSimplePathSearch(const qcDirectedGraph& graph, std::int32_t start, std::int32_t end, std::int32_t limit);

    bool next(qcDirectedGraphPath& path, double& score);

private:
    // A prefix of listed paths: its last node, the link into it, its cost, its place in the tree.
    struct Prefix {
        std::int32_t node;
        std::int32_t link;
        std::int32_t parent;
        std::int32_t firstChild = -1;
        std::int32_t nextSibling = -1;
        qcPathCost cost;
    };
    struct Bounded {
        double bound;
        std::int32_t prefix;
        bool operator<(const Bounded& o) const { return o.bound < bound || (o.bound == bound && o.prefix < prefix); }
    };
    // The best path of the class of `prefix`, whole.
    struct Candidate {
        qcPathCost cost;
        std::int32_t prefix;
        qcIndexArray nodes;
        qcIndexArray links;
        bool operator<(const Candidate& o) const;
    };

    double bound() const;
    // Blocks the nodes of the prefix, from the start up to and with it.
    void blockPrefix(std::int32_t prefix);
    // Queues the class of `prefix`, whose nodes are blocked, unless it can hold nothing in bound.
    void queueClass(std::int32_t prefix);
    void searchClass(std::int32_t prefix);
    // Adds the part of `c` after its class's prefix to the tree and queues the changed classes.
    void list(const Candidate& c);
    void trim();
    double stepScore(std::int32_t u, std::int32_t w) const;

    qcPathSteps mSteps;
    qcSpurSearch mSpur;
    std::int32_t mLeft;  // paths still to be listed
    std::vector<Prefix> mTree;
    std::priority_queue<Bounded> mClasses;
    std::set<Candidate> mCandidates;
    qcIndexArray mBanned;
    long mRounds = 0;  // of next(), for the abort check
};

#endif
