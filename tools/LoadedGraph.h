#ifndef QCGRAPH_TOOLS_LOADED_GRAPH_H
#define QCGRAPH_TOOLS_LOADED_GRAPH_H

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "GraphFiles.h"

// The options of every command that reads a graph ("--format", "--max-nodes", "--time"),
// followed by `own`.
std::vector<OptionSpec> withGraphOptions(std::vector<OptionSpec> own);

enum class Coordinates { skip, read };

// The graph a command works on, read from the file its first positional argument names ("-":
// standard input), in the format "--format dimacs|edges" gives or else the file name's
// extension, with at most the nodes "--max-nodes N" allows (else the default bound by size).
// While a large file loads, a progress line goes to standard error when that is a terminal;
// with "--time" the load time goes there too. Node ids on the command line and in output are the file's own.
class LoadedGraph {
public:
    // With Coordinates::read a DIMACS graph also gets node positions, from "--coords FILE" or
    // else from the ".co" file beside the graph file when there is one. Throws UsageError for
    // bad options and GraphFileError for a file that cannot be read.
    LoadedGraph(const CommandLine& line, Coordinates coordinates);

    const GraphFile& file() const { return mFile; }
    const qcDirectedGraph& graph() const { return mFile.graph; }
    qcDirectedGraph& graph() { return mFile.graph; }
    // The file's name for messages.
    const std::string& path() const { return mPath; }

    // The node that the command-line id `text` names; `what` names the argument ("FROM").
    // Throws UsageError when it is not a node of the graph.
    std::int32_t node(const std::string& text, const char* what) const;
    // A node or link index as the file numbers it.
    std::int64_t id(std::int64_t index) const { return index + mFile.idBase; }
    // " id id id": the indices as the file numbers them, each after a blank.
    std::string idList(const qcIndexArray& indices) const;

    // With "--time": "<what>: <seconds> s" on standard error, timed from `start`.
    void reportTime(const char* what, std::chrono::steady_clock::time_point start) const;

private:
    std::string mPath;
    GraphFile mFile;
    bool mTiming = false;
};

#endif
