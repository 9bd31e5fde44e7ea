#ifndef QC_GRAPH_FILES_H
#define QC_GRAPH_FILES_H

// Graph files: reading a file or stream into a qcDirectedGraph and writing one back, in the
// DIMACS shortest-path format (".gr" with ".co" coordinates), plain edge lists, Matrix Market
// coordinate files and GraphML; DOT (Graphviz) is written only. A library of its own: the graph
// library reads and writes no files.
//
// Bad input never crashes a reader nor makes it take memory beyond a bound set by the file's
// size: every fault throws qcGraphFileError with one line naming the file, the line and the
// fault, quoted text escaped. Readers and writers keep no state; calls on different graphs and
// files may run in parallel threads.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "qcDirectedGraph.h"
#include "qcExport.h"

enum class qcGraphFormat {
    byName,   // chosen by the file name, see qfGraphFormatOf
    dimacs,   // "p sp N M", "a U V W"; ids from 1; coordinates in a ".co" file beside it
    edges,    // "from to [score]" a line, ids from 0, "#" and "%" comments
    mtx,      // "%%MatrixMarket matrix coordinate real|integer|pattern general|symmetric"
    graphml,  // GraphML: nodes, edges, a number key for scores, node keys x and y
    dot,      // Graphviz, written only
};

// A file that cannot be read or written. what() is the line for a user: "file:line: message",
// or "file: message" for a fault of the whole file (it cannot be opened, it ends early).
class QC_EXPORT qcGraphFileError : public std::runtime_error {
public:
    qcGraphFileError(const std::string& file, std::uint64_t line, const std::string& message);

    // The file's name as given ("(standard input)" or the stream's name for streams).
    const std::string& file() const { return mFile; }
    // The line of the fault, from 1; 0 when the fault has no line.
    std::uint64_t line() const { return mLine; }
    // The fault alone, without file and line.
    const std::string& message() const { return mMessage; }

private:
    std::string mFile;
    std::uint64_t mLine;
    std::string mMessage;
};

// The file's ids of the graph's nodes. Numbered formats (DIMACS, edge lists, Matrix Market)
// name node i by the number base + i: DIMACS and Matrix Market count from 1, edge lists from 0,
// and a number the file skips is a node without links. GraphML names its nodes by strings,
// kept in `names` in the order the file first mentions them.
struct QC_EXPORT qcGraphFileIds {
    std::int64_t base = 0;
    std::vector<std::string> names;  // empty for the numbered formats

    bool named() const { return !names.empty(); }
    // The id of node i as the file writes it ("17", "n3"). Precondition: i is a node.
    std::string text(std::int32_t i) const;
    // The node whose id is `id`, or -1 when no node of the `numNodes` has it. Time linear in
    // the number of nodes for named ids, constant for numbered ones.
    std::int32_t find(std::string_view id, std::int32_t numNodes) const;
};

// A graph read from a file: link k is the file's k-th arc or edge in file order, an undirected
// one giving two links (there and back, in that order; a self-link only one).
struct qcGraphFile {
    qcDirectedGraph graph;
    qcGraphFileIds ids;
    std::uint64_t lines = 0;    // lines read, a coordinates file's included
    bool hasPositions = false;  // positions came from the file (GraphML x, y; DIMACS ".co")
};

// How far a read has come, handed to a progress function after every block read.
struct qcReadProgress {
    std::uint64_t lines = 0;
    std::uint64_t bytesRead = 0;
    std::uint64_t bytesTotal = 0;  // 0 when the size cannot be told (a pipe, a stream)
};
using qcReadProgressFunction = std::function<void(const qcReadProgress&)>;

// The nodes a file may ask for (a header's count, the largest id, the nodes a GraphML file
// names) are bounded, so that a typing error or a file of a few bytes cannot make a reader take
// gigabytes: by default to 2^20, or to one node a byte of the file when that is more (2^20 for a
// pipe or stream). maxNodes sets another bound, up to qcMaxNodesLimit.
constexpr std::int64_t qcNodesBySize = 0;
constexpr std::int64_t qcNodesFloor = std::int64_t(1) << 20;
constexpr std::int64_t qcMaxNodesLimit = std::numeric_limits<std::int32_t>::max();
// No line may be longer than this (a binary file, most likely).
constexpr std::size_t qcMaxLineBytes = std::size_t(1) << 20;

enum class qcCoordinates {
    beside,  // DIMACS: read the ".co" file beside the ".gr" when there is one; write one
    none,    // neither read nor write coordinates
};

struct qcGraphReadOptions {
    qcGraphFormat format = qcGraphFormat::byName;
    std::int64_t maxNodes = qcNodesBySize;
    // How messages name the bound's option (a tool names its own: "--max-nodes N").
    std::string maxNodesName = "a higher maxNodes";
    std::string weight = "weight";  // GraphML: the attr.name of the edge key holding scores
    qcCoordinates coordinates = qcCoordinates::beside;
    std::string coordinatesPath;    // DIMACS: this coordinates file instead of the one beside
    qcReadProgressFunction progress;
};

struct qcGraphWriteOptions {
    qcGraphFormat format = qcGraphFormat::byName;
    qcCoordinates coordinates = qcCoordinates::beside;  // DIMACS: also write the ".co" file
    std::string weight = "weight";   // GraphML: the attr.name of the score key
    const qcGraphFileIds* ids = nullptr;  // GraphML and DOT name nodes by these (else 0..n-1)
    qcIndexArray highlightNodes;     // DOT: drawn red and thick (a path, say)
    qcIndexArray highlightLinks;
};

// The format of a file name: ".gr" DIMACS, ".mtx" Matrix Market, ".graphml" and ".xml"
// GraphML, ".dot" and ".gv" DOT, anything else an edge list.
QC_EXPORT qcGraphFormat qfGraphFormatOf(const std::string& path);
// The format called `name` ("dimacs", "edges", "mtx", "graphml", "dot"); throws
// std::invalid_argument naming the choices for any other name.
QC_EXPORT qcGraphFormat qfGraphFormatNamed(const std::string& name);
// The coordinates file of a DIMACS file: ".gr" replaced by ".co", or ".co" appended.
QC_EXPORT std::string qfCoordinatesPathFor(const std::string& graphPath);

// Reads the graph file at `path` ("-": standard input). Time and memory linear in the file's
// size. Throws qcGraphFileError for a file that cannot be opened or read, is malformed or asks
// for more nodes than the bound; an empty file of a numbered format gives an empty graph.
// DOT cannot be read (qcGraphFileError).
QC_EXPORT qcGraphFile qfReadGraph(const std::string& path, const qcGraphReadOptions& options = {});
// The same from a stream; `name` stands for the file in messages, options.format must be given
// (not byName) and DIMACS coordinates are read only from options.coordinatesPath.
QC_EXPORT qcGraphFile qfReadGraph(std::istream& in, const std::string& name,
                                  const qcGraphReadOptions& options);

// Writes the graph to `path` ("-": standard output) in the format chosen, every link with its
// score and, where the format holds them (DIMACS ".co", GraphML, DOT), every node's position.
// Reading the file back gives an equal graph (operator==) when the graph was built by adding
// links (chains in order of adding), holds no link of a skip flag, and for edge lists its last
// node has a link; the edge list and Matrix Market lose positions. Throws qcGraphFileError when
// the file cannot be written completely (a full disk included); the file may then be partly
// written. Throws std::invalid_argument, before writing, when options.ids names another number
// of nodes than the graph has. Time linear in the graph's size.
QC_EXPORT void qfWriteGraph(const std::string& path, const qcDirectedGraph& graph,
                            const qcGraphWriteOptions& options = {});
// The same to a stream; options.format must be given, DIMACS coordinates are not written.
QC_EXPORT void qfWriteGraph(std::ostream& out, const std::string& name,
                            const qcDirectedGraph& graph, const qcGraphWriteOptions& options);

#endif
