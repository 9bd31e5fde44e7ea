// qcgraph: the library's searches, adjacency analysis, trace and drawing, run on graph files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include <qcException.h>
#include <qcGraphFiles.h>
#include <qcgraphVersion.h>

#include "Commands.h"

namespace {

std::vector<Command> allCommands()
{
    std::vector<Command> commands;
    addPathCommands(commands);
    addIndexCommands(commands);
    addAdjacencyCommands(commands);
    addTraceCommand(commands);
    addDrawCommand(commands);
    return commands;
}

void printToolHelp(std::FILE* out, const std::vector<Command>& commands)
{
    std::fputs("Usage: qcgraph COMMAND GRAPH [ARGUMENTS] [OPTIONS]\n"
               "\n"
               "Runs the qcgraph library on a graph file: a DIMACS shortest-path file\n"
               "(\"p sp N M\" header, \"a U V W\" arcs, ids from 1; chosen for names ending in\n"
               ".gr), Matrix Market (.mtx, ids from 1), GraphML (.graphml or .xml, ids as\n"
               "the file names them) or an edge list (\"from to [score]\" per line, ids from\n"
               "0, \"#\" and \"%\" comments). --format dimacs|edges|mtx|graphml overrides the\n"
               "choice; GRAPH '-' reads standard input.\n"
               "--time reports load and query times on standard error. --max-nodes N lets\n"
               "a file have up to N nodes; by default it may have 2^20 (1048576), or one a\n"
               "byte of the file when that is more, so that a typing error in a header\n"
               "cannot make the tool take gigabytes of memory.\n"
               "\n"
               "Commands:\n",
               out);
    for (const Command& c : commands)
        std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fputs("\n'qcgraph COMMAND --help' describes a command; 'qcgraph --version' prints the\n"
               "version. Exit codes: 0 done, 1 nothing found, 2 bad usage or bad input.\n",
               out);
}

}  // namespace

void reportNothingFound(const char* command, const std::string& what)
{
    std::fprintf(stderr, "qcgraph %s: %s\n", command, what.c_str());
}

int main(int argc, char** argv)
{
    const std::vector<Command> commands = allCommands();
    if (argc < 2) {
        printToolHelp(stderr, commands);
        return exitBadInput;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printToolHelp(stdout, commands);
        return exitOk;
    }
    if (name == "--version") {
        std::puts("qcgraph " QCGRAPH_VERSION_STRING);
        return exitOk;
    }
    const Command* command = nullptr;
    for (const Command& c : commands)
        if (name == c.name)
            command = &c;
    if (command == nullptr) {
        std::fprintf(stderr, "qcgraph: unknown command '%s'; 'qcgraph --help' lists them\n",
                     name.c_str());
        return exitBadInput;
    }
    try {
        const CommandLine line(std::vector<std::string>(argv + 2, argv + argc), command->options);
        if (line.helpAsked()) {
            std::fputs(command->help, stdout);
            return exitOk;
        }
        const int code = command->run(line);
        // A write that failed earlier leaves the error mark but may leave nothing to flush.
        if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
            std::fprintf(stderr, "qcgraph %s: cannot write the output: %s\n", command->name,
                         std::strerror(errno));
            return exitBadInput;
        }
        return code;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "qcgraph %s: %s\n'qcgraph %s --help' shows the usage\n",
                     command->name, e.what(), command->name);
    } catch (const qcGraphFileError& e) {
        std::fprintf(stderr, "qcgraph %s: %s\n", command->name, e.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qcgraph %s: out of memory\n", command->name);
    } catch (const qcInvariantFailure&) {
        // The tool checks every argument before the library sees it; this is a fault of ours.
        std::fprintf(stderr, "qcgraph %s: the library refused the request\n", command->name);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qcgraph %s: %s\n", command->name, e.what());
    }
    return exitBadInput;
}
