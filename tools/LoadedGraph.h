#ifndef QCGRAPH_TOOLS_LOADED_GRAPH_H
#define QCGRAPH_TOOLS_LOADED_GRAPH_H

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include <qcGraphFiles.h>

// The options of every command that reads a graph ("--format", "--max-nodes", "--time"),
// followed by `own`.
std::vector<OptionSpec> withGraphOptions(std::vector<OptionSpec> own);

enum class Coordinates { skip, read };

// The graph a command works on, read from the file its first positional argument names ("-":
// standard input), in the format "--format dimacs|edges" gives or else the file name's
// name, with at most the nodes "--max-nodes N" allows (else the default bound by size).
// While a large file loads, a progress line goes to standard error when that is a terminal;
// with "--time" the load time goes there too. Node ids on the command line and in output are the file's own.
class LoadedGraph {
public:
    // With Coordinates::read a DIMACS graph also gets node positions, from "--coords FILE" or
    // else from the ".co" file beside the graph file when there is one. Throws UsageError for
    // bad options and qcGraphFileError for a file that cannot be read or holds no node.
    LoadedGraph(const CommandLine& line, Coordinates coordinates);

    const qcGraphFile& file() const { return mFile; }
    const qcDirectedGraph& graph() const { return mFile.graph; }
    qcDirectedGraph& graph() { return mFile.graph; }
    // The file's name for messages.
    const std::string& path() const { return mPath; }

    // The node that the command-line id `text` names; `what` names the argument ("FROM").
    // Throws UsageError when it is not a node of the graph.
    std::int32_t node(const std::string& text, const char* what) const;
    // A node index as the file names it.
    std::string id(std::int32_t index) const { return mFile.ids.text(index); }
    // " id id id": the nodes as the file names them, each after a blank.
    std::string idList(const qcIndexArray& nodes) const;
    // " k k k": the links in file order, from 1 where node ids count from 1 (DIMACS, Matrix
    // Market), else from 0.
    std::string linkList(const qcIndexArray& links) const;

    // With "--time": "<what>: <seconds> s" on standard error, timed from `start`.
    void reportTime(const char* what, std::chrono::steady_clock::time_point start) const;

private:
    std::string mPath;
    qcGraphFile mFile;
    bool mTiming = false;
};

#endif
