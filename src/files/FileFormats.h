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

// The bound of nodes for a file of `bytes` bytes (0 for a pipe) when `maxNodes` is
// qcNodesBySize, else maxNodes; and the message for a file that asks for more.
std::int64_t nodeBound(std::uint64_t bytes, std::int64_t maxNodes);
std::string tooManyNodes(std::int64_t nodes, std::int64_t bound);
// Fails the line when `nodes` is above the bound.
void checkNodeCount(const LineFields& fields, std::int64_t nodes, std::int64_t bound);
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
