#ifndef QCGRAPH_TOOLS_COMMANDS_H
#define QCGRAPH_TOOLS_COMMANDS_H

#include <vector>

#include "CommandLine.h"
#include "qcShortestPathIndex.h"

class LoadedGraph;

// Exit codes of every subcommand.
enum ExitCode : int {
    exitOk = 0,
    exitNothingFound = 1,  // no path, no walk, no group or no record
    exitBadInput = 2,      // bad usage or a file that cannot be read
};

// A subcommand: its name, a line for the tool's own help, its full help text, the options it
// accepts and the function that runs it on its parsed command line.
struct Command {
    const char* name;
    const char* summary;
    const char* help;
    std::vector<OptionSpec> options;
    ExitCode (*run)(const CommandLine& line);
};

// The subcommands, in the order the tool's help lists them. Each file of subcommands adds its
// own to the list.
void addPathCommands(std::vector<Command>& commands);
void addAdjacencyCommands(std::vector<Command>& commands);
void addTraceCommand(std::vector<Command>& commands);
void addDrawCommand(std::vector<Command>& commands);
void addIndexCommands(std::vector<Command>& commands);

// The index in `file`, which must be one of the loaded graph; throws std::runtime_error otherwise.
qcShortestPathIndex indexFor(const LoadedGraph& loaded, const std::string& file);

// The message "qcgraph NAME: what" on standard error.
void reportNothingFound(const char* command, const std::string& what);

#endif
