// "trace": the library's text trace of the graph.
#include <chrono>

#include "Commands.h"
#include "LoadedGraph.h"

namespace {

ExitCode runTrace(const CommandLine& line)
{
    line.expectPositional(1, "GRAPH");
    const LoadedGraph loaded(line, Coordinates::skip);
    const auto start = std::chrono::steady_clock::now();
    loaded.graph().mTrace();
    loaded.reportTime("trace", start);
    return exitOk;
}

}  // namespace

void addTraceCommand(std::vector<Command>& commands)
{
    commands.push_back({"trace", "the library's text trace of the graph",
                        "Usage: qcgraph trace GRAPH [--format dimacs|edges|mtx|graphml] [--time]\n"
                        "\n"
                        "Prints the graph as the library traces it: the node count, then every\n"
                        "node with its outgoing links, newest first. The trace shows the\n"
                        "library's own numbering: nodes and links from 0, also for DIMACS files.\n"
                        "\n"
                        "Exit code 0, or 2 for bad usage or a bad graph file.\n",
                        withGraphOptions({}), runTrace});
}
