#ifndef QCGRAPH_TOOLS_GRAPH_FILES_H
#define QCGRAPH_TOOLS_GRAPH_FILES_H

// Readers of graph files into qcDirectedGraph: the DIMACS shortest-path format (".gr" arcs and
// ".co" coordinates, 1-based node ids) and a plain edge list ("from to [score]", 0-based ids).
// Every reader throws GraphFileError with one line naming the file, the line and the fault, and
// reads nothing outside its input whatever the file holds.

#include <cstdint>
#include <limits>
#include <string>

#include <qcDirectedGraph.h>

#include "GraphFileError.h"
#include "LineSource.h"

enum class GraphFormat { dimacs, edges };

// The nodes a file asks for (a header's node count, or an edge list's largest id + 1) are
// bounded, so that a typing error or a file of a few bytes cannot make the reader allocate
// gigabytes: by default to 2^20, or to one node a byte of the file when that is more (a file
// read from a pipe gets 2^20). The caller may set another bound, up to maxNodesLimit.
constexpr std::int64_t nodesBySize = 0;  // the default bound, by the file's size
constexpr std::int64_t nodesFloor = std::int64_t(1) << 20;
constexpr std::int64_t maxNodesLimit = std::numeric_limits<std::int32_t>::max();

// A graph read from a file. Node i of the graph is the file's node i + idBase, and link k is
// the file's (k + idBase)-th arc or edge, in file order.
struct GraphFile {
    qcDirectedGraph graph;
    std::int64_t idBase = 0;     // 1 for DIMACS, 0 for edge lists
    std::uint64_t lines = 0;     // lines read, coordinates included
    bool hasPositions = false;   // node positions were read from a coordinates file
};

// Whether the file name ends in `tail` (".gr"), compared exactly.
bool fileNameEndsWith(const std::string& path, const std::string& tail);
// DIMACS for a name ending in ".gr", the edge list otherwise.
GraphFormat formatForPath(const std::string& path);
// The bound of nodes for a file of `bytes` bytes (0 for a pipe) when `maxNodes` is nodesBySize,
// else maxNodes; and for the readers the failure of a line that asks for more, naming the
// tool's option that lifts the bound.
std::int64_t nodeBound(std::uint64_t bytes, std::int64_t maxNodes);
class LineFields;
void checkNodeCount(const LineFields& fields, std::int64_t nodes, std::int64_t bound);

// The coordinates file that belongs to a DIMACS graph file: ".gr" replaced by ".co" (or ".co"
// appended when the name does not end in ".gr").
std::string coordinatesPathFor(const std::string& graphPath);

// Reads a whole graph file of the given format. Time and memory linear in the file's size;
// links are stored in file order with addLinkFastUnsafe after their ends are checked.
// `maxNodes` is the most nodes the file may ask for (nodesBySize: the default bound). A file
// that reads but holds no nodes is refused too: no command has anything to work on.
GraphFile readGraphFile(const std::string& path, GraphFormat format,
                        const LoadProgressFunction& progress = {},
                        std::int64_t maxNodes = nodesBySize);

// DIMACS ".gr": "c" comment lines, one "p sp N M" header before any arc, then exactly M lines
// "a U V W" with 1 <= U, V <= N and a finite weight W. Blank lines are skipped.
GraphFile readDimacsGraph(const std::string& path, const LoadProgressFunction& progress = {},
                          std::int64_t maxNodes = nodesBySize);

// DIMACS ".co" for a graph read by readDimacsGraph: "c" comments, one "p aux sp co N" header
// whose N equals the graph's node count, then one "v ID X Y" line for every node, which sets its
// position. Sets file.hasPositions and adds the lines to file.lines. On failure the positions
// read so far stay set and hasPositions stays false.
void readDimacsCoordinates(const std::string& path, GraphFile& file,
                           const LoadProgressFunction& progress = {});

// Edge list: one "from to [score]" per line (score 1 when left out), 0-based ids, text after
// "#" ignored, blank lines skipped. The node count is the largest id + 1 (0 for no edges).
GraphFile readEdgeList(const std::string& path, const LoadProgressFunction& progress = {},
                       std::int64_t maxNodes = nodesBySize);

#endif
