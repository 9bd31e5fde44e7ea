#ifndef QC_GRAPH_PRINT_H
#define QC_GRAPH_PRINT_H

#include <cstdint>

#include "qcDirectedGraph.h"

// How the fingerprints are taken: word by word, or, in index files of version 1, byte by byte
// (FNV-1a), which those files' fingerprints need and which costs eight times the time.
enum class qcPrintKind { words, bytes };

// Fingerprints of a graph, so that an index can tell the graph it answers for from another:
// of everything a search reads but the scores (counts, chains, ends, flags bit 0), and of the
// scores. Time O(n + m).
struct qcGraphPrints {
    std::uint64_t structure;
    std::uint64_t scores;
};
qcGraphPrints qfGraphPrints(const qcDirectedGraph& graph, qcPrintKind kind);

#endif
