#ifndef QCGRAPH_FILES_FILE_FORMATS_H
#define QCGRAPH_FILES_FILE_FORMATS_H

// The readers and writers of each format, called by qfReadGraph and qfWriteGraph once the
// format is known, and what they share.

#include <cstdint>
#include <string>

#include "InputBytes.h"
#include "OutputText.h"
#include "qcGraphFiles.h"

class LineFields;

// The most nodes a file may ask for, and the name of the option that lifts the bound.
struct NodeBound {
    std::int64_t most;
    std::string option;
};
// The bound for a file of `bytes` bytes (0 for a pipe): options.maxNodes, or by the size when
// that is qcNodesBySize; and the message for a file that asks for more.
NodeBound nodeBound(std::uint64_t bytes, const qcGraphReadOptions& options);
std::string tooManyNodes(std::int64_t nodes, const NodeBound& bound);
// Fails the line when `nodes` is above the bound.
void checkNodeCount(const LineFields& fields, std::int64_t nodes, const NodeBound& bound);
// Adds nodes at (0, 0) until the graph has `count`.
void growNodes(qcDirectedGraph& graph, std::int64_t count);

qcGraphFile readDimacs(InputBytes& in, const qcGraphReadOptions& options);
void readDimacsCoordinates(InputBytes& in, qcGraphFile& file, const qcReadProgressFunction& progress);
qcGraphFile readEdgeList(InputBytes& in, const qcGraphReadOptions& options);
qcGraphFile readMatrixMarket(InputBytes& in, const qcGraphReadOptions& options);
qcGraphFile readGraphml(InputBytes& in, const qcGraphReadOptions& options);

void writeDimacs(OutputText& out, const qcDirectedGraph& graph);
void writeDimacsCoordinates(OutputText& out, const qcDirectedGraph& graph);
void writeEdgeList(OutputText& out, const qcDirectedGraph& graph);
void writeMatrixMarket(OutputText& out, const qcDirectedGraph& graph);
void writeGraphml(OutputText& out, const qcDirectedGraph& graph, const qcGraphWriteOptions& options);
void writeDot(OutputText& out, const qcDirectedGraph& graph, const qcGraphWriteOptions& options);

#endif
